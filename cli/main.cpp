// kvxflash: the command-line loader. It flashes one board or several at once
// through the same detection and upload as the window.
#include "app/version.h"
#include "cli/abbruchsignal.h"
#include "cli/bericht.h"
#include "cli/bildinfo.h"
#include "cli/bildpruefung.h"
#include "cli/flashlauf.h"
#include "cli/optionen.h"
#include "cli/portsuche.h"
#include "cli/protokoll.h"
#include "cli/werkbank.h"
#include "cli/terminal.h"
#include "core/qtdeutsch.h"
#include "core/texte.h"
#include "update/crc32.h"

#include <QCoreApplication>
#include <QTextStream>

namespace {

constexpr int aufruffehler = 1;

Bericht::Form berichtsform(const Optionen &optionen)
{
    if (optionen.json)
        return Bericht::json;
    if (optionen.leise)
        return Bericht::leise;
    return liveFaehigesTerminal() ? Bericht::live : Bericht::zeilen;
}

int flashen(const Optionen &optionen, Bericht &bericht, Abbruchsignal &abbruch, const Crc32 &crc)
{
    const Bildpruefung bild = Bildpruefung::pruefen(optionen.einstellungen.bildpfad, crc, optionen.einstellungen.roh);
    if (!bild.geladen) {
        Ergebnis abgelehnt;
        abgelehnt.art = Ergebnis::datei;
        abgelehnt.meldung = bild.meldung;
        abgelehnt.erlaeuterung = bild.erlaeuterung;
        for (const Portangabe &port : optionen.ports)
            bericht.ergebnis(port, abgelehnt);
        return exitStatus(abgelehnt.art);
    }

    QList<Portangabe> ports = optionen.ports;
    if (optionen.automatisch) {
        ports = mitBootloader(usbPorts(optionen), abbruch, crc);
        if (ports.isEmpty()) {
            bericht.notiz(Texte::keinBootloaderGefunden());
            return exitStatus(Ergebnis::nicht_gefunden);
        }
    }

    Flashlauf lauf(ports, optionen.einstellungen, crc);
    for (Platine *platine : lauf.platinen())
        bericht.beobachten(platine);
    lauf.ausfuehren(abbruch);
    return lauf.exitStatus();
}

// Until Ctrl+C: every board plugged in is flashed once.
int beobachten(const Optionen &optionen, Bericht &bericht, Abbruchsignal &abbruch, const Crc32 &crc)
{
    const Bildpruefung bild = Bildpruefung::pruefen(optionen.einstellungen.bildpfad, crc, optionen.einstellungen.roh);
    if (!bild.geladen) {
        QTextStream(stderr) << "kvxflash: " << optionen.einstellungen.bildpfad << ": " << bild.begruendung() << '\n';
        return exitStatus(Ergebnis::datei);
    }
    Protokoll protokoll;
    QString fehler;
    if (!optionen.protokolldatei.isEmpty() && !protokoll.oeffnen(optionen.protokolldatei, fehler)) {
        QTextStream(stderr) << "kvxflash: " << fehler << '\n';
        return aufruffehler;
    }
    Werkbank werkbank(optionen, crc, bericht, optionen.protokolldatei.isEmpty() ? nullptr : &protokoll);
    return werkbank.ausfuehren(abbruch);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("kvxflash"));
    QCoreApplication::setApplicationVersion(QStringLiteral(KVXLOADER_VERSION));
    qtTexteAufDeutsch();

    QString fehler;
    const std::optional<Optionen> optionen = optionenLesen(QCoreApplication::arguments(), fehler);
    if (!optionen) {
        QTextStream(stderr) << "kvxflash: " << fehler << "\nHilfe: kvxflash --help\n";
        return aufruffehler;
    }

    Crc32 crc;
    crc.CRCInit(Crc32::standardPolynomial);
    Abbruchsignal abbruch;
    QTextStream aus(stdout);
    if (optionen->modus == Optionen::auflisten)
        return auflisten(*optionen, aus, abbruch, crc);
    if (optionen->modus == Optionen::untersuchen)
        return bildinfo(*optionen, aus, crc);
    Bericht bericht(berichtsform(*optionen), aus);
    if (optionen->modus == Optionen::beobachten)
        return beobachten(*optionen, bericht, abbruch, crc);
    return flashen(*optionen, bericht, abbruch, crc);
}
