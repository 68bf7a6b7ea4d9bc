#pragma once

// Every text the main window and its logic show to the user, in one place.

#include <QString>

namespace Texte {

inline const QString programmTitel = QStringLiteral("KVXLoader");
inline const QString programmBeschreibung =
    QStringLiteral("Schreibt ein Firmware-Update über den DWQ-Bootloader in das KVX-Board.");

// A number shown to the user: its digits after one blank, the place of an empty sign.
inline QString zahl(qint64 n)
{
    return QLatin1Char(' ') + QString::number(n);
}

// Port selection and detection
inline const QString portTitel = QStringLiteral("Portproblem");
inline QString portNichtVerfuegbar(int portnr)
{
    return QStringLiteral("COM") + zahl(portnr) + QStringLiteral(" nicht verfügbar !");
}
// The explanation below the port message: the device tried, why it failed,
// and the other ports.
inline QString portVersucht(const QString &geraet, const QString &grund)
{
    return QStringLiteral("Versucht: ") + geraet + QStringLiteral(" – ") + grund;
}
inline const QString portFehlt = QStringLiteral("nicht vorhanden.");
inline const QString portOhneBerechtigung = QStringLiteral("keine Berechtigung.");
// The package's udev rule grants the port to the logged-in user from the next login on.
inline const QString berechtigungLinux = QStringLiteral("Nach der Installation des Pakets einmal ab- und wieder "
                                                        "anmelden, oder den Benutzer der Gruppe dialout hinzufügen.");
inline const QString portBelegt = QStringLiteral("von einem anderen Programm belegt.");
inline const QString portVerloren = QStringLiteral("Verbindung verloren.");
inline const QString portBitrate = QStringLiteral("lässt sich nicht auf 115200 bit/s einstellen.");
inline const QString portNichtZuOeffnen = QStringLiteral("lässt sich nicht öffnen.");
inline const QString vorhandenePortsZeile = QStringLiteral("Vorhandene Ports: ");
inline QString vorhandenerPort(int comNummer, const QString &geraet, const QString &beschreibung)
{
    const QString port = QStringLiteral("COM") + zahl(comNummer) + QStringLiteral(" = ") + geraet;
    return beschreibung.isEmpty() ? port : port + QStringLiteral(" (") + beschreibung + QLatin1Char(')');
}
inline const QString keineAnderenPorts = QStringLiteral("Keine anderen COM-Ports gefunden.");
inline const QString wertausserhalb = QStringLiteral("Wert muß zwischen 1 und 20 liegen !");
inline const QString sucheBootloader = QStringLiteral("Suche DWQ-Bootloader...");
inline const QString bootloaderGefunden = QStringLiteral("DWQ-Bootloader gefunden !");
inline const QString bootloaderNichtGefunden = QStringLiteral("DWQ-Bootloader nicht gefunden !");

// Update file
inline const QString dateiNichtGelesen = QStringLiteral("Die Datei wurde nicht gelesen !");
inline const QString dateiLeer = QStringLiteral("Die Datei ist leer !");
inline QString dateiZuGross(qint64 dateigroesse)
{
    return QStringLiteral("Filesize too big !\r\nLen is ") + zahl(dateigroesse) + QStringLiteral(" Bytes");
}
inline const QString dateiFilter = QStringLiteral("DWQ files (*.dwq)|*.dwq|(*.*)|*.*");

// Upload
inline const QString hochladen = QStringLiteral("Hochladen...");
inline const QString pruefen = QStringLiteral("Prüfen...");
inline const QString updateErfolgreich = QStringLiteral("Update erfolgreich ausgeführt !");
inline const QString updateFehlgeschlagen = QStringLiteral("Update fehlgeschlagen !");
inline const QString updateAbgebrochen = QStringLiteral("Update abgebrochen !");
inline const QString fehlerAufgetreten = QStringLiteral("Es ist ein Fehler aufgetreten !");

// Main window
inline const QString rahmenPort = QStringLiteral("Com-Port");
inline const QString rahmenUpdate = QStringLiteral("DWQ Update");
inline const QString uploadKnopf = QStringLiteral("&Update-Datei wählen und senden");
inline const QString menueHilfe = QStringLiteral("Hilfe");
inline const QString menueInfo = QStringLiteral("Info");
inline const QString standardPortnummer = QStringLiteral("3");

// Command line
inline QString geraetNichtVerfuegbar(const QString &geraet)
{
    return geraet + QStringLiteral(" nicht verfügbar !");
}
inline QString keineAntwort(double sekunden)
{
    return QStringLiteral("Keine Antwort der Platine nach %1 s !").arg(sekunden);
}
inline QString versuch(int nummer, int von)
{
    return QStringLiteral("Versuch %1 von %2").arg(nummer).arg(von);
}
inline QString seite(int nummer, int von)
{
    return QStringLiteral("Seite %1/%2").arg(nummer).arg(von);
}
inline const QString keinBootloaderGefunden = QStringLiteral("An keinem Port antwortet ein DWQ-Bootloader !");

} // namespace Texte
