#include "bench/werkbank.h"

#include "core/abbruchsignal.h"
#include "bench/ereignis.h"
#include "bench/protokoll.h"
#include "bench/seriennummernzaehler.h"

#include <QDir>
#include <QJsonArray>

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

Werkbank::Werkbank(const Werkbankeinstellungen &einstellungen, const Firmwarebild &bild, const Crc32 &crc,
                   Ereignisstrom &strom, Protokollschreiber *protokoll, QObject *parent)
    : QObject(parent), m_einstellungen(einstellungen), m_bild(bild), m_crc(crc), m_strom(strom), m_protokoll(protokoll)
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
    int status = m_mittenImUpdate ? abbruchStatus : m_status;
    if (status == 0 && ((m_protokoll && !m_protokoll->fehlerfrei()) || m_ausgabeVerloren))
        status = schreibfehlerStatus;
    m_strom.senden(QStringLiteral("bench_ending"), {{QStringLiteral("status"), status}});
    return status;
}

// What the watch does, said before the first board: the image, the ports
// or the filter, the record.
void Werkbank::ansagen()
{
    QJsonObject felder{{QStringLiteral("image"), m_bild.felder()},
                       {QStringLiteral("log"), m_einstellungen.protokolldatei.isEmpty()
                                                   ? QJsonValue(QJsonValue::Null) : m_einstellungen.protokolldatei},
                       {QStringLiteral("watch"), true}};
    const Portfilter &filter = m_einstellungen.filter;
    if (m_einstellungen.automatisch) {
        felder.insert(QStringLiteral("filter"), filter.vid ? usbKennung(*filter.vid, *filter.pid) : QStringLiteral("auto"));
        if (!filter.seriennummer.isEmpty())
            felder.insert(QStringLiteral("serial"), filter.seriennummer);
    } else {
        QJsonArray ports;
        for (const Portangabe &port : m_einstellungen.ports)
            ports.append(port.name());
        felder.insert(QStringLiteral("ports"), ports);
    }
    m_strom.senden(QStringLiteral("bench_started"), felder);
}

// While a record or the output cannot be written, or once the bench's last
// serial number is given, nothing new is begun.
bool Werkbank::nimmtPlatinen() const
{
    return !m_hoertAuf && (!m_protokoll || m_protokoll->fehlerfrei()) && !m_ausgabeVerloren && nummernUebrig();
}

bool Werkbank::nummernUebrig() const
{
    const Platine::Einstellungen &platine = m_einstellungen.platine;
    return !platine.snZaehler || platine.snZaehler->naechste() <= platine.snLetzte;
}

void Werkbank::umsehen()
{
    QHash<QString, Portangabe> jetzt;
    for (const Portangabe &port : m_einstellungen.automatisch ? usbPorts(m_einstellungen.filter)
                                                              : genanntePorts(m_einstellungen.ports))
        jetzt.insert(port.schluessel(), port);

    for (auto it = m_steckplaetze.begin(); it != m_steckplaetze.end();) {
        if (it->vorhanden && !jetzt.contains(it.key()))
            m_strom.senden(QStringLiteral("port_gone"), {{QStringLiteral("port"), it->port.name()}});
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
    it->platine = new Platine(it->port, m_bild, m_einstellungen.platine, m_crc, m_strom, this);
    connect(it->platine, &Platine::fertig, this, [this, platine = it->platine] { platineFertig(platine); });
    m_strom.senden(QStringLiteral("port_taken"), it->port.felder());
    it->platine->starten();
}

void Werkbank::platineFertig(Platine *platine)
{
    // Its record was written when its result was said. A port where nothing
    // answers may be anything: it is counted, and left alone until it is
    // plugged in again.
    const Ergebnis &ergebnis = platine->ergebnis();
    m_bilanz.zaehlen(ergebnis.art);
    if (ergebnis.art == Ergebnis::abgebrochen)
        m_mittenImUpdate = m_mittenImUpdate || ergebnis.uploadBegonnen;
    else if (ergebnis.art != Ergebnis::ok && ergebnis.art != Ergebnis::nicht_gefunden && m_status == 0)
        m_status = exitStatus(ergebnis.art);
    bilanzMelden();
    if (!nummernUebrig() && !m_nummernAufgebrauchtGesagt) {
        m_nummernAufgebrauchtGesagt = true;
        m_strom.senden(QStringLiteral("sn_exhausted"),
                       {{QStringLiteral("last"), QString::number(m_einstellungen.platine.snLetzte)}});
    }

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
    // After the board's report, whose output or outbox may fail too.
    QTimer::singleShot(0, this, &Werkbank::endeWennFertig);
}

// Once no board is taken any more and none is at work, the watch ends.
void Werkbank::endeWennFertig()
{
    if (nimmtPlatinen() || m_beendet)
        return;
    for (const Steckplatz &steckplatz : std::as_const(m_steckplaetze))
        if (steckplatz.platine && steckplatz.platine->laeuft())
            return;
    // Each record that failed is tried once more.
    if (m_protokoll)
        m_protokoll->nachholen();
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

// The tally, and whether more boards are taken.
void Werkbank::bilanzMelden()
{
    QJsonObject felder = m_bilanz.felder();
    felder.insert(QStringLiteral("accepting"), nimmtPlatinen());
    m_strom.senden(QStringLiteral("tally"), felder);
}
