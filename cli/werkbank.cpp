#include "cli/werkbank.h"

#include "cli/abbruchsignal.h"
#include "cli/bericht.h"
#include "cli/flashlauf.h"
#include "cli/portsuche.h"
#include "cli/protokoll.h"

#include <QDir>
#include <QEventLoop>

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

Werkbank::Werkbank(const Optionen &optionen, const Crc32 &crc, Bericht &bericht, Protokoll *protokoll,
                   QObject *parent)
    : QObject(parent), m_optionen(optionen), m_crc(crc), m_bericht(bericht), m_protokoll(protokoll)
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
    QEventLoop schleife;
    connect(&abbruch, &Abbruchsignal::ausgeloest, this, [this, &schleife] {
        aufhoeren();
        schleife.quit();
    });
    umsehen();
    schleife.exec();
    return m_status;
}

void Werkbank::umsehen()
{
    if (m_hoertAuf)
        return;
    QHash<QString, Portangabe> jetzt;
    for (const Portangabe &port : m_optionen.automatisch ? usbPorts(m_optionen) : genanntePorts(m_optionen))
        jetzt.insert(port.geraet, port);

    for (auto it = m_steckplaetze.begin(); it != m_steckplaetze.end();) {
        it->vorhanden = jetzt.contains(it.key());
        // A board still at work notices a pulled cable itself.
        if (!it->vorhanden && !(it->platine && it->platine->laeuft())) {
            delete it->platine;
            it = m_steckplaetze.erase(it);
        } else {
            ++it;
        }
    }
    for (const Portangabe &port : std::as_const(jetzt)) {
        if (m_steckplaetze.contains(port.geraet))
            continue;
        m_steckplaetze.insert(port.geraet, Steckplatz{port});
        QTimer::singleShot(einschwingzeitMs, this, [this, geraet = port.geraet] { anstecken(geraet); });
    }
}

void Werkbank::anstecken(const QString &geraet)
{
    const auto it = m_steckplaetze.find(geraet);
    if (m_hoertAuf || it == m_steckplaetze.end() || !it->vorhanden || it->platine)
        return;
    it->platine = new Platine(it->port, m_optionen.einstellungen, m_crc, this);
    m_bericht.beobachten(it->platine);
    connect(it->platine, &Platine::fertig, this, [this, platine = it->platine] { platineFertig(platine); });
    it->platine->starten();
}

void Werkbank::platineFertig(Platine *platine)
{
    const Ergebnis &ergebnis = platine->ergebnis();
    // A port where nothing answers may be anything: it has been reported and
    // is left alone.
    if (!ergebnis.bootloaderGefunden && ergebnis.art != Ergebnis::abgebrochen)
        return;
    if (m_protokoll)
        m_protokoll->eintragen(platine->port(), ergebnis, m_optionen.einstellungen.bildpfad);
    if (ergebnis.art == Ergebnis::ok) {
        ++m_erfolgreich;
    } else if (ergebnis.art == Ergebnis::abgebrochen) {
        ++m_abgebrochen;
    } else {
        ++m_fehlgeschlagen;
        if (m_status == 0)
            m_status = exitStatus(ergebnis.art);
    }
    if (!m_hoertAuf)
        m_bericht.notiz(bilanz());
    // Its port may have gone while it finished.
    QTimer::singleShot(0, this, &Werkbank::umsehen);
}

void Werkbank::aufhoeren()
{
    m_hoertAuf = true;
    for (const Steckplatz &steckplatz : std::as_const(m_steckplaetze))
        if (steckplatz.platine)
            steckplatz.platine->abbrechen();
    m_bericht.zusammenfassung(bilanz());
}

// "12 erfolgreich, 1 fehlgeschlagen"
QString Werkbank::bilanz() const
{
    QString text = QStringLiteral("%1 erfolgreich, %2 fehlgeschlagen").arg(m_erfolgreich).arg(m_fehlgeschlagen);
    if (m_abgebrochen > 0)
        text += QStringLiteral(", %1 abgebrochen").arg(m_abgebrochen);
    return text;
}
