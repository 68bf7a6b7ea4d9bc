// kvxflash: the command-line loader. It flashes one board or several at once
// through the same detection and upload as the window.
#include "app/version.h"
#include "bench/ereignis.h"
#include "bench/firmwarebild.h"
#include "bench/flashlauf.h"
#include "bench/portsuche.h"
#include "bench/protokoll.h"
#include "bench/seriennummernzaehler.h"
#include "bench/werkbank.h"
#include "bench/werkbanktexte.h"
#include "broker/brokerbote.h"
#include "cli/auflisten.h"
#include "cli/ausgabe.h"
#include "cli/bericht.h"
#include "cli/bildinfo.h"
#include "cli/meldungen.h"
#include "cli/optionen.h"
#include "cli/seitenstart.h"
#include "cli/statistik.h"
#include "cli/terminal.h"
#include "core/abbruchsignal.h"
#include "core/sprache.h"
#include "core/texte.h"
#include "update/crc32.h"

#include <QCoreApplication>
#include <QFile>

#include <memory>

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

// The serial number's field must lie in the image and hold no data (unless
// it may be overwritten), the counter be free, and its next number fit the
// field and the bench's range, before any board is touched.
int seriennummernVorbereiten(const Optionen &optionen, const Firmwarebild &bild, Seriennummernzaehler &zaehler)
{
    const Seriennummernfeld &feld = *optionen.snFeld;
    if (!feld.passtIn(bild.bild.size())) {
        fehlermeldung(Meldungen::snAusserhalb(bild.bild.size()));
        return aufruffehler;
    }
    if (!optionen.snUeberschreiben && !feld.frei(bild.bild)) {
        fehlermeldung(Meldungen::snFeldBelegt(feld.adresse, feld.groesse,
                                              QString::fromLatin1(bild.bild.mid(feld.adresse, feld.groesse).toHex())));
        return exitStatus(Ergebnis::datei);
    }
    QString fehler;
    if (!zaehler.oeffnen(optionen.snZaehler, optionen.snErste, fehler)) {
        fehlermeldung(fehler);
        return schreibfehlerStatus;
    }
    if (zaehler.naechste() > feld.hoechsteNummer()) {
        fehlermeldung(Werkbanktexte::snZuGross(zaehler.naechste(), feld.groesse));
        return aufruffehler;
    }
    if (zaehler.naechste() > optionen.einstellungen.snLetzte) {
        fehlermeldung(Werkbanktexte::snNachDerLetzten(zaehler.naechste(), optionen.einstellungen.snLetzte));
        return exitStatus(Ergebnis::datei);
    }
    return 0;
}

// Everything that reads the bench's events besides its log: the output, and
// the page and the broker when they are asked for.
struct Ansichten
{
    Bericht &bericht;
    Werkbankserver *seite = nullptr;
    Brokerbote *bote = nullptr;

    // The outbox first: a record is on the disk before any view shows it.
    void abonnieren(Ereignisstrom &strom) const
    {
        if (bote)
            bote->abonnieren(strom);
        bericht.abonnieren(strom);
        if (seite)
            seite->abonnieren(strom);
    }
    // A record that did not reach standard output or the outbox.
    bool ausgabeVerloren() const { return bericht.ausgabeFehlgeschlagen() || (bote && bote->postausgangVerloren()); }
    // Exit status 7 when nothing worse happened but output was lost.
    int mitAusgabe(int status) const { return status == 0 && ausgabeVerloren() ? schreibfehlerStatus : status; }
};

int flashen(const Optionen &optionen, const Firmwarebild &bild, const Ansichten &ansichten, Abbruchsignal &abbruch,
            const Crc32 &crc)
{
    Ereignisstrom strom;
    ansichten.abonnieren(strom);
    if (!bild.geladen) {
        Ergebnis abgelehnt;
        abgelehnt.art = Ergebnis::datei;
        abgelehnt.meldung = bild.meldung;
        abgelehnt.erlaeuterung = bild.erlaeuterung;
        // With -p auto no port is known yet: the refusal stands on its own.
        for (const Portangabe &port : optionen.automatisch ? QList<Portangabe>{Portangabe()} : optionen.ports)
            strom.senden(QStringLiteral("result"), ergebnisfelder(port, abgelehnt));
        return ansichten.mitAusgabe(exitStatus(abgelehnt.art));
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
                    strom.senden(QStringLiteral("result"), ergebnisfelder(abfrage.port, abfrage.ergebnis));
            if (abfragen.isEmpty())
                ansichten.bericht.ansage(Meldungen::keineUsbPorts());
            ansichten.bericht.ansage(Texte::keinBootloaderGefunden());
            return ansichten.mitAusgabe(exitStatus(Ergebnis::nicht_gefunden));
        }
        if (optionen.nurEine && ports.size() > 1) {
            QStringList namen;
            for (const Portangabe &port : std::as_const(ports))
                namen << port.anzeigename();
            fehlermeldung(Meldungen::mehrerePlatinen(namen.join(QStringLiteral(", "))));
            return aufruffehler;
        }
    }

    Flashlauf lauf(ports, bild, optionen.einstellungen, crc, strom);
    lauf.ausfuehren(abbruch);
    return ansichten.mitAusgabe(lauf.exitStatus());
}

// Until Ctrl+C: every board plugged in is flashed once.
int beobachten(const Optionen &optionen, const Firmwarebild &bild, const Ansichten &ansichten, Abbruchsignal &abbruch,
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
    ansichten.abonnieren(strom);
    if (ansichten.seite && schreiber)
        ansichten.seite->protokollAnbieten(optionen.protokolldatei);
    Werkbank werkbank(einstellungen, bild, crc, strom, schreiber ? &*schreiber : nullptr);
    QObject::connect(&strom, &Ereignisstrom::ereignis, &werkbank, [&] {
        if (ansichten.ausgabeVerloren())
            werkbank.ausgabeVerloren();
    });
    return werkbank.ausfuehren(abbruch);
}

// The broker's messenger, with its outbox open before any board is touched.
std::unique_ptr<Brokerbote> brokerStarten(const Optionen &optionen, const Firmwarebild &bild, Bericht &bericht,
                                          int &status)
{
    auto bote = std::make_unique<Brokerbote>(*optionen.broker);
    QString grund;
    if (!bote->starten(bild.felder(), grund)) {
        fehlermeldung(Meldungen::postausgangFehlgeschlagen(optionen.broker->postausgang, grund));
        status = schreibfehlerStatus;
        return nullptr;
    }
    QObject::connect(bote.get(), &Brokerbote::meldung, &bericht, &Bericht::ansage);
    QObject::connect(bote.get(), &Brokerbote::verloren, bote.get(), [pfad = optionen.broker->postausgang](const QString &grund) {
        fehlermeldung(Meldungen::postausgangFehlgeschlagen(pfad, grund));
    });
    bericht.ansage(Meldungen::brokerZiel(bote->ziel(), optionen.broker->postausgang));
    return bote;
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
    Firmwarebild bild = Firmwarebild::laden(optionen->bildpfad, crc, optionen->roh);
    if (!optionen->erwartetesSha256.isEmpty())
        bild.sha256Verlangen(optionen->erwartetesSha256);
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
    int status = 0;
    std::unique_ptr<Brokerbote> bote;
    if (optionen->broker && !(bote = brokerStarten(*optionen, bild, bericht, status)))
        return status;
    const Ansichten ansichten{bericht, seite.get(), bote.get()};
    status = optionen->modus == Optionen::beobachten ? beobachten(mitSeriennummern, bild, ansichten, abbruch, crc)
                                                     : flashen(mitSeriennummern, bild, ansichten, abbruch, crc);
    // What the broker has not taken in time stays in the outbox for the next
    // start: the records are kept, so the status stays what it was.
    if (bote) {
        if (const int rest = bote->beenden())
            bericht.ansage(Meldungen::imPostausgang(rest, bote->postausgang().pfad()));
    }
    return status;
}
