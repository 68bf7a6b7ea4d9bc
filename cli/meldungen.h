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
inline QString seiten(int anzahl)
{
    return anzahl == 1 ? QCoreApplication::translate("Meldungen", "1 Seite")
                       : QCoreApplication::translate("Meldungen", "%1 Seiten").arg(anzahl);
}
inline QString abgebrochenBeiSeite(int seite, int von)
{
    return QCoreApplication::translate("Meldungen", "abgebrochen bei Seite %1 von %2").arg(seite).arg(von);
}
// What the watch does
inline QString watchAbbild(const QString &datei, const QString &seiten, const QString &crc)
{
    return QCoreApplication::translate("Meldungen", "Abbild %1: %2, CRC-32 %3").arg(datei, seiten, crc);
}
inline QString watchAllePorts(const QString &filter)
{
    return filter.isEmpty() ? QCoreApplication::translate("Meldungen", "Ports: jeder USB-Seriell-Port")
                            : QCoreApplication::translate("Meldungen", "Ports: jeder USB-Seriell-Port mit %1").arg(filter);
}
inline QString watchPorts(const QString &ports)
{
    return QCoreApplication::translate("Meldungen", "Ports: %1").arg(ports);
}
inline QString versuche(int anzahl)
{
    return QCoreApplication::translate("Meldungen", "%1 Versuche").arg(anzahl);
}
inline QString sn(quint64 nummer)
{
    return QCoreApplication::translate("Meldungen", "SN %1").arg(nummer);
}
// "11.2 kB/s  noch 10 s" in the live display
inline QString tempo(double kilobytesJeSekunde, int sekundenNoch)
{
    return QCoreApplication::translate("Meldungen", "%1 kB/s  noch %2 s")
        .arg(kilobytesJeSekunde, 0, 'f', 1).arg(sekundenNoch);
}
inline QString hilfeZeigen()
{
    return QCoreApplication::translate("Meldungen", "Hilfe: kvxflash --help");
}
inline QString usbSeriennummer(const QString &seriennummer)
{
    return QCoreApplication::translate("Meldungen", "Seriennummer %1").arg(seriennummer);
}
inline QString watchProtokoll(const QString &pfad)
{
    return QCoreApplication::translate("Meldungen", "Protokoll: %1").arg(pfad);
}
inline QString watchOhneProtokoll()
{
    return QCoreApplication::translate("Meldungen", "Protokoll: keines (--log DATEI schreibt eines)");
}
inline QString wartet()
{
    return QCoreApplication::translate("Meldungen", "Warte auf Platinen … (Strg+C beendet)");
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
inline QString keineUsbPorts()
{
    return QCoreApplication::translate("Meldungen", "Kein USB-Seriell-Port gefunden; kvxflash --list zeigt alle "
                                                    "Ports.");
}
inline QString mehrerePlatinen(const QString &ports)
{
    return QCoreApplication::translate("Meldungen", "Mehrere Platinen antworten (%1): mit -p wählen oder -p auto für "
                                                    "alle.").arg(ports);
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
inline QString portAusserhalb(const QString &angabe)
{
    return QCoreApplication::translate("Meldungen", "Port %1: Wert muss zwischen 1 und 20 liegen.").arg(angabe);
}


// Serial numbers
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
inline QString snAusserhalb(qint64 bildgroesse)
{
    return QCoreApplication::translate("Meldungen", "Das Feld für die Seriennummer liegt nicht im Abbild "
                                                    "(%1 Bytes).").arg(bildgroesse);
}

} // namespace Meldungen
