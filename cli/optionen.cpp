#include "cli/optionen.h"

#include "cli/brokeroptionen.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QSet>
#include <QSysInfo>

namespace {

const char *const beschreibung = QT_TRANSLATE_NOOP("Optionen",
    "Schreibt ein Firmware-Update über den DWQ-Bootloader in eine oder mehrere\n"
    "KVX-Platinen, auf mehreren Ports gleichzeitig.\n"
    "\n"
    "  kvxflash [-p PORT]... [-t SEK] [-r N] [--sn ...] [--json] [-q] DATEI\n"
    "  kvxflash --list [--probe] [--json]\n"
    "  kvxflash --watch [-p auto | -p PORT...] [--usb VID:PID] [--serial SN]\n"
    "           [--log DATEI] [--serve [ADRESSE:]PORT] [--mqtt URL] [--bench NAME]\n"
    "           [--sn ...] [-t SEK] [-r N] [--json] DATEI\n"
    "  kvxflash --info [--raw] [--json] DATEI\n"
    "  kvxflash --stats PROTOKOLL [--since ZEIT] [--json]\n"
    "\n"
    "PORT ist eine COM-Nummer 1 bis 20 wie im Fenster von KVXLoader (unter Linux\n"
    "COM n = /dev/ttyUSB<n-1>, mit KVXLOADER_PORT_DIR die Datei COM<n> dort),\n"
    "COMn, ein Gerätepfad oder auto (jeder USB-Seriell-Port, an dem ein\n"
    "DWQ-Bootloader antwortet). Ohne -p wird die eine Platine geflasht, deren\n"
    "Bootloader antwortet.\n"
    "\n"
    "Exit-Status: 0 alle Platinen erfolgreich, 1 Aufruffehler, 2 Datei abgelehnt,\n"
    "3 Bootloader nicht gefunden, 4 Portproblem, 5 Zeitüberschreitung,\n"
    "6 falsche Antwort oder CRC verschieden, 7 Protokoll oder Ausgabe nicht\n"
    "geschrieben, 130 abgebrochen. Bei mehreren Platinen zählt die erste\n"
    "fehlgeschlagene in der Reihenfolge der Ports.\n"
    "\n"
    "Intel HEX, S-Record und ELF werden am Inhalt erkannt und ab Adresse 0 in\n"
    "das Abbild gelegt, Lücken mit 0xFF gefüllt; jede andere Datei wird Byte\n"
    "für Byte gesendet.\n"
    "\n"
    "--watch flasht jede Platine, die angesteckt wird, einmal, bis Strg+C.");

bool usbKennungLesen(const QString &text, Optionen &optionen)
{
    const QStringList teile = text.split(QLatin1Char(':'));
    bool vidGueltig = false;
    bool pidGueltig = false;
    if (teile.size() != 2)
        return false;
    const uint vid = teile[0].toUInt(&vidGueltig, 16);
    const uint pid = teile[1].toUInt(&pidGueltig, 16);
    if (!vidGueltig || !pidGueltig || vid > 0xFFFF || pid > 0xFFFF)
        return false;
    optionen.usbVid = quint16(vid);
    optionen.usbPid = quint16(pid);
    return true;
}

// ISO 8601 as the log writes it, with or without the offset, a day alone,
// or "today".
std::optional<QDateTime> zeitLesen(const QString &text)
{
    if (text == QStringLiteral("today"))
        return QDateTime(QDate::currentDate(), QTime(0, 0));
    const QDateTime zeit = QDateTime::fromString(text, Qt::ISODateWithMs);
    if (zeit.isValid())
        return zeit;
    const QDate tag = QDate::fromString(text, Qt::ISODate);
    return tag.isValid() ? std::optional<QDateTime>(QDateTime(tag, QTime(0, 0))) : std::nullopt;
}

} // namespace

QString gewuenschteSprache(const QStringList &argumente)
{
    for (qsizetype i = 1; i < argumente.size(); ++i) {
        if (argumente[i] == QStringLiteral("--lang") && i + 1 < argumente.size())
            return argumente[i + 1];
        if (argumente[i].startsWith(QStringLiteral("--lang=")))
            return argumente[i].mid(7);
    }
    return QString();
}

std::optional<Optionen> optionenLesen(const QStringList &argumente, QString &fehler)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(Optionen::tr(beschreibung));
    const QCommandLineOption hilfe = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    const QString datei = Optionen::tr("DATEI");
    const QCommandLineOption port({"p", "port"}, Optionen::tr("Port der Platine; mehrfach für mehrere Platinen "
                                                              "(Vorgabe: die eine, die antwortet)."), "PORT");
    const QCommandLineOption zeitlimit({"t", "timeout"},
                                       Optionen::tr("Längste Wartezeit auf eine Antwort der Platine in Sekunden "
                                                    "(Vorgabe 5; für eine Seite kommen 0,71 s Leitungszeit hinzu)."),
                                       Optionen::tr("SEK"), "5");
    const QCommandLineOption wiederholungen({"r", "retries"},
                                            Optionen::tr("Nach einem Fehler (außer einer abgelehnten Datei) die "
                                                         "Platine bis zu N-mal neu beginnen (Vorgabe 0)."),
                                            "N", "0");
    const QCommandLineOption json("json", Optionen::tr("Je Platine ein JSON-Objekt in einer Zeile, wenn sie fertig "
                                                       "ist."));
    const QCommandLineOption leise({"q", "quiet"}, Optionen::tr("Nur die Schlusszeile jeder Platine."));
    const QCommandLineOption liste("list", Optionen::tr("Serielle Ports auflisten."));
    const QCommandLineOption pruefen("probe", Optionen::tr("Mit --list: an jedem Port nach dem DWQ-Bootloader "
                                                           "fragen."));
    const QCommandLineOption beobachten("watch", Optionen::tr("Jede angesteckte Platine einmal flashen, bis "
                                                              "Strg+C."));
    const QCommandLineOption usb("usb", Optionen::tr("Mit --watch: nur USB-Ports mit dieser Kennung (hex)."),
                                 "VID:PID");
    const QCommandLineOption seriennummer("serial", Optionen::tr("Mit --watch: nur USB-Ports mit dieser "
                                                                 "Seriennummer."), "SN");
    const QCommandLineOption protokoll("log", Optionen::tr("Mit --watch: je Platine eine Zeile an DATEI anhängen."),
                                       datei);
    const QCommandLineOption snFeld("sn", Optionen::tr("Je Platine eine eigene Seriennummer ins Abbild schreiben: "
                                                       "GRÖSSE Bytes (1 bis 16) ab ADRESSE, FORM le (Vorgabe), be "
                                                       "oder ascii."),
                                    Optionen::tr("ADRESSE:GRÖSSE[:FORM]"));
    const QCommandLineOption snZaehler("sn-counter", Optionen::tr("Mit --sn: die Datei mit der nächsten "
                                                                  "Seriennummer."), datei);
    const QCommandLineOption snErste("sn-first", Optionen::tr("Mit --sn: die erste Seriennummer, wenn der Zähler "
                                                              "nicht weiter ist (Vorgabe 1)."), "N");
    const QCommandLineOption snLetzte("sn-last", Optionen::tr("Mit --sn: die letzte Seriennummer dieser Werkbank; "
                                                              "eine Platine, die eine weitere bräuchte, schlägt "
                                                              "fehl, und --watch nimmt keine weitere an."), "N");
    const QCommandLineOption snUeberschreiben("sn-overwrite", Optionen::tr("Mit --sn: das Feld auch beschreiben, "
                                                                           "wenn seine Bytes im Abbild nicht alle "
                                                                           "0xFF sind."));
    const QCommandLineOption erwartetesSha256("expect-sha256", Optionen::tr("Nur das Abbild mit dieser SHA-256 "
                                                                            "annehmen, jedes andere ablehnen "
                                                                            "(Status 2)."), "HEX");
    const QCommandLineOption sprache("lang", Optionen::tr("Sprache der Ausgabe: de oder en (Vorgabe: "
                                                          "KVXLOADER_LANG, sonst die des Systems)."),
                                     Optionen::tr("SPRACHE"));
    const QCommandLineOption roh("raw", Optionen::tr("Die Datei unverändert senden, auch Intel HEX, S-Record oder "
                                                     "ELF."));
    const QCommandLineOption info("info", Optionen::tr("Format, Adressen, Seiten, CRC-32 und SHA-256 der Datei "
                                                       "zeigen, ohne einen Port zu berühren."));
    const QCommandLineOption statistik("stats", Optionen::tr("Schichtzahlen aus einem Protokoll von --watch --log: "
                                                             "Ergebnisse, Ausbeute, Platinen je Stunde."),
                                       Optionen::tr("PROTOKOLL"));
    const QCommandLineOption seit("since", Optionen::tr("Mit --stats: nur Einträge ab ZEIT (ISO 8601 wie im "
                                                        "Protokoll, oder today)."), Optionen::tr("ZEIT"));
    parser.addOptions({port, zeitlimit, wiederholungen, json, leise, liste, pruefen, beobachten, usb, seriennummer,
                       protokoll, snFeld, snZaehler, snErste, snLetzte, snUeberschreiben, erwartetesSha256, sprache, roh, info, statistik, seit});
    const Brokeroptionen broker;
    parser.addOptions(broker.alle());
    const Seitenoptionen seitenoptionen;
    for (const QCommandLineOption &option : seitenoptionen.alle())
        parser.addOption(option);
    const QCommandLineOption werkbank("bench", Optionen::tr("Der Name dieser Werkbank (Vorgabe: der Rechnername)."),
                                      Optionen::tr("NAME"));
    parser.addOption(werkbank);
    parser.addPositionalArgument(datei, Optionen::tr("Die Update-Datei (*.dwq, Intel HEX, S-Record, ELF)."));

    if (!parser.parse(argumente)) {
        fehler = parser.errorText();
        return std::nullopt;
    }
    // process() answers --help, --version and --help-all, which alone adds
    // Qt's own options, and ends the program.
    if (parser.isSet(hilfe) || parser.isSet(QStringLiteral("help-all")) || parser.isSet(version))
        parser.process(argumente);

    if (parser.isSet(sprache) && parser.value(sprache) != QStringLiteral("de")
        && parser.value(sprache) != QStringLiteral("en")) {
        fehler = Optionen::tr("--lang nimmt de oder en: %1").arg(parser.value(sprache));
        return std::nullopt;
    }
    Optionen optionen;
    optionen.modus = parser.isSet(liste) ? Optionen::auflisten
                   : parser.isSet(statistik) ? Optionen::statistik
                   : parser.isSet(info) ? Optionen::untersuchen
                   : parser.isSet(beobachten) ? Optionen::beobachten : Optionen::flashen;
    optionen.json = parser.isSet(json);
    optionen.leise = parser.isSet(leise);
    optionen.pruefen = parser.isSet(pruefen);
    optionen.seriennummer = parser.value(seriennummer);
    optionen.protokolldatei = parser.value(protokoll);
    optionen.roh = parser.isSet(roh);
    optionen.statistikdatei = parser.value(statistik);
    if (parser.isSet(seit)) {
        optionen.seit = zeitLesen(parser.value(seit));
        if (!optionen.seit) {
            fehler = Optionen::tr("--since nimmt eine Zeit nach ISO 8601, z. B. 2026-03-02T06:00:00+01:00, oder "
                                  "today: %1").arg(parser.value(seit));
            return std::nullopt;
        }
        if (optionen.modus != Optionen::statistik) {
            fehler = Optionen::tr("--since gehört zu --stats.");
            return std::nullopt;
        }
    }
    optionen.werkbankname = parser.isSet(werkbank) ? parser.value(werkbank) : QSysInfo::machineHostName();
    // The name is a level of the broker's topics: a slash or a wildcard would change them.
    if (optionen.werkbankname.isEmpty() || optionen.werkbankname.contains(QLatin1Char('/'))
        || optionen.werkbankname.contains(QLatin1Char('+')) || optionen.werkbankname.contains(QLatin1Char('#'))) {
        fehler = Optionen::tr("Der Name der Werkbank darf nicht leer sein und kein /, + oder # enthalten: %1")
                     .arg(optionen.werkbankname);
        return std::nullopt;
    }
    if (!broker.lesen(parser, optionen.protokolldatei, optionen.werkbankname, optionen.broker, fehler))
        return std::nullopt;
    if (!seitenoptionen.lesen(parser, optionen.seite, fehler))
        return std::nullopt;
    if (optionen.seite && (optionen.modus == Optionen::auflisten || optionen.modus == Optionen::untersuchen
                           || optionen.modus == Optionen::statistik)) {
        fehler = Optionen::tr("--serve gehört zu einem Lauf oder zu --watch.");
        return std::nullopt;
    }

    bool gueltig = false;
    // "0,5" as the help writes it, or "0.5".
    const double sekunden = QString(parser.value(zeitlimit)).replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&gueltig);
    if (!gueltig || !(sekunden >= 0.05 && sekunden <= 3600)) {
        fehler = Optionen::tr("Zeitlimit muss zwischen 0,05 und 3600 Sekunden liegen: %1").arg(parser.value(zeitlimit));
        return std::nullopt;
    }
    optionen.einstellungen.zeitlimitMs = qRound(sekunden * 1000);
    optionen.einstellungen.wiederholungen = parser.value(wiederholungen).toInt(&gueltig);
    if (!gueltig || optionen.einstellungen.wiederholungen < 0 || optionen.einstellungen.wiederholungen > 1000) {
        fehler = Optionen::tr("Wiederholungen muss eine Zahl von 0 bis 1000 sein: %1").arg(parser.value(wiederholungen));
        return std::nullopt;
    }
    if (parser.isSet(snFeld)) {
        optionen.snFeld = Seriennummernfeld::lesen(parser.value(snFeld), fehler);
        if (!optionen.snFeld)
            return std::nullopt;
    }
    optionen.snZaehler = parser.value(snZaehler);
    if (parser.isSet(snErste))
        optionen.snErste = parser.value(snErste).toULongLong(&gueltig);
    if (parser.isSet(snErste) && !gueltig) {
        fehler = Optionen::tr("--sn-first muss eine Zahl sein: %1").arg(parser.value(snErste));
        return std::nullopt;
    }
    if (parser.isSet(snLetzte))
        optionen.einstellungen.snLetzte = parser.value(snLetzte).toULongLong(&gueltig);
    if (parser.isSet(snLetzte) && !gueltig) {
        fehler = Optionen::tr("--sn-last muss eine Zahl sein: %1").arg(parser.value(snLetzte));
        return std::nullopt;
    }
    optionen.snUeberschreiben = parser.isSet(snUeberschreiben);
    if ((parser.isSet(snLetzte) || optionen.snUeberschreiben) && !optionen.snFeld) {
        fehler = Optionen::tr("--sn-last und --sn-overwrite gehören zu --sn.");
        return std::nullopt;
    }
    if (parser.isSet(erwartetesSha256)) {
        const QString hex = parser.value(erwartetesSha256);
        optionen.erwartetesSha256 = QByteArray::fromHex(hex.toLatin1());
        if (hex.size() != 64 || optionen.erwartetesSha256.toHex() != hex.toLower().toLatin1()) {
            fehler = Optionen::tr("--expect-sha256 nimmt 64 Hex-Ziffern: %1").arg(hex);
            return std::nullopt;
        }
    }
    // Without a counter a number could be given twice.
    if (optionen.snFeld.has_value() != !optionen.snZaehler.isEmpty()
        || (parser.isSet(snErste) && !optionen.snFeld)) {
        fehler = Optionen::tr("--sn und --sn-counter gehören zusammen; --sn-first nur mit ihnen.");
        return std::nullopt;
    }
    if (optionen.snFeld && optionen.modus == Optionen::auflisten) {
        fehler = Optionen::tr("--list nimmt kein --sn.");
        return std::nullopt;
    }
    if (parser.isSet(usb) && !usbKennungLesen(parser.value(usb), optionen)) {
        fehler = Optionen::tr("USB-Kennung muss VID:PID in hex sein, z. B. 0403:6001: %1").arg(parser.value(usb));
        return std::nullopt;
    }

    // Without -p the one board whose bootloader answers; a watch without -p
    // watches every port.
    const QStringList portTexte = parser.isSet(port) ? parser.values(port) : QStringList{QStringLiteral("auto")};
    optionen.nurEine = !parser.isSet(port) && optionen.modus == Optionen::flashen;
    optionen.automatisch = portTexte.contains(QStringLiteral("auto"), Qt::CaseInsensitive);
    if (optionen.automatisch && portTexte.size() > 1) {
        fehler = Optionen::tr("-p auto steht allein.");
        return std::nullopt;
    }
    QSet<QString> schonGenannt;
    for (const QString &text : portTexte) {
        if (optionen.automatisch)
            break;
        const std::optional<Portangabe> angabe = portangabeLesen(text, fehler);
        if (!angabe)
            return std::nullopt;
        // The same device named twice, perhaps once by number and once by path.
        if (schonGenannt.contains(angabe->schluessel())) {
            fehler = Optionen::tr("Port doppelt angegeben: %1").arg(text);
            return std::nullopt;
        }
        schonGenannt.insert(angabe->schluessel());
        optionen.ports << *angabe;
    }

    const QStringList dateien = parser.positionalArguments();
    if (optionen.modus == Optionen::auflisten || optionen.modus == Optionen::statistik) {
        if (!dateien.isEmpty()) {
            fehler = optionen.modus == Optionen::auflisten ? Optionen::tr("--list nimmt keine Datei.")
                                                           : Optionen::tr("--stats nimmt keine Update-Datei.");
            return std::nullopt;
        }
    } else if (dateien.size() != 1 || dateien.first().isEmpty()) {
        fehler = dateien.value(0).isEmpty() ? Optionen::tr("Keine Update-Datei angegeben.")
                                   : Optionen::tr("Nur eine Update-Datei angeben.");
        return std::nullopt;
    } else {
        optionen.bildpfad = dateien.first();
    }
    if (optionen.pruefen && optionen.modus != Optionen::auflisten) {
        fehler = Optionen::tr("--probe gehört zu --list.");
        return std::nullopt;
    }
    // An empty setting would run a bench that keeps no record.
    if (parser.isSet(protokoll) && optionen.protokolldatei.isEmpty()) {
        fehler = Optionen::tr("--log braucht eine Datei.");
        return std::nullopt;
    }
    if ((parser.isSet(usb) || parser.isSet(seriennummer) || parser.isSet(protokoll))
        && optionen.modus != Optionen::beobachten) {
        fehler = Optionen::tr("--usb, --serial und --log gehören zu --watch.");
        return std::nullopt;
    }
    return optionen;
}
