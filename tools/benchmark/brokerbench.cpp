#include "brokerbench.h"

#include "spread.h"
#include "broker/brokerbote.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>

#include <csignal>
#include <cstdio>
#include <sys/wait.h>

namespace {

double residentMiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    return 0;
}

Brokereinstellungen settings(int port, const QString &outbox)
{
    Brokereinstellungen e;
    e.adresse.host = QStringLiteral("127.0.0.1");
    e.adresse.port = port;
    e.postausgang = outbox;
    e.werkbank = QStringLiteral("kvxbench");
    e.warteSekunden = 0;
    return e;
}

QJsonObject record(int i)
{
    return QJsonObject{{QStringLiteral("result"), QStringLiteral("ok")}, {QStringLiteral("port"), QStringLiteral("COM1")},
                       {QStringLiteral("pages"), 15}, {QStringLiteral("seconds"), 10.7 + i % 7},
                       {QStringLiteral("crc"), QStringLiteral("0badcafe")},
                       {QStringLiteral("sha256"), QString(64, QLatin1Char('a'))}};
}

// Runs the event loop until the outbox is empty; false after `seconds`.
bool drain(const Brokerbote &bote, double seconds, double *peakMiB = nullptr)
{
    QElapsedTimer clock;
    clock.start();
    while (bote.postausgang().wartende() > 0 && clock.elapsed() < seconds * 1000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        if (peakMiB)
            *peakMiB = std::max(*peakMiB, residentMiB());
    }
    return bote.postausgang().wartende() == 0;
}

} // namespace

Brokerprozess::Brokerprozess()
{
    const QString mosquitto = QStandardPaths::findExecutable(QStringLiteral("mosquitto"), {"/usr/sbin", "/usr/bin"});
    QTcpServer free;
    if (mosquitto.isEmpty() || !free.listen(QHostAddress::LocalHost))
        return;
    m_port = free.serverPort();
    free.close();
    QProcess::startDetached(mosquitto, {QStringLiteral("-p"), QString::number(m_port)}, QString(), &m_pid);
    QTcpSocket probe;
    for (int i = 0; i < 50 && probe.state() != QAbstractSocket::ConnectedState; ++i) {
        probe.connectToHost(QStringLiteral("127.0.0.1"), quint16(m_port));
        if (!probe.waitForConnected(200))
            QThread::msleep(100);
    }
}

Brokerprozess::~Brokerprozess()
{
    if (m_pid > 0)
        ::kill(pid_t(m_pid), SIGTERM);
}

void runBrokerCases(const QString &dir, int repeats)
{
    std::fputs("kvxbench: records to the broker\n", stderr);
    const QString outbox = dir + QStringLiteral("/bench.outbox");
    std::vector<double> latencyMs;
    {
        Brokerprozess broker;
        if (broker.port() == 0) {
            std::puts("\nmosquitto is not installed: no broker figures.");
            return;
        }
        Brokerbote bote(settings(broker.port(), outbox));
        QString error;
        if (!bote.starten({}, error))
            throw std::runtime_error(error.toStdString());
        drain(bote, 5);
        QThread::msleep(500);
        QCoreApplication::processEvents();
        for (int i = 0; i < 100 * repeats; ++i) {
            QElapsedTimer clock;
            clock.start();
            bote.aufnehmen(record(i), error);
            if (!drain(bote, 5))
                throw std::runtime_error("the broker did not acknowledge a record");
            latencyMs.push_back(double(clock.nsecsElapsed()) / 1e6);
        }
        bote.beenden();
    }

    // The broker away: 10,000 records queue up, each written durably.
    constexpr int queued = 10000;
    QElapsedTimer writing;
    writing.start();
    {
        Brokerbote away(settings(1, outbox));
        QString error;
        away.starten({}, error);
        for (int i = 0; i < queued; ++i)
            if (!away.aufnehmen(record(i), error))
                throw std::runtime_error(error.toStdString());
        away.beenden();
    }
    const double writeSeconds = double(writing.nsecsElapsed()) / 1e9;
    const double outboxMiB = double(QFile(outbox).size()) / (1 << 20);
    Brokerprozess broker;
    const double before = residentMiB();
    double peak = before;
    QElapsedTimer delivery;
    delivery.start();
    Brokerbote back(settings(broker.port(), outbox));
    QString error;
    back.starten({}, error);
    const bool all = drain(back, 120, &peak);
    const double deliverySeconds = double(delivery.nsecsElapsed()) / 1e9;
    back.beenden();

    const Spread l = spreadOf(latencyMs);
    std::printf("\nRecords to mosquitto on loopback (QoS 1):\n"
                "  record taken (outbox written, fdatasync) to the broker's PUBACK: %.1f ms [%.1f..%.1f], %zu records\n"
                "  %d records queued while the broker was away: written in %.1f s, outbox %.1f MiB\n"
                "  after its return: %s in %.2f s; resident memory %.1f MiB before, %.1f MiB at most meanwhile\n",
                l.median, l.min, l.max, latencyMs.size(), queued, writeSeconds, outboxMiB,
                all ? "all delivered" : "NOT all delivered", deliverySeconds, before, peak);
}
