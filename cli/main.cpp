// kvxflash: the command-line loader. It flashes one board or several at once
// through the same detection and upload as the window.
#include "app/version.h"
#include "core/abbruchsignal.h"
#include "cli/ausgabe.h"
#include "cli/bericht.h"
#include "cli/bildinfo.h"
#include "cli/firmwarebild.h"
#include "cli/flashlauf.h"
#include "cli/meldungen.h"
#include "cli/optionen.h"
#include "cli/portsuche.h"
#include "cli/protokoll.h"
#include "cli/seriennummernzaehler.h"
#include "cli/terminal.h"
#include "cli/werkbank.h"
#include "core/sprache.h"
#include "core/texte.h"
#include "update/crc32.h"

#include <QCoreApplication>
#include <QFile>

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

// An argument whose bytes are not valid in the system's encoding would name
// another file than the one meant.
bool argumenteGueltig(int argc, char *argv[])
{
    for (int i = 1; i < argc; ++i) {
        const QByteArray argument(argv[i]);
        if (QFile::encodeName(QFile::decodeName(argument)) != argument) {
            fehlermeldung(Meldungen::ungueltigeKodierung(QFile::decodeName(argument)));
            return false;
        }
    }
    return true;
}

// The serial number's field must lie in the image, the counter be free, and
// its next number fit the field, before any board is touched.
int seriennummernVorbereiten(const Optionen &optionen, const Firmwarebild &bild, Seriennummernzaehler &zaehler)
{
    if (!optionen.snFeld->passtIn(bild.bild.size())) {
        fehlermeldung(Meldungen::snAusserhalb(bild.bild.size()));
        return aufruffehler;
    }
    QString fehler;
    if (!zaehler.oeffnen(optionen.snZaehler, optionen.snErste, fehler)) {
        fehlermeldung(fehler);
        return Flashlauf::schreibfehlerStatus;
    }
    if (zaehler.naechste() > optionen.snFeld->hoechsteNummer()) {
        fehlermeldung(Meldungen::snZuGross(zaehler.naechste(), optionen.snFeld->groesse));
        return aufruffehler;
    }
    return 0;
}

// Exit status 7 when nothing worse happened but the output was lost.
int mitAusgabe(int status, const Bericht &bericht)
{
    return status == 0 && bericht.ausgabeFehlgeschlagen() ? Flashlauf::schreibfehlerStatus : status;
}

int flashen(const Optionen &optionen, const Firmwarebild &bild, Bericht &bericht, Abbruchsignal &abbruch,
            const Crc32 &crc)
{
    if (!bild.geladen) {
        Ergebnis abgelehnt;
        abgelehnt.art = Ergebnis::datei;
        abgelehnt.meldung = bild.meldung;
        abgelehnt.erlaeuterung = bild.erlaeuterung;
        // With -p auto no port is known yet: the refusal stands on its own.
        for (const Portangabe &port : optionen.automatisch ? QList<Portangabe>{Portangabe()} : optionen.ports)
            bericht.ergebnis(port, abgelehnt);
        return mitAusgabe(exitStatus(abgelehnt.art), bericht);
    }

    QList<Portangabe> ports = optionen.ports;
    if (optionen.automatisch) {
        const std::optional<QList<Abfrage>> abfragen = bootloaderAbfragen(usbPorts(optionen), abbruch, crc);
        if (!abfragen)
            return Flashlauf::abbruchStatus;
        ports.clear();
        for (const Abfrage &abfrage : *abfragen)
            if (abfrage.ergebnis.art == Ergebnis::ok)
                ports << abfrage.port;
        if (ports.isEmpty()) {
            // Why not: a port that could not be opened says why, as a board's would.
            for (const Abfrage &abfrage : *abfragen)
                if (abfrage.ergebnis.art == Ergebnis::port)
                    bericht.ergebnis(abfrage.port, abfrage.ergebnis);
            if (abfragen->isEmpty())
                bericht.ansage(Meldungen::keineUsbPorts());
            bericht.ansage(Texte::keinBootloaderGefunden());
            return mitAusgabe(exitStatus(Ergebnis::nicht_gefunden), bericht);
        }
        if (optionen.nurEine && ports.size() > 1) {
            QStringList namen;
            for (const Portangabe &port : std::as_const(ports))
                namen << port.anzeigename();
            fehlermeldung(Meldungen::mehrerePlatinen(namen.join(QStringLiteral(", "))));
            return aufruffehler;
        }
    }

    Flashlauf lauf(ports, bild, optionen.einstellungen, crc);
    for (Platine *platine : lauf.platinen())
        bericht.beobachten(platine);
    lauf.ausfuehren(abbruch);
    return mitAusgabe(lauf.exitStatus(), bericht);
}

// Until Ctrl+C: every board plugged in is flashed once.
int beobachten(const Optionen &optionen, const Firmwarebild &bild, Bericht &bericht, Abbruchsignal &abbruch,
               const Crc32 &crc)
{
    if (!bild.geladen) {
        fehlermeldung(bild.erlaeuterung.isEmpty() ? bild.pfad + QStringLiteral(": ") + bild.meldung
                                                  : bild.meldung + QLatin1Char(' ') + bild.erlaeuterung);
        return exitStatus(Ergebnis::datei);
    }
    const Protokoll protokoll(optionen.protokolldatei);
    QString grund;
    if (!optionen.protokolldatei.isEmpty() && !protokoll.eintragen(QByteArray(), grund)) {
        fehlermeldung(Meldungen::protokollFehlgeschlagen(optionen.protokolldatei, grund));
        return Flashlauf::schreibfehlerStatus;
    }
    Werkbank werkbank(optionen, bild, crc, bericht, optionen.protokolldatei.isEmpty() ? nullptr : &protokoll);
    return werkbank.ausfuehren(abbruch);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("kvxflash"));
    QCoreApplication::setApplicationVersion(QStringLiteral(KVXLOADER_VERSION));
    spracheEinrichten(gewuenschteSprache(QCoreApplication::arguments()));

    QString fehler;
    if (!argumenteGueltig(argc, argv))
        return aufruffehler;
    const std::optional<Optionen> optionen = optionenLesen(QCoreApplication::arguments(), fehler);
    if (!optionen) {
        fehlermeldung(fehler + QLatin1Char('\n') + Meldungen::hilfeZeigen());
        return aufruffehler;
    }

    Crc32 crc;
    crc.CRCInit(Crc32::standardPolynomial);
    Abbruchsignal abbruch;
    Ausgabe aus;
    if (optionen->modus == Optionen::auflisten)
        return auflisten(*optionen, aus, abbruch, crc);
    // The one image every board gets, read before any port is touched.
    const Firmwarebild bild = Firmwarebild::laden(optionen->bildpfad, crc, optionen->roh);
    if (optionen->modus == Optionen::untersuchen)
        return bildinfo(*optionen, bild, aus);
    Seriennummernzaehler zaehler;
    Optionen mitSeriennummern = *optionen;
    if (bild.geladen && optionen->snFeld) {
        if (const int status = seriennummernVorbereiten(*optionen, bild, zaehler))
            return status;
        mitSeriennummern.einstellungen.snFeld = &*optionen->snFeld;
        mitSeriennummern.einstellungen.snZaehler = &zaehler;
    }
    Bericht bericht(berichtsform(*optionen), aus);
    if (optionen->modus == Optionen::beobachten)
        return beobachten(mitSeriennummern, bild, bericht, abbruch, crc);
    return flashen(mitSeriennummern, bild, bericht, abbruch, crc);
}
