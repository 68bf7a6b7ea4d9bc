#pragma once

// Every text the main window and its logic show to the user, in one place.
// German is the source; translations/kvxloader_en.ts holds the English.

#include <QCoreApplication>
#include <QString>

#include <cerrno>

namespace Texte {

inline QString programmTitel()
{
    return QCoreApplication::translate("Texte", "KVXLoader");
}
inline QString programmBeschreibung()
{
    return QCoreApplication::translate("Texte", "Schreibt ein Firmware-Update über den DWQ-Bootloader in das KVX-Board.");
}

// A number shown to the user: its digits after one blank, the place of an empty sign.
inline QString zahl(qint64 n)
{
    return QLatin1Char(' ') + QString::number(n);
}

// Port selection and detection
inline QString portTitel()
{
    return QCoreApplication::translate("Texte", "Portproblem");
}
inline QString portNichtVerfuegbar(int portnr)
{
    return QCoreApplication::translate("Texte", "COM %1 nicht verfügbar !").arg(portnr);
}
// The explanation below the port message: the device tried, why it failed,
// and the other ports.
inline QString versucht(const QString &pfad, const QString &grund)
{
    //: %1 is the device tried, %2 why it failed (a phrase ending with a full stop)
    return QCoreApplication::translate("Texte", "Versucht: %1 – %2").arg(pfad, grund);
}
inline QString nichtVorhanden()
{
    return QCoreApplication::translate("Texte", "nicht vorhanden.");
}
inline QString keineBerechtigung()
{
    return QCoreApplication::translate("Texte", "keine Berechtigung.");
}
// The package's udev rule grants the port to the logged-in user from the next login on.
inline QString berechtigungLinux()
{
    return QCoreApplication::translate("Texte", "Nach der Installation des Pakets einmal ab- und wieder "
                                                "anmelden, oder den Benutzer der Gruppe dialout hinzufügen.");
}
inline QString portBelegt()
{
    return QCoreApplication::translate("Texte", "von einem anderen Programm belegt.");
}
inline QString portVerloren()
{
    return QCoreApplication::translate("Texte", "Verbindung verloren.");
}
inline QString portBitrate()
{
    return QCoreApplication::translate("Texte", "lässt sich nicht auf 115200 bit/s einstellen.");
}
inline QString portNichtZuOeffnen()
{
    return QCoreApplication::translate("Texte", "lässt sich nicht öffnen.");
}
inline QString vorhandenePortsZeile()
{
    return QCoreApplication::translate("Texte", "Vorhandene Ports: ");
}
inline QString vorhandenerPort(int comNummer, const QString &geraet, const QString &beschreibung)
{
    const QString port = QStringLiteral("COM") + zahl(comNummer) + QStringLiteral(" = ") + geraet;
    return beschreibung.isEmpty() ? port : port + QStringLiteral(" (") + beschreibung + QLatin1Char(')');
}
inline QString keineAnderenPorts()
{
    return QCoreApplication::translate("Texte", "Keine anderen COM-Ports gefunden.");
}
inline QString wertausserhalb()
{
    return QCoreApplication::translate("Texte", "Wert muß zwischen 1 und 20 liegen !");
}
inline QString sucheBootloader()
{
    return QCoreApplication::translate("Texte", "Suche DWQ-Bootloader...");
}
inline QString bootloaderGefunden()
{
    return QCoreApplication::translate("Texte", "DWQ-Bootloader gefunden !");
}
inline QString bootloaderNichtGefunden()
{
    return QCoreApplication::translate("Texte", "DWQ-Bootloader nicht gefunden !");
}

// Update file
inline QString dateiNichtGelesen()
{
    return QCoreApplication::translate("Texte", "Die Datei wurde nicht gelesen !");
}
// Why a file could not be read, below the message that it was not.
inline QString istEinOrdner()
{
    return QCoreApplication::translate("Texte", "ist ein Ordner.");
}
inline QString keineNormaleDatei()
{
    return QCoreApplication::translate("Texte", "ist keine normale Datei.");
}
// What the system said, in the program's language for the reasons a bench
// meets; any other in the system's words.
inline QString systemgrund(int fehler)
{
    switch (fehler) {
    case ENOENT:
        return QCoreApplication::translate("Texte", "Datei oder Ordner nicht vorhanden");
    case EACCES:
    case EPERM:
        return QCoreApplication::translate("Texte", "Keine Berechtigung");
    case EISDIR:
        return QCoreApplication::translate("Texte", "Ist ein Ordner");
    case ENOTDIR:
        return QCoreApplication::translate("Texte", "Ein Teil des Pfads ist kein Ordner");
    case ENOSPC:
        return QCoreApplication::translate("Texte", "Kein Platz mehr auf dem Datenträger");
    case EROFS:
        return QCoreApplication::translate("Texte", "Das Dateisystem ist nur lesbar");
    case EBUSY:
        return QCoreApplication::translate("Texte", "Gerät oder Datei belegt");
    case EIO:
        return QCoreApplication::translate("Texte", "Ein-/Ausgabefehler");
    default:
        return qt_error_string(fehler);
    }
}
inline QString nichtLesbar(const QString &systemgrund)
{
    return QCoreApplication::translate("Texte", "lässt sich nicht lesen: %1.").arg(systemgrund);
}
inline QString dateiLeer()
{
    return QCoreApplication::translate("Texte", "Die Datei ist leer !");
}
inline QString dateiZuGross(const QString &dateigroesse)
{
    //: Two lines; %1 is the file's size in bytes
    return QCoreApplication::translate("Texte", "Filesize too big !\r\nLen is  %1 Bytes").arg(dateigroesse);
}
inline QString dateiFilter()
{
    //: The file dialog's filters: label|pattern|...; each label ends with its patterns, the DWQ files' first
    return QCoreApplication::translate("Texte", "DWQ files (*.dwq)|*.dwq|Intel HEX, S-Record, ELF (*.hex *.ihex *.srec *.s19 *.s28 *.s37 *.elf)|*.hex;*.ihex;*.srec;*.s19;*.s28;*.s37;*.elf|(*.*)|*.*");
}

// Why a file in Intel HEX, S-record or ELF form was refused, below the message
// that it was not read or is too big. `wo` is a line or a segment.
inline QString adresse(quint64 adresse)
{
    return QStringLiteral("0x") + QString::number(adresse, 16).toUpper().rightJustified(8, QLatin1Char('0'));
}
inline QString zeile(int nummer)
{
    return QCoreApplication::translate("Texte", "Zeile %1").arg(nummer);
}
inline QString segment(int nummer)
{
    return QCoreApplication::translate("Texte", "Segment %1").arg(nummer);
}
inline QString keinDatensatz(const QString &wo)
{
    return QCoreApplication::translate("Texte", "%1: kein gültiger Datensatz.").arg(wo);
}
inline QString datensatzUnvollstaendig(const QString &wo)
{
    return QCoreApplication::translate("Texte", "%1: Datensatz unvollständig.").arg(wo);
}
inline QString pruefsummeFalsch(const QString &wo)
{
    return QCoreApplication::translate("Texte", "%1: Prüfsumme falsch.").arg(wo);
}
inline QString andersBelegt(const QString &wo, quint64 stelle)
{
    return QCoreApplication::translate("Texte", "%1: Adresse %2 ist schon mit anderen Bytes belegt.")
        .arg(wo, adresse(stelle));
}
inline QString nachDemSchluss(const QString &wo)
{
    return QCoreApplication::translate("Texte", "%1: Datensatz nach dem Schlussdatensatz.").arg(wo);
}
inline QString schlussFehlt()
{
    return QCoreApplication::translate("Texte", "Der Schlussdatensatz fehlt: die Datei ist unvollständig.");
}
inline QString datensatzzahlFalsch(const QString &wo)
{
    return QCoreApplication::translate("Texte", "%1: Die Zahl der Datensätze stimmt nicht.").arg(wo);
}
inline QString elfKopfFehlerhaft()
{
    return QCoreApplication::translate("Texte", "Der ELF-Kopf ist unvollständig oder fehlerhaft.");
}
inline QString ausserhalbDerDatei(const QString &wo)
{
    return QCoreApplication::translate("Texte", "%1: reicht über das Dateiende hinaus.").arg(wo);
}
inline QString mehrAlsImSpeicher(const QString &wo)
{
    return QCoreApplication::translate("Texte", "%1: mehr Bytes in der Datei als im Speicher.").arg(wo);
}
inline QString keineDaten()
{
    return QCoreApplication::translate("Texte", "Die Datei enthält keine Bytes für den Flash.");
}
inline QString hoechsteAdresse(quint64 stelle)
{
    return QCoreApplication::translate("Texte", "Höchste Adresse: %1").arg(adresse(stelle));
}

// Upload
inline QString hochladen()
{
    return QCoreApplication::translate("Texte", "Hochladen...");
}
inline QString pruefen()
{
    return QCoreApplication::translate("Texte", "Prüfen...");
}
inline QString updateErfolgreich()
{
    return QCoreApplication::translate("Texte", "Update erfolgreich ausgeführt !");
}
inline QString updateFehlgeschlagen()
{
    return QCoreApplication::translate("Texte", "Update fehlgeschlagen !");
}
inline QString updateAbgebrochen()
{
    return QCoreApplication::translate("Texte", "Update abgebrochen !");
}
inline QString fehlerAufgetreten()
{
    return QCoreApplication::translate("Texte", "Es ist ein Fehler aufgetreten !");
}

// Main window
inline QString rahmenPort()
{
    return QCoreApplication::translate("Texte", "Com-Port");
}
inline QString rahmenUpdate()
{
    return QCoreApplication::translate("Texte", "DWQ Update");
}
inline QString uploadKnopf()
{
    return QCoreApplication::translate("Texte", "&Update-Datei wählen und senden");
}
inline QString menueHilfe()
{
    return QCoreApplication::translate("Texte", "Hilfe");
}
inline QString menueInfo()
{
    return QCoreApplication::translate("Texte", "Info");
}
inline QString standardPortnummer()
{
    //: The port field's number before the first search
    return QCoreApplication::translate("Texte", "3");
}

// Command line
inline QString geraetNichtVerfuegbar(const QString &geraet)
{
    return QCoreApplication::translate("Texte", "%1 nicht verfügbar !").arg(geraet);
}
inline QString keineAntwort(double sekunden)
{
    //: %1 is the time-out in seconds
    return QCoreApplication::translate("Texte", "Keine Antwort der Platine nach %1 s !").arg(sekunden);
}
inline QString versuch(int nummer, int von)
{
    return QCoreApplication::translate("Texte", "Versuch %1 von %2").arg(nummer).arg(von);
}
inline QString seite(int nummer, int von)
{
    return QCoreApplication::translate("Texte", "Seite %1/%2").arg(nummer).arg(von);
}
inline QString keinBootloaderGefunden()
{
    return QCoreApplication::translate("Texte", "An keinem Port antwortet ein DWQ-Bootloader !");
}
// kvxflash --info
inline QString rohdaten()
{
    return QCoreApplication::translate("Texte", "Rohdaten");
}
inline QString koepfeGeladen()
{
    return QCoreApplication::translate("Texte",
                                       "Ein Segment beginnt in den Köpfen der ELF-Datei: sie werden mitgeflasht.");
}
inline QString bildinfo(const QString &datei, const QString &format, const QString &von, const QString &bis,
                        qint64 datenbytes, int seiten, const QString &crc, const QString &sha256)
{
    return QCoreApplication::translate("Texte", "Datei:      %1\n"
                                                "Format:     %2\n"
                                                "Adressen:   %3 bis %4\n"
                                                "Datenbytes: %5\n"
                                                "Seiten:     %6\n"
                                                "CRC-32:     %7\n"
                                                "SHA-256:    %8")
        .arg(datei, format, von, bis, QString::number(datenbytes), QString::number(seiten), crc, sha256);
}

} // namespace Texte
