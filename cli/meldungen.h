#pragma once

// The command line's own texts, beside the window's in core/texte.h.

#include <QCoreApplication>
#include <QString>

namespace Meldungen {

inline QString ausgabeFehlgeschlagen(const QString &grund)
{
    return QCoreApplication::translate("Meldungen", "Die Standardausgabe lässt sich nicht schreiben: %1").arg(grund);
}
inline QString protokollFehlgeschlagen(const QString &pfad, const QString &grund)
{
    return QCoreApplication::translate("Meldungen", "Das Protokoll %1 lässt sich nicht schreiben: %2").arg(pfad, grund);
}
inline QString keineWeiterenPlatinen()
{
    return QCoreApplication::translate("Meldungen", "Es werden keine weiteren Platinen angenommen; laufende werden "
                                                    "fertig.");
}
inline QString protokollzeileVerloren(const QString &zeile)
{
    return QCoreApplication::translate("Meldungen", "Nicht im Protokoll: %1").arg(zeile);
}
inline QString bilanz(int erfolgreich, int fehlgeschlagen, int ohneBootloader, int abgebrochen)
{
    QString text = QCoreApplication::translate("Meldungen", "%1 erfolgreich, %2 fehlgeschlagen")
                       .arg(erfolgreich).arg(fehlgeschlagen);
    if (ohneBootloader > 0)
        text += QCoreApplication::translate("Meldungen", ", %1 ohne Bootloader").arg(ohneBootloader);
    if (abgebrochen > 0)
        text += QCoreApplication::translate("Meldungen", ", %1 abgebrochen").arg(abgebrochen);
    return text;
}
inline QString ungueltigeKodierung(const QString &argument)
{
    return QCoreApplication::translate("Meldungen", "Argument in der Zeichenkodierung des Systems ungültig: %1")
        .arg(argument);
}
inline QString leererPort()
{
    return QCoreApplication::translate("Meldungen", "Leere Portangabe bei -p.");
}

} // namespace Meldungen
