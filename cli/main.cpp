// kvxflash: the command-line loader. It flashes one board or several at once
// through the same detection and upload as the window.
#include "app/version.h"
#include "bench/abbruchsignal.h"
#include "bench/ereignis.h"
#include "bench/firmwarebild.h"
#include "bench/flashlauf.h"
#include "bench/portsuche.h"
#include "bench/protokoll.h"
#include "bench/seriennummernzaehler.h"
#include "bench/werkbank.h"
#include "bench/werkbanktexte.h"
#include "cli/auflisten.h"
#include "cli/ausgabe.h"
#include "cli/bericht.h"
#include "cli/bildinfo.h"
#include "cli/meldungen.h"
#include "cli/optionen.h"
#include "cli/seitenstart.h"
#include "cli/statistik.h"
#include "cli/terminal.h"
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
        return schreibfehlerStatus;
    }
    if (zaehler.naechste() > optionen.snFeld->hoechsteNummer()) {
        fehlermeldung(Werkbanktexte::snZuGross(zaehler.naechste(), optionen.snFeld->groesse));
        return aufruffehler;
    }
    return 0;
}

// Exit status 7 when nothing worse happened but the output was lost.
int mitAusgabe(int status, const Bericht &bericht)
{
    return status == 0 && bericht.ausgabeFehlgeschlagen() ? schreibfehlerStatus : status;
}

// The views of the bench: the output, and the page when it is served.
void ansichtenAbonnieren(Ereignisstrom &strom, Bericht &bericht, Werkbankserver *seite)
{
    bericht.abonnieren(strom);
    if (seite)
        seite->abonnieren(strom);
}

int flashen(const Optionen &optionen, const Firmwarebild &bild, Bericht &bericht, Werkbankserver *seite,
            Abbruchsignal &abbruch, const Crc32 &crc)
{
    if (!bild.geladen) {
        Ergebnis abgelehnt;
        abgelehnt.art = Ergebnis::datei;
        abgelehnt.meldung = bild.meldung;
        abgelehnt.erlaeuterung = bild.erlaeuterung;
        // With -p auto no port is known yet: the refusal stands on its own.
        for (const Portangabe &port : optionen.automatisch ? QList<Portangabe>{Portangabe()} : optionen.ports)
            bericht.ergebnis(ergebnisfelder(port, abgelehnt));
        return mitAusgabe(exitStatus(abgelehnt.art), bericht);
    }

    QList<Portangabe> ports = optionen.ports;
    if (optionen.automatisch) {
        bool abgebrochen = false;
        const QList<Abfrage> abfragen = bootloaderAbfragen(usbPorts(Portfilter()), abbruch, crc, abgebrochen);
        if (abgebrochen)
            return abbruchStatus;
        ports.clear();
        for (const Abfrage &abfrage : abfragen)
            if (abfrage.ergebnis.art == Ergebnis::ok)
                ports << abfrage.port;
        if (ports.isEmpty()) {
            // Why not: a port that could not be opened says why, as a board's would.
            for (const Abfrage &abfrage : abfragen)
                if (abfrage.ergebnis.art == Ergebnis::port)
                    bericht.ergebnis(ergebnisfelder(abfrage.port, abfrage.ergebnis));
            if (abfragen.isEmpty())
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

    Ereignisstrom strom;
    ansichtenAbonnieren(strom, bericht, seite);
    Flashlauf lauf(ports, bild, optionen.einstellungen, crc, strom);
    lauf.ausfuehren(abbruch);
    return mitAusgabe(lauf.exitStatus(), bericht);
}

// Until Ctrl+C: every board plugged in is flashed once.
int beobachten(const Optionen &optionen, const Firmwarebild &bild, Bericht &bericht, Werkbankserver *seite,
               Abbruchsignal &abbruch, const Crc32 &crc)
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
        return schreibfehlerStatus;
    }
    Werkbankeinstellungen einstellungen;
    einstellungen.ports = optionen.ports;
    einstellungen.automatisch = optionen.automatisch;
    einstellungen.filter = Portfilter{optionen.usbVid, optionen.usbPid, optionen.seriennummer};
    einstellungen.protokolldatei = optionen.protokolldatei;
    einstellungen.platine = optionen.einstellungen;

    // The record is written before any view shows the result.
    Ereignisstrom strom;
    std::optional<Protokollschreiber> schreiber;
    if (!optionen.protokolldatei.isEmpty())
        schreiber.emplace(protokoll, bild.pfad, bild.sha256, strom);
    ansichtenAbonnieren(strom, bericht, seite);
    if (seite && schreiber)
        seite->protokollAnbieten(optionen.protokolldatei);
    Werkbank werkbank(einstellungen, bild, crc, strom, schreiber ? &*schreiber : nullptr);
    QObject::connect(&strom, &Ereignisstrom::ereignis, &werkbank, [&] {
        if (bericht.ausgabeFehlgeschlagen())
            werkbank.ausgabeVerloren();
    });
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
    if (optionen->modus == Optionen::statistik)
        return statistik(*optionen, aus);
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
    std::unique_ptr<Werkbankserver> seite;
    if (optionen->seite) {
        seite = seiteStarten(*optionen, fehler);
        if (!seite) {
            fehlermeldung(fehler);
            return aufruffehler;
        }
        bericht.ansage(seitenansage(*seite));
    }
    if (optionen->modus == Optionen::beobachten)
        return beobachten(mitSeriennummern, bild, bericht, seite.get(), abbruch, crc);
    return flashen(mitSeriennummern, bild, bericht, seite.get(), abbruch, crc);
}
