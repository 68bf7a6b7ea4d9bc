#pragma once

#include "broker/brokeradresse.h"
#include "broker/postausgang.h"

#include <QCoreApplication>
#include <QHash>
#include <QJsonObject>
#include <QObject>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

struct Ereignis;
class Ereignisstrom;
struct mosquitto;
class QEventLoop;

// Takes the bench's results to an MQTT broker: each one into the outbox
// first, then published with QoS 1 to PREFIX/BENCH/record, and out of the
// outbox only once the broker has acknowledged it. The bench's status is
// kept retained on PREFIX/BENCH/status, "offline" by the last will.
//
// The network runs on a thread of its own (connect, read, write, wait
// before the next attempt), so that a broker that is slow or away never
// holds up a board. Everything else, the outbox above all, stays on the
// thread of the event loop: the network thread only reports there.
class Brokerbote : public QObject
{
    Q_OBJECT
public:
    explicit Brokerbote(const Brokereinstellungen &einstellungen, QObject *parent = nullptr);
    ~Brokerbote() override;

    // Opens the outbox and begins to connect. `abbild` is the image's
    // identity for the status. False when the outbox cannot be written.
    bool starten(const QJsonObject &abbild, QString &fehler);
    // Takes every result of the bench's stream as a record, and keeps the
    // status's tally with the bench's.
    void abonnieren(Ereignisstrom &strom);
    // A board's result, as kvxflash --json gives it: into the outbox, then
    // on its way. False when it could not be written to the outbox.
    bool aufnehmen(QJsonObject ergebnis, QString &fehler);
    // Waits at most --mqtt-wait for the records still out, says "offline"
    // and disconnects. Gives the number of records left in the outbox.
    int beenden();
    // Whether a record could not be written to the outbox: from then on no
    // record is taken, as with a log that cannot be written.
    bool postausgangVerloren() const { return m_postausgangVerloren; }

    const Postausgang &postausgang() const { return m_postausgang; }
    QString ziel() const;

signals:
    // A word for the operator: the broker is away, or refused the login.
    void meldung(const QString &text);
    // The outbox could not take a record, and why.
    void verloren(const QString &grund);

private:
    // On the network thread.
    void netzschleife();
    static void beiVerbindung(mosquitto *, void *bote, int antwort);
    static void beiTrennung(mosquitto *, void *bote, int grund);
    static void beiBestaetigung(mosquitto *, void *bote, int mid);

    // On the event loop's thread.
    void ereignis(const Ereignis &ereignis);
    void verbunden();
    void gestoert(const QString &meldungstext);
    void bestaetigt(int mid);
    void senden();
    void statusSenden(const QByteArray &zustand);
    QByteArray status() const;
    QByteArray abgemeldet() const;
    QByteArray thema(const char *name) const;

    const Brokereinstellungen m_einstellungen;
    Postausgang m_postausgang;
    mosquitto *m_mosq = nullptr;
    std::thread m_netz;
    std::mutex m_warten;
    std::condition_variable m_wecker;
    std::atomic<bool> m_halt{false};
    std::atomic<bool> m_sitzung{false};  // the broker took the login

    bool m_verbunden = false;
    bool m_gestoert = false;             // said once until the broker is back
    qint64 m_lesestelle = 0;             // the outbox's next record to send
    QHash<int, qint64> m_unterwegs;      // sent and not yet acknowledged: mid → record
    int m_statusMid = -1;
    QEventLoop *m_endschleife = nullptr;
    QJsonObject m_abbild;
    QString m_beginn;
    QJsonObject m_bilanz;
    bool m_postausgangVerloren = false;
};
