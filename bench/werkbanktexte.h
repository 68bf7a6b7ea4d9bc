#pragma once

// The texts the bench itself gives: about ports, serial numbers and their
// counter. Boards' messages come from the core's texts.

#include <QCoreApplication>
#include <QString>

namespace Werkbanktexte {

inline QString leererPort()
{
    return QCoreApplication::translate("Meldungen", "Leere Portangabe bei -p.");
}

inline QString snFeldUngueltig(const QString &text)
{
    return QCoreApplication::translate("Meldungen", "--sn muss ADRESSE:GRÖSSE[:FORM] sein, GRÖSSE 1 bis 16, FORM le, be "
                                                    "oder ascii: %1").arg(text);
}

inline QString zaehlerBelegt(const QString &pfad)
{
    return QCoreApplication::translate("Meldungen", "Der Zähler %1 wird von einem anderen kvxflash benutzt.").arg(pfad);
}

inline QString zaehlerNichtLesbar(const QString &pfad, const QString &grund)
{
    return QCoreApplication::translate("Meldungen", "Der Zähler %1 lässt sich nicht lesen: %2").arg(pfad, grund);
}

inline QString zaehlerNichtGeschrieben(const QString &pfad, const QString &grund)
{
    return QCoreApplication::translate("Meldungen", "Der Zähler %1 lässt sich nicht schreiben: %2").arg(pfad, grund);
}

inline QString snZuGross(quint64 nummer, int groesse)
{
    return QCoreApplication::translate("Meldungen", "Die Seriennummer %1 passt nicht in %2 Bytes.")
        .arg(nummer).arg(groesse);
}

} // namespace Werkbanktexte
