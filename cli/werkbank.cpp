#include "cli/werkbank.h"

#include "core/abbruchsignal.h"
#include "cli/ausgabe.h"
#include "cli/bericht.h"
#include "cli/flashlauf.h"
#include "cli/meldungen.h"
#include "cli/portsuche.h"
#include "cli/protokoll.h"

#include <QDir>
#include <QFileInfo>

namespace {

// A new USB adapter needs a moment before its port takes settings.
constexpr int einschwingzeitMs = 300;
// Changes in /dev and the port folder are noticed at once, so asking the
// system for its ports now and then only catches what no notification
// reports. Windows has no device files to watch: there it is the only way.
#ifdef Q_OS_WIN
constexpr int abfrageMs = 1000;
#else
constexpr int abfrageMs = 10000;
#endif

} // namespace

Werkbank::Werkbank(const Optionen &optionen, const Firmwarebild &bild, const Crc32 &crc, Bericht &bericht,
                   const Protokoll *protokoll, QObject *parent)
    : QObject(parent), m_optionen(optionen), m_bild(bild), m_crc(crc), m_bericht(bericht), m_protokoll(protokoll)
{
    for (const QString &ordner : {QStringLiteral("/dev"), qEnvironmentVariable("KVXLOADER_PORT_DIR")})
        if (!ordner.isEmpty() && QDir(ordner).exists())
            m_waechter.addPath(ordner);
    connect(&m_waechter, &QFileSystemWatcher::directoryChanged, this, &Werkbank::umsehen);
    connect(&m_abfrage, &QTimer::timeout, this, &Werkbank::umsehen);
    m_abfrage.start(abfrageMs);
}

int Werkbank::ausfuehren(Abbruchsignal &abbruch)
{
    connect(&abbruch, &Abbruchsignal::ausgeloest, this, &Werkbank::aufhoeren);
    ansagen();
    umsehen();
    // The output may have failed already: then there is nothing to wait for.
    endeWennFertig();
    if (!m_beendet)
        m_schleife.exec();
    if (m_mittenImUpdate)
        return Flashlauf::abbruchStatus;
    if (m_status != 0)
        return m_status;
    return m_nichtEingetragen.isEmpty() && !m_bericht.ausgabeFehlgeschlagen() ? 0 : Flashlauf::schreibfehlerStatus;
}

// What the watch does, said before the first board: the image, the ports,
// the record.
void Werkbank::ansagen()
{
    m_bericht.ansage(Meldungen::watchAbbild(QFileInfo(m_bild.pfad).fileName(), Meldungen::seiten(m_bild.seiten()),
                                            QString::fromLatin1(m_bild.crc.toHex())));
    QStringList filter;
    if (m_optionen.usbVid)
        filter << QStringLiteral("USB ") + usbKennung(*m_optionen.usbVid, *m_optionen.usbPid);
    if (!m_optionen.seriennummer.isEmpty())
        filter << Meldungen::usbSeriennummer(m_optionen.seriennummer);
    QStringList genannt;
    for (const Portangabe &port : m_optionen.ports)
        genannt << port.anzeigename();
    m_bericht.ansage(m_optionen.automatisch ? Meldungen::watchAllePorts(filter.join(QStringLiteral(", ")))
                                            : Meldungen::watchPorts(genannt.join(QStringLiteral(", "))));
    m_bericht.ansage(m_protokoll ? Meldungen::watchProtokoll(m_protokoll->pfad()) : Meldungen::watchOhneProtokoll());
    m_bericht.ansage(Meldungen::wartet());
}

// While a record or the output cannot be written, nothing new is begun.
bool Werkbank::nimmtPlatinen() const
{
    return !m_hoertAuf && m_nichtEingetragen.isEmpty() && !m_bericht.ausgabeFehlgeschlagen();
}

void Werkbank::umsehen()
{
    QHash<QString, Portangabe> jetzt;
    for (const Portangabe &port : m_optionen.automatisch ? usbPorts(m_optionen) : genanntePorts(m_optionen))
        jetzt.insert(port.schluessel(), port);

    for (auto it = m_steckplaetze.begin(); it != m_steckplaetze.end();) {
        it->vorhanden = jetzt.contains(it.key());
        const bool amWerk = it->platine && it->platine->laeuft();
        it->warWeg = it->warWeg || (!it->vorhanden && amWerk);
        // A board still at work notices a pulled cable itself.
        if (!it->vorhanden && !amWerk) {
            delete it->platine;
            it = m_steckplaetze.erase(it);
        } else {
            ++it;
        }
    }
    if (!nimmtPlatinen())
        return;
    for (auto it = jetzt.cbegin(); it != jetzt.cend(); ++it) {
        if (m_steckplaetze.contains(it.key()))
            continue;
        m_steckplaetze.insert(it.key(), Steckplatz{it.value()});
        QTimer::singleShot(einschwingzeitMs, this, [this, schluessel = it.key()] { anstecken(schluessel); });
    }
}

void Werkbank::anstecken(const QString &schluessel)
{
    const auto it = m_steckplaetze.find(schluessel);
    if (!nimmtPlatinen() || it == m_steckplaetze.end() || !it->vorhanden || it->platine)
        return;
    it->platine = new Platine(it->port, m_bild, m_optionen.einstellungen, m_crc, this);
    // The record first, so that a board reported done is one recorded.
    connect(it->platine, &Platine::fertig, this, [this, platine = it->platine] { platineFertig(platine); });
    m_bericht.beobachten(it->platine);
    it->platine->starten();
}

void Werkbank::platineFertig(Platine *platine)
{
    eintragen(platine);
    const Ergebnis &ergebnis = platine->ergebnis();
    switch (ergebnis.art) {
    case Ergebnis::ok:
        ++m_erfolgreich;
        break;
    // A port where nothing answers may be anything: it is counted, and left
    // alone until it is plugged in again.
    case Ergebnis::nicht_gefunden:
        ++m_ohneBootloader;
        break;
    case Ergebnis::abgebrochen:
        ++m_abgebrochen;
        m_mittenImUpdate = m_mittenImUpdate || ergebnis.uploadBegonnen;
        break;
    default:
        ++m_fehlgeschlagen;
        if (m_status == 0)
            m_status = exitStatus(ergebnis.art);
    }
    if (nimmtPlatinen())
        m_bericht.notiz(bilanz());

    // Its port went while it finished, or the board that answered went away
    // (perhaps back before the port was looked at again): whatever is there
    // now is another board.
    const bool weg = ergebnis.bootloaderGefunden && ergebnis.verbindungVerloren;
    for (auto it = m_steckplaetze.begin(); it != m_steckplaetze.end(); ++it) {
        if (it->platine == platine && (it->warWeg || weg)) {
            platine->deleteLater();
            m_steckplaetze.erase(it);
            break;
        }
    }
    QTimer::singleShot(0, this, &Werkbank::umsehen);
    endeWennFertig();
}

void Werkbank::eintragen(const Platine *platine)
{
    if (!m_protokoll)
        return;
    const QByteArray zeile = Protokoll::zeile(platine->port(), platine->ergebnis(), m_bild);
    QString grund;
    if (m_protokoll->eintragen(zeile, grund))
        return;
    if (m_nichtEingetragen.isEmpty())
        fehlermeldung(Meldungen::protokollFehlgeschlagen(m_protokoll->pfad(), grund) + QLatin1Char(' ')
                      + Meldungen::keineWeiterenPlatinen());
    m_nichtEingetragen << zeile;
}

// Once no board is taken any more and none is at work, the watch ends.
void Werkbank::endeWennFertig()
{
    if (nimmtPlatinen() || m_beendet)
        return;
    for (const Steckplatz &steckplatz : std::as_const(m_steckplaetze))
        if (steckplatz.platine && steckplatz.platine->laeuft())
            return;
    // Each record that failed is tried once more; what still fails goes
    // to standard error, so that it is not lost.
    for (const QByteArray &zeile : std::as_const(m_nichtEingetragen)) {
        QString grund;
        if (!m_protokoll->eintragen(zeile, grund))
            fehlermeldung(Meldungen::protokollzeileVerloren(QString::fromUtf8(zeile.chopped(1))));
    }
    m_bericht.ansage(bilanz());
    m_beendet = true;
    m_schleife.quit();
}

void Werkbank::aufhoeren()
{
    if (m_hoertAuf)
        return;
    m_hoertAuf = true;
    for (const Steckplatz &steckplatz : std::as_const(m_steckplaetze))
        if (steckplatz.platine)
            steckplatz.platine->abbrechen();
    endeWennFertig();
}

// "12 erfolgreich, 1 fehlgeschlagen, 2 ohne Bootloader"
QString Werkbank::bilanz() const
{
    return Meldungen::bilanz(m_erfolgreich, m_fehlgeschlagen, m_ohneBootloader, m_abgebrochen);
}
