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
inline QString portAusserhalb(const QString &angabe)
{
    return QCoreApplication::translate("Meldungen", "Port %1: Wert muss zwischen 1 und 20 liegen.").arg(angabe);
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

inline QString zaehlerKeineZahl(const QString &pfad)
{
    return QCoreApplication::translate("Meldungen", "Der Zähler %1 enthält keine Zahl: nur Ziffern und ein "
                                                    "Zeilenende sind erlaubt.").arg(pfad);
}
inline QString zaehlerAmEnde(const QString &pfad)
{
    return QCoreApplication::translate("Meldungen", "Der Zähler %1 ist am Ende: es gibt keine weitere Nummer.")
        .arg(pfad);
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

// Why a board failed, and at which step: the command whose answer was due
// ("P", "e", "A", "$") or the page.
inline QString befehl(const char *befehl)
{
    return QStringLiteral("\"%1\"").arg(QLatin1String(befehl));
}

inline QString seiteVon(int seite, int von)
{
    return QCoreApplication::translate("Meldungen", "Seite %1 von %2").arg(seite).arg(von);
}

inline QString keineAntwortAuf(const QString &schritt, double sekunden)
{
    return QCoreApplication::translate("Meldungen", "Keine Antwort auf %1 in %2 s.").arg(schritt).arg(sekunden);
}

inline QString keinCr(const QString &schritt, const QString &antwort)
{
    return QCoreApplication::translate("Meldungen", "Kein CR nach %1, sondern %2.").arg(schritt, antwort);
}

inline QString crcVerschieden(const QString &platine, const QString &erwartet)
{
    return QCoreApplication::translate("Meldungen", "CRC der Platine %1, erwartet %2.").arg(platine, erwartet);
}

inline QString verlorenVor(const QString &schritt)
{
    return QCoreApplication::translate("Meldungen", "Verbindung verloren vor der Antwort auf %1.").arg(schritt);
}

inline QString vorDemUpload()
{
    return QCoreApplication::translate("Meldungen", "Vor dem Upload: die Platine blieb unberührt.");
}

// A locked job
inline QString snNachDerLetzten(quint64 nummer, quint64 letzte)
{
    return QCoreApplication::translate("Meldungen", "Die Seriennummer %1 liegt hinter der letzten dieser Werkbank, %2 "
                                                    "(--sn-last).").arg(nummer).arg(letzte);
}

inline QString falschesAbbild()
{
    return QCoreApplication::translate("Meldungen", "Die Datei ist nicht das erwartete Abbild.");
}

inline QString sha256Vergleich(const QByteArray &ist, const QByteArray &erwartet)
{
    return QCoreApplication::translate("Meldungen", "SHA-256 %1, erwartet %2 (--expect-sha256).")
        .arg(QString::fromLatin1(ist.toHex()), QString::fromLatin1(erwartet.toHex()));
}

} // namespace Werkbanktexte
