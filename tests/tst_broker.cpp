// The bench's records through a real broker: Debian's mosquitto on a free
// loopback port, read back by mosquitto_sub, JSON read by Qt's parser.

#include "ptyboard.h"

#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <memory>
#include <vector>

namespace {

using Boards = std::vector<std::unique_ptr<kvxsim::PtyBoard>>;

QString programm(const QString &name)
{
    const QString gefunden = QStandardPaths::findExecutable(name);
    return gefunden.isEmpty() ? QStandardPaths::findExecutable(name, {"/usr/sbin", "/usr/bin"}) : gefunden;
}

// What a subscriber to PREFIX/# has seen: topic and JSON, in order.
struct Nachricht
{
    QString thema;
    QJsonObject inhalt;
};

// A program of the test's, ended with the test.
struct Prozess : QProcess
{
    ~Prozess() override
    {
        kill();
        waitForFinished();
    }
};

} // namespace

class TestBroker : public QObject
{
    Q_OBJECT

    QTemporaryDir ordner;
    QString mosquitto;
    quint16 port = 0;
    QProcess broker;
    QString bildpfad;

    void brokerStarten()
    {
        broker.start(mosquitto, {"-p", QString::number(port)});
        QVERIFY(broker.waitForStarted());
        QTcpSocket probe;
        for (int i = 0; i < 100 && probe.state() != QAbstractSocket::ConnectedState; ++i) {
            probe.connectToHost("127.0.0.1", port);
            if (!probe.waitForConnected(200))
                QTest::qWait(100);
        }
        QVERIFY(probe.state() == QAbstractSocket::ConnectedState);
    }

    void brokerAnhalten()
    {
        broker.terminate();
        QVERIFY(broker.waitForFinished(10000));
    }

    // Subscribes, and returns once the subscription is known to be in place.
    void abonnieren(QProcess &abonnent, const QString &thema = "kvxflash/#")
    {
        abonnent.start("mosquitto_sub", {"-h", "127.0.0.1", "-p", QString::number(port), "-q", "1", "-v",
                                         "-t", thema, "-t", "probe"});
        QVERIFY(abonnent.waitForStarted());
        for (int i = 0; i < 100 && !abonnent.peek(1 << 20).contains("probe "); ++i) {
            QProcess::execute("mosquitto_pub", {"-p", QString::number(port), "-t", "probe", "-m", "{}"});
            abonnent.waitForReadyRead(200);
        }
        QVERIFY(abonnent.peek(1 << 20).contains("probe "));
    }

    static QList<Nachricht> gelesen(QProcess &abonnent)
    {
        QList<Nachricht> nachrichten;
        for (const QByteArray &zeile : abonnent.peek(1 << 24).split('\n')) {
            const qsizetype leer = zeile.indexOf(' ');
            if (leer > 0 && !zeile.startsWith("probe "))
                nachrichten << Nachricht{QString::fromUtf8(zeile.left(leer)),
                                         QJsonDocument::fromJson(zeile.mid(leer + 1)).object()};
        }
        return nachrichten;
    }

    static QList<QJsonObject> eintraege(QProcess &abonnent)
    {
        QList<QJsonObject> liste;
        for (const Nachricht &n : gelesen(abonnent))
            if (n.thema.endsWith("/record"))
                liste << n.inhalt;
        return liste;
    }

    // The last status the subscriber has seen, once it has `feld` (or any).
    static QJsonObject letzterStatus(QProcess &abonnent, const QString &feld, const QJsonValue &wert)
    {
        QJsonObject status;
        for (int i = 0; i < 300 && status.value(feld) != wert; ++i) {
            abonnent.waitForReadyRead(100);
            for (const Nachricht &n : gelesen(abonnent))
                if (n.thema.endsWith("/status"))
                    status = n.inhalt;
        }
        return status;
    }

    static bool warteAufEintraege(QProcess &abonnent, int anzahl)
    {
        for (int i = 0; i < 300 && eintraege(abonnent).size() < anzahl; ++i)
            abonnent.waitForReadyRead(100);
        return eintraege(abonnent).size() >= anzahl;
    }

    // `vorsatz` is a program that starts it (prlimit, say).
    void kvxflash(QProcess &prozess, const QStringList &argumente, QStringList vorsatz = {})
    {
        QProcessEnvironment umgebung = QProcessEnvironment::systemEnvironment();
        umgebung.insert("KVXLOADER_PORT_DIR", ordner.filePath("ports"));
        umgebung.insert("KVXLOADER_LANG", "de");
        prozess.setProcessEnvironment(umgebung);
        vorsatz << KVXFLASH << "--json" << "--mqtt" << QString("mqtt://127.0.0.1:%1").arg(port) << argumente
                << bildpfad;
        prozess.start(vorsatz.takeFirst(), vorsatz);
        QVERIFY(prozess.waitForStarted());
    }

    void board(Boards &boards, int nummer)
    {
        boards.push_back(std::make_unique<kvxsim::PtyBoard>(ordner.filePath("ports").toStdString(), nummer));
    }

    static void warteAufErgebnisse(QProcess &prozess, int anzahl)
    {
        for (int i = 0; i < 300 && prozess.peek(1 << 20).count('\n') < anzahl; ++i)
            prozess.waitForReadyRead(100);
        QCOMPARE(prozess.peek(1 << 20).count('\n'), anzahl);
    }

private slots:
    void initTestCase()
    {
        mosquitto = programm("mosquitto");
        if (mosquitto.isEmpty() || programm("mosquitto_sub").isEmpty() || programm("mosquitto_pub").isEmpty())
            QSKIP("mosquitto and mosquitto-clients are not installed");
        QVERIFY(ordner.isValid());
        QDir(ordner.path()).mkpath("ports");
        QTcpServer frei;
        QVERIFY(frei.listen(QHostAddress::LocalHost));
        port = frei.serverPort();
        frei.close();
        QFile datei(ordner.filePath("fw.dwq"));
        QVERIFY(datei.open(QIODevice::WriteOnly));
        datei.write(QByteArray(3000, '\x5A'));
        bildpfad = datei.fileName();
        brokerStarten();
    }

    void cleanupTestCase()
    {
        if (broker.state() == QProcess::Running)
            brokerAnhalten();
    }

    // A watch whose broker goes away, then is killed with records unsent;
    // the next bench sends them first, in order. Every record arrives with
    // its fields, no id is missing, and one sent twice has the same id.
    void ausfallUndNeustart()
    {
        const QString postausgang = ordner.filePath("ausfall.outbox");
        Prozess abonnent;
        abonnieren(abonnent);
        Prozess werkbank;
        kvxflash(werkbank, {"--watch", "--bench", "linie1", "--mqtt-outbox", postausgang});
        Boards boards;
        board(boards, 1);
        board(boards, 2);
        warteAufErgebnisse(werkbank, 2);
        QVERIFY(warteAufEintraege(abonnent, 2));
        QList<QJsonObject> alle = eintraege(abonnent);
        for (const QJsonObject &e : std::as_const(alle)) {
            QCOMPARE(e.value("bench").toString(), QString("linie1"));
            QCOMPARE(e.value("result").toString(), QString("ok"));
            QCOMPARE(e.value("crc").toString().size(), 8);
            QCOMPARE(e.value("sha256").toString().size(), 64);
            QVERIFY(QRegularExpression("^\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d\\.\\d{3}(Z|[+-]\\d\\d:\\d\\d)$")
                        .match(e.value("time").toString()).hasMatch());
        }
        const QJsonObject status = letzterStatus(abonnent, "tally", QJsonObject{{"ok", 2}, {"failed", 0},
                                                                                 {"not_found", 0}, {"aborted", 0}});
        QCOMPARE(status.value("state").toString(), QString("online"));
        QCOMPARE(status.value("image").toObject().value("pages").toInt(), 1);

        brokerAnhalten();
        abonnent.kill();
        abonnent.waitForFinished();
        board(boards, 3);
        board(boards, 4);
        warteAufErgebnisse(werkbank, 4);
        werkbank.kill();
        QVERIFY(werkbank.waitForFinished());
        boards.clear();
        QCOMPARE(QString(werkbank.readAllStandardError()).count("Broker nicht erreichbar: "), 1);

        brokerStarten();
        Prozess zweiter;
        abonnieren(zweiter);
        Prozess neustart;
        kvxflash(neustart, {"--watch", "--bench", "linie1", "--mqtt-outbox", postausgang});
        board(boards, 5);
        warteAufErgebnisse(neustart, 1);
        QVERIFY(warteAufEintraege(zweiter, 3));
        neustart.kill();
        QVERIFY(neustart.waitForFinished());
        // The last will.
        QCOMPARE(letzterStatus(zweiter, "state", "offline").value("state").toString(), QString("offline"));

        // The outbox first, in the order the boards finished.
        QStringList erwartet;
        for (const QByteArray &zeile : werkbank.readAllStandardOutput().split('\n').mid(2, 2))
            erwartet << QJsonDocument::fromJson(zeile).object().value("port").toString();
        const QList<QJsonObject> danach = eintraege(zweiter);
        QStringList ports;
        for (const QJsonObject &e : danach)
            ports << e.value("port").toString();
        ports.removeDuplicates();
        QCOMPARE(ports, erwartet << "COM5");
        alle += danach;
        QHash<QString, QJsonObject> jeId;
        for (const QJsonObject &e : std::as_const(alle)) {
            QVERIFY(!jeId.contains(e.value("id").toString()) || jeId.value(e.value("id").toString()) == e);
            jeId.insert(e.value("id").toString(), e);
        }
        QCOMPARE(jeId.size(), 5);
    }

    // An outbox that cannot take a record is a record lost: the watch takes
    // no further board and ends by itself with status 7; the record waiting
    // from before stays.
    void postausgangVoll()
    {
        const QString postausgang = ordner.filePath("voll.outbox");
        // Long enough that the port's lock file still fits under the limit.
        const QByteArray wartend = "-{\"id\":\"alt\",\"message\":\"" + QByteArray(1000, 'x') + "\"}\n";
        QFile alt(postausgang);
        QVERIFY(alt.open(QIODevice::WriteOnly));
        alt.write(wartend);
        alt.close();
        Prozess werkbank;
        // A broker that is not there, so that nothing leaves the outbox.
        kvxflash(werkbank, {"--watch", "-p", "20", "--mqtt", "mqtt://127.0.0.1:1", "--mqtt-outbox", postausgang},
                 {"prlimit", QString("--fsize=%1").arg(alt.size() + 20)});
        Boards boards;
        board(boards, 20);
        QVERIFY(werkbank.waitForFinished(30000));
        QCOMPARE(werkbank.exitCode(), 7);
        QVERIFY(QString(werkbank.readAllStandardError()).contains("Der Postausgang " + postausgang));
        QVERIFY(alt.open(QIODevice::ReadOnly));
        QCOMPARE(alt.readAll(), wartend);
    }

    // Four benches, one broker: each its own records and its own retained
    // status, "offline" after a clean end.
    void vierWerkbaenke()
    {
        QDir ports(ordner.filePath("ports"));
        for (const QString &alt : ports.entryList(QDir::System | QDir::Files))
            ports.remove(alt);
        Prozess abonnent;
        abonnieren(abonnent);
        Boards boards;
        std::vector<std::unique_ptr<Prozess>> laeufe;
        for (int i = 1; i <= 4; ++i) {
            board(boards, 10 + i);
            laeufe.push_back(std::make_unique<Prozess>());
            kvxflash(*laeufe.back(), {"-p", QString::number(10 + i), "--bench", QString("w%1").arg(i),
                                      "--mqtt-outbox", ordner.filePath(QString("w%1.outbox").arg(i))});
        }
        for (const auto &lauf : laeufe) {
            QVERIFY(lauf->waitForFinished(30000));
            QCOMPARE(lauf->exitCode(), 0);
        }
        QVERIFY(warteAufEintraege(abonnent, 4));
        QSet<QString> werkbaenke;
        for (const QJsonObject &e : eintraege(abonnent))
            werkbaenke << e.value("bench").toString() + e.value("port").toString();
        QCOMPARE(werkbaenke, QSet<QString>({"w1COM11", "w2COM12", "w3COM13", "w4COM14"}));

        Prozess spaeter;
        abonnieren(spaeter, "kvxflash/+/status");
        const auto vonW = [&spaeter] {
            QList<Nachricht> liste = gelesen(spaeter);
            liste.removeIf([](const Nachricht &n) { return !n.thema.startsWith("kvxflash/w"); });
            return liste;
        };
        for (int i = 0; i < 50 && vonW().size() < 4; ++i)
            spaeter.waitForReadyRead(100);
        QCOMPARE(vonW().size(), 4);
        for (const Nachricht &n : vonW())
            QCOMPARE(n.inhalt.value("state").toString(), QString("offline"));
    }
};

QTEST_GUILESS_MAIN(TestBroker)
#include "tst_broker.moc"
