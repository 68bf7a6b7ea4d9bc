#include "broker/brokerbote.h"

#include "app/version.h"
#include "bench/ereignis.h"
#include "bench/ergebnis.h"

#include <QDateTime>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QJsonDocument>
#include <QTimer>
#include <QUuid>

#include <mosquitto.h>

#include <cerrno>

namespace {

// Records sent and not yet acknowledged at one time: enough to fill the
// line, few enough that a long outbox is not read into memory.
constexpr int fenster = 100;
constexpr int keepaliveSekunden = 30;
constexpr int laengstePauseSekunden = 30;

QString grundFuer(int fehler)
{
    return fehler == MOSQ_ERR_ERRNO ? qt_error_string(errno) : QString::fromUtf8(mosquitto_strerror(fehler));
}

} // namespace

Brokerbote::Brokerbote(const Brokereinstellungen &einstellungen, QObject *parent)
    : QObject(parent), m_einstellungen(einstellungen), m_postausgang(einstellungen.postausgang)
{
    mosquitto_lib_init();
}

Brokerbote::~Brokerbote()
{
    if (m_netz.joinable()) {
        m_halt = true;
        m_wecker.notify_all();
        m_netz.join();
    }
    mosquitto_destroy(m_mosq);
    mosquitto_lib_cleanup();
}

QString Brokerbote::ziel() const
{
    const Brokeradresse &a = m_einstellungen.adresse;
    const QString host = a.host.contains(QLatin1Char(':')) ? QLatin1Char('[') + a.host + QLatin1Char(']') : a.host;
    return QStringLiteral("%1://%2:%3/%4/%5").arg(a.tls ? QStringLiteral("mqtts") : QStringLiteral("mqtt"), host)
        .arg(a.port).arg(a.praefix, m_einstellungen.werkbank);
}

QByteArray Brokerbote::thema(const char *name) const
{
    return (m_einstellungen.adresse.praefix + QLatin1Char('/') + m_einstellungen.werkbank + QLatin1Char('/')).toUtf8()
         + name;
}

bool Brokerbote::starten(const QJsonObject &abbild, QString &fehler)
{
    if (!m_postausgang.oeffnen(fehler))
        return false;
    m_abbild = abbild;
    m_bilanz = Bilanz().felder();
    m_beginn = zeitMitVersatz(QDateTime::currentDateTime(), Qt::ISODateWithMs);
    m_mosq = mosquitto_new(nullptr, true, this);
    if (!m_mosq) {
        fehler = qt_error_string(ENOMEM);
        return false;
    }
    const Brokeradresse &a = m_einstellungen.adresse;
    const QByteArray benutzer = a.benutzer.toUtf8();
    const QByteArray passwort = m_einstellungen.passwort.toUtf8();
    const QByteArray ca = QFile::encodeName(m_einstellungen.caDatei);
    const QByteArray abgemeldet = this->abgemeldet();
    int rc = mosquitto_will_set(m_mosq, thema("status").constData(), int(abgemeldet.size()), abgemeldet.constData(),
                                1, true);
    if (rc == MOSQ_ERR_SUCCESS && (!benutzer.isEmpty() || !passwort.isEmpty()))
        rc = mosquitto_username_pw_set(m_mosq, benutzer.isEmpty() ? nullptr : benutzer.constData(),
                                       passwort.isEmpty() ? nullptr : passwort.constData());
    if (rc == MOSQ_ERR_SUCCESS && a.tls)
        rc = mosquitto_tls_set(m_mosq, ca.constData(), nullptr, nullptr, nullptr, nullptr);
    if (rc == MOSQ_ERR_SUCCESS)
        rc = mosquitto_threaded_set(m_mosq, true);
    if (rc != MOSQ_ERR_SUCCESS) {
        fehler = grundFuer(rc);
        return false;
    }
    mosquitto_connect_callback_set(m_mosq, &Brokerbote::beiVerbindung);
    mosquitto_disconnect_callback_set(m_mosq, &Brokerbote::beiTrennung);
    mosquitto_publish_callback_set(m_mosq, &Brokerbote::beiBestaetigung);
    m_netz = std::thread(&Brokerbote::netzschleife, this);
    return true;
}

// Connects, serves the connection while it lasts, and after a failure waits
// 1, 2, 4 … up to 30 seconds before the next attempt; 1 again after a
// connection that worked.
void Brokerbote::netzschleife()
{
    const QByteArray host = m_einstellungen.adresse.host.toUtf8();
    int pause = 1;
    while (!m_halt) {
        int rc = mosquitto_connect_async(m_mosq, host.constData(), m_einstellungen.adresse.port, keepaliveSekunden);
        std::optional<QDeadlineTimer> nachfrist;
        while (rc == MOSQ_ERR_SUCCESS) {
            rc = mosquitto_loop(m_mosq, 200, 1);
            // On the way out, the DISCONNECT and what is queued before it
            // still go out, but a broker that does not answer gets a second.
            if (m_halt && !nachfrist)
                nachfrist = QDeadlineTimer(1000);
            if (m_halt && (!m_sitzung || nachfrist->hasExpired()))
                break;
        }
        if (m_sitzung.exchange(false))
            pause = 1;
        if (m_halt)
            break;
        QMetaObject::invokeMethod(this, [this, grund = grundFuer(rc)] {
            gestoert(tr("Broker nicht erreichbar: %1 – Einträge werden aufbewahrt (%2)")
                         .arg(grund).arg(m_postausgang.wartende()));
        }, Qt::QueuedConnection);
        std::unique_lock<std::mutex> sperre(m_warten);
        m_wecker.wait_for(sperre, std::chrono::seconds(pause), [this] { return m_halt.load(); });
        pause = std::min(pause * 2, laengstePauseSekunden);
    }
}

void Brokerbote::beiVerbindung(mosquitto *, void *bote, int antwort)
{
    auto *self = static_cast<Brokerbote *>(bote);
    if (antwort == 0) {
        self->m_sitzung = true;
        QMetaObject::invokeMethod(self, [self] { self->verbunden(); }, Qt::QueuedConnection);
        return;
    }
    QMetaObject::invokeMethod(self, [self, grund = QString::fromUtf8(mosquitto_connack_string(antwort))] {
        self->gestoert(tr("Broker lehnt die Anmeldung ab: %1 – Einträge werden aufbewahrt (%2)")
                           .arg(grund).arg(self->m_postausgang.wartende()));
    }, Qt::QueuedConnection);
}

void Brokerbote::beiTrennung(mosquitto *, void *bote, int)
{
    static_cast<Brokerbote *>(bote)->m_sitzung = false;
}

void Brokerbote::beiBestaetigung(mosquitto *, void *bote, int mid)
{
    auto *self = static_cast<Brokerbote *>(bote);
    QMetaObject::invokeMethod(self, [self, mid] { self->bestaetigt(mid); }, Qt::QueuedConnection);
}

// The outbox goes first, from its oldest record: what was out when the last
// connection broke is sent again.
void Brokerbote::verbunden()
{
    m_verbunden = true;
    m_gestoert = false;
    m_unterwegs.clear();
    m_lesestelle = 0;
    statusSenden(status());
    senden();
}

void Brokerbote::gestoert(const QString &meldungstext)
{
    m_verbunden = false;
    m_unterwegs.clear();
    m_statusMid = -1;
    if (!m_gestoert)
        emit meldung(meldungstext);
    m_gestoert = true;
}

void Brokerbote::bestaetigt(int mid)
{
    if (mid == m_statusMid) {
        m_statusMid = -1;
    } else if (const auto it = m_unterwegs.constFind(mid); it != m_unterwegs.cend()) {
        m_postausgang.bestaetigen(*it);
        m_unterwegs.erase(it);
        // An outbox with nothing waiting has been emptied.
        if (m_postausgang.wartende() == 0)
            m_lesestelle = 0;
        senden();
    }
    if (m_endschleife && m_postausgang.wartende() == 0 && m_statusMid < 0)
        m_endschleife->quit();
}

void Brokerbote::senden()
{
    const QByteArray rekord = thema("record");
    while (m_verbunden && m_unterwegs.size() < fenster) {
        const std::optional<Postausgang::Eintrag> eintrag = m_postausgang.naechster(m_lesestelle);
        int mid = 0;
        if (!eintrag
            || mosquitto_publish(m_mosq, &mid, rekord.constData(), int(eintrag->text.size()), eintrag->text.constData(),
                                 1, false) != MOSQ_ERR_SUCCESS)
            return;
        m_unterwegs.insert(mid, eintrag->stelle);
        m_lesestelle = eintrag->danach;
    }
}

bool Brokerbote::aufnehmen(QJsonObject ergebnis, QString &fehler)
{
    ergebnis.insert(QStringLiteral("bench"), m_einstellungen.werkbank);
    if (!ergebnis.contains(QStringLiteral("time")))
        ergebnis.insert(QStringLiteral("time"), zeitMitVersatz(QDateTime::currentDateTime(), Qt::ISODateWithMs));
    // Given once, here: a record sent again keeps it.
    ergebnis.insert(QStringLiteral("id"), QUuid::createUuid().toString(QUuid::WithoutBraces));
    if (!m_postausgang.ablegen(QJsonDocument(ergebnis).toJson(QJsonDocument::Compact), fehler))
        return false;
    senden();
    return true;
}

void Brokerbote::abonnieren(Ereignisstrom &strom)
{
    connect(&strom, &Ereignisstrom::ereignis, this, &Brokerbote::ereignis);
}

void Brokerbote::ereignis(const Ereignis &e)
{
    if (e.typ == QStringLiteral("result") && !m_postausgangVerloren) {
        QJsonObject ergebnis = e.felder;
        ergebnis.remove(QStringLiteral("upload_begun"));
        ergebnis.insert(QStringLiteral("time"), e.alsJson().value(QStringLiteral("time")));
        QString grund;
        if (!aufnehmen(ergebnis, grund)) {
            m_postausgangVerloren = true;
            emit verloren(grund);
        }
    } else if (e.typ == QStringLiteral("tally")) {
        m_bilanz = e.felder;
        m_bilanz.remove(QStringLiteral("accepting"));
        statusSenden(status());
    }
}

// The last will, and the status at a clean end.
QByteArray Brokerbote::abgemeldet() const
{
    return QJsonDocument(QJsonObject{{QStringLiteral("state"), QStringLiteral("offline")},
                                     {QStringLiteral("bench"), m_einstellungen.werkbank}})
        .toJson(QJsonDocument::Compact);
}

QByteArray Brokerbote::status() const
{
    return QJsonDocument(QJsonObject{{QStringLiteral("state"), QStringLiteral("online")},
                                     {QStringLiteral("bench"), m_einstellungen.werkbank},
                                     {QStringLiteral("image"), m_abbild},
                                     {QStringLiteral("tally"), m_bilanz},
                                     {QStringLiteral("started"), m_beginn},
                                     {QStringLiteral("version"), QStringLiteral(KVXLOADER_VERSION)},
                                     {QStringLiteral("outbox"), m_postausgang.wartende()}})
        .toJson(QJsonDocument::Compact);
}

void Brokerbote::statusSenden(const QByteArray &zustand)
{
    int mid = 0;
    if (m_verbunden
        && mosquitto_publish(m_mosq, &mid, thema("status").constData(), int(zustand.size()), zustand.constData(), 1,
                             true) == MOSQ_ERR_SUCCESS)
        m_statusMid = mid;
}

int Brokerbote::beenden()
{
    if (!m_netz.joinable())
        return m_postausgang.wartende();
    QEventLoop schleife;
    QTimer frist;
    frist.setSingleShot(true);
    connect(&frist, &QTimer::timeout, &schleife, &QEventLoop::quit);
    frist.start(m_einstellungen.warteSekunden * 1000);
    m_endschleife = &schleife;
    if (m_postausgang.wartende() > 0 || m_statusMid >= 0)
        schleife.exec();
    statusSenden(abgemeldet());
    if (m_statusMid >= 0 && frist.isActive())
        schleife.exec();
    m_endschleife = nullptr;
    // A clean end: the broker keeps "offline" and drops the last will.
    mosquitto_disconnect(m_mosq);
    m_halt = true;
    m_wecker.notify_all();
    m_netz.join();
    return m_postausgang.wartende();
}
