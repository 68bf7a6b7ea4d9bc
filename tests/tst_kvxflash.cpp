// kvxflash as a script calls it: the real program, simulated boards on
// pseudo-terminals, exit statuses and JSON read back.

#include "ptyboard.h"

#include <QElapsedTimer>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QSerialPort>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <csignal>
#include <memory>
#include <vector>
#include <zlib.h>

namespace {

using Boards = std::vector<std::unique_ptr<kvxsim::PtyBoard>>;

struct Lauf
{
    int status = -1;
    QList<QJsonObject> ergebnisse;  // by port name
    QString ausgabe;

    QJsonObject fuer(const QString &port) const
    {
        for (const QJsonObject &objekt : ergebnisse)
            if (objekt.value("port").toString() == port)
                return objekt;
        return {};
    }
};

QByteArray bild(int bytes)
{
    QByteArray inhalt(bytes, '\0');
    for (int i = 0; i < bytes; ++i)
        inhalt[i] = char((i * 167) ^ (i >> 7));
    return inhalt;
}

QString crcHex(const QByteArray &bytes)
{
    return QString::number(crc32(0, reinterpret_cast<const Bytef *>(bytes.data()), uInt(bytes.size())), 16)
        .rightJustified(8, '0');
}

} // namespace

class TestKvxflash : public QObject
{
    Q_OBJECT

    QTemporaryDir ordner;

    QString datei(const QString &name, const QByteArray &inhalt)
    {
        const QString pfad = ordner.filePath(name);
        QFile f(pfad);
        f.open(QIODevice::WriteOnly);
        f.write(inhalt);
        return pfad;
    }

    kvxsim::PtyBoard &board(Boards &boards, int port, kvxsim::BoardOptions optionen = {}, int bytesJeSekunde = 0)
    {
        kvxsim::PtyBoardOptions o;
        o.board = optionen;
        o.bytesPerSecond = bytesJeSekunde;
        boards.push_back(std::make_unique<kvxsim::PtyBoard>(ordner.filePath("ports").toStdString(), port, o));
        return *boards.back();
    }

    // Runs kvxflash with no display at all, as a script on a headless rig would.
    void starte(QProcess &prozess, const QStringList &argumente)
    {
        QProcessEnvironment umgebung = QProcessEnvironment::systemEnvironment();
        umgebung.remove("QT_QPA_PLATFORM");
        umgebung.remove("DISPLAY");
        umgebung.insert("KVXLOADER_PORT_DIR", ordner.filePath("ports"));
        prozess.setProcessEnvironment(umgebung);
        prozess.start(KVXFLASH, argumente);
        QVERIFY(prozess.waitForStarted());
    }

    Lauf auswerten(QProcess &prozess)
    {
        Lauf lauf;
        if (!prozess.waitForFinished(30000))
            return lauf;
        lauf.status = prozess.exitStatus() == QProcess::NormalExit ? prozess.exitCode() : -1;
        lauf.ausgabe = QString::fromUtf8(prozess.readAllStandardOutput());
        for (const QString &zeile : lauf.ausgabe.split('\n', Qt::SkipEmptyParts))
            lauf.ergebnisse << QJsonDocument::fromJson(zeile.toUtf8()).object();
        return lauf;
    }

    // Reads the boards' objects as they come until there are `bis` in all:
    // false when they did not come while the program ran on.
    bool warteAufErgebnisse(QProcess &prozess, QList<QJsonObject> &ergebnisse, int bis)
    {
        while (ergebnisse.size() < bis && (prozess.canReadLine() || prozess.waitForReadyRead(20000)))
            while (prozess.canReadLine())
                ergebnisse << QJsonDocument::fromJson(prozess.readLine()).object();
        return ergebnisse.size() == bis;
    }

    Lauf kvxflash(const QStringList &argumente)
    {
        QProcess prozess;
        starte(prozess, argumente);
        return auswerten(prozess);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(ordner.isValid());
        QDir(ordner.path()).mkpath("ports");
    }

    // Three boards at once: each gets its own result, the good one its exact
    // image, and the status is that of the first failure in the order given.
    // The good one runs at line speed, where a page (0.711 s) takes longer
    // than the time limit alone. Times are to the millisecond; the good one's
    // lies between its pages' time on the line and the whole run's.
    void dreiPlatinenZugleich()
    {
        Boards boards;
        auto &gut = board(boards, 1, {}, 11520);
        kvxsim::BoardOptions falscheCrc;
        falscheCrc.wrongCrc = true;
        board(boards, 2, falscheCrc);
        kvxsim::BoardOptions stummNachSeite2;
        stummNachSeite2.silentFrom = "#3";
        board(boards, 3, stummNachSeite2);

        const QByteArray inhalt = bild(3 * 8192 + 5);
        QElapsedTimer uhr;
        uhr.start();
        const Lauf lauf = kvxflash({"--json", "-t", "0.65", "-p", "3", "-p", "COM2", "-p", "1",
                                    datei("drei.dwq", inhalt)});
        const double gemessen = uhr.elapsed() / 1000.0;
        QCOMPARE(lauf.status, 5);
        QCOMPARE(lauf.ergebnisse.size(), 3);
        double bruchteile = 0;
        for (const QJsonObject &e : lauf.ergebnisse)
            bruchteile += std::fmod(e.value("seconds").toDouble(), 1);
        QVERIFY(bruchteile > 0);
        const double sekunden = lauf.fuer("COM1").value("seconds").toDouble();
        QVERIFY2(sekunden > 4 * 8193 / 11520.0 && sekunden < gemessen, qPrintable(QString::number(sekunden)));

        QByteArray gepolstert = inhalt;
        gepolstert.append(4 * 8192 - inhalt.size(), '\xFF');
        const QJsonObject ok = lauf.fuer("COM1");
        QCOMPARE(ok.value("result").toString(), QString("ok"));
        QCOMPARE(ok.value("message").toString(), QString("Update erfolgreich ausgeführt !"));
        QCOMPARE(ok.value("pages").toInt(), 4);
        QCOMPARE(ok.value("crc").toString(), crcHex(gepolstert));
        QCOMPARE(ok.value("board_crc").toString(), crcHex(gepolstert));
        QCOMPARE(ok.value("device").toString(), ordner.filePath("ports/COM1"));
        const std::vector<std::uint8_t> flash = gut.flash();
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(flash.data()), gepolstert.size()), gepolstert);

        const QJsonObject crc = lauf.fuer("COM2");
        QCOMPARE(crc.value("result").toString(), QString("protocol"));
        QCOMPARE(crc.value("message").toString(), QString("Update fehlgeschlagen !"));
        QCOMPARE(crc.value("board_crc").toString().size(), 8);
        QVERIFY(crc.value("board_crc") != crc.value("crc"));

        const QJsonObject stumm = lauf.fuer("COM3");
        QCOMPARE(stumm.value("result").toString(), QString("timeout"));
        QVERIFY(!stumm.contains("board_crc"));
    }

    // Every attempt starts again from the detection; a refused file is not retried.
    void wiederholungen()
    {
        Boards boards;
        kvxsim::BoardOptions fehlt;
        fehlt.noCrAfter = "e";
        board(boards, 4, fehlt);
        const Lauf lauf = kvxflash({"--json", "-r", "2", "-p", "4", datei("r.dwq", bild(10))});
        QCOMPARE(lauf.status, 6);
        QCOMPARE(lauf.fuer("COM4").value("attempts").toInt(), 3);
        QCOMPARE(lauf.fuer("COM4").value("message").toString(), QString("Es ist ein Fehler aufgetreten !"));
        QCOMPARE(QByteArray::fromStdString(boards.front()->received()), QByteArray("SPeSPeSPe"));
    }

    void abgelehnt_data()
    {
        QTest::addColumn<QStringList>("argumente");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("meldung");
        const QString leer = datei("leer.dwq", {});
        const QString gut = datei("gut.dwq", bild(10));
        QTest::newRow("missing file, longest wait, most retries")
            << QStringList{"-t", "3600", "-r", "1000", "-p", "5", ordner.filePath("fehlt.dwq")} << 2
            << "COM5 (%1/COM5): Die Datei wurde nicht gelesen ! (0.0 s)\n";
        QTest::newRow("empty file") << QStringList{"-p", "5", leer} << 2 << "COM5 (%1/COM5): Die Datei ist leer !";
        QTest::newRow("no board on the port") << QStringList{"-p", "5", gut} << 4
                                              << "COM5 (%1/COM5): COM 5 nicht verfügbar !";
        QTest::newRow("port 21") << QStringList{"-p", "21", leer} << 1 << "";
        QTest::newRow("port 0") << QStringList{"-p", "COM0", leer} << 1 << "";
        QTest::newRow("time limit 3601") << QStringList{"-t", "3601", leer} << 1 << "";
        QTest::newRow("time limit 0") << QStringList{"-t", "0", leer} << 1 << "";
        QTest::newRow("1001 retries") << QStringList{"-r", "1001", leer} << 1 << "";
        QTest::newRow("same port twice") << QStringList{"-p", "5", "-p", ordner.filePath("ports/COM5"), leer} << 1
                                         << "";
        QTest::newRow("no file") << QStringList{"-p", "5"} << 1 << "";
        QTest::newRow("unknown option") << QStringList{"--fast", leer} << 1 << "";
    }

    // Bad input is refused before any port is touched, with the window's texts.
    void abgelehnt()
    {
        QFETCH(QStringList, argumente);
        QFETCH(int, status);
        QFETCH(QString, meldung);
        const Lauf lauf = kvxflash(argumente);
        QCOMPARE(lauf.status, status);
        if (!meldung.isEmpty())
            QVERIFY2(lauf.ausgabe.startsWith(meldung.arg(ordner.filePath("ports"))), qPrintable(lauf.ausgabe));
    }

    // The port folder's boards are listed and asked; auto flashes only those
    // that answer, and leaves alone the one another program holds.
    void listeUndAuto()
    {
        QDir ports(ordner.filePath("ports"));
        for (const QString &alt : ports.entryList(QDir::System | QDir::Files))
            ports.remove(alt);
        Boards boards;
        board(boards, 7);
        kvxsim::BoardOptions stumm;
        stumm.silent = true;
        board(boards, 8, stumm);
        board(boards, 10);
        QSerialPort anderesProgramm(ports.filePath("COM10"));
        QVERIFY(anderesProgramm.open(QIODevice::ReadWrite));
        QFile::link(ordner.filePath("nirgends"), ordner.filePath("ports/COM9"));

        const Lauf text = kvxflash({"--list"});
        const QString nummern("COM 7 = %1/COM7\nCOM 8 = %1/COM8\nCOM 10 = %1/COM10\n");
        QVERIFY2(text.ausgabe.startsWith(nummern.arg(ports.path())), qPrintable(text.ausgabe));
        const Lauf liste = kvxflash({"--list", "--probe", "--json"});
        QCOMPARE(liste.status, 0);
        QCOMPARE(liste.fuer("COM7").value("probe").toString(), QString("found"));
        QCOMPARE(liste.fuer("COM8").value("probe").toString(), QString("not_found"));
        QCOMPARE(liste.fuer("COM10").value("probe").toString(), QString("port"));
        QVERIFY(liste.fuer("COM9").isEmpty());

        Lauf automatisch = kvxflash({"-q", "-p", "auto", datei("auto.dwq", bild(8193))});
        QCOMPARE(automatisch.status, 0);
        automatisch.ausgabe.replace(QRegularExpression(" [0-9]+\\.[0-9] s\\)"), " … s)");
        QCOMPARE(automatisch.ausgabe,
                 QString("COM7 (%1/COM7): Update erfolgreich ausgeführt ! (2 Seiten, … s)\n").arg(ports.path()));
        QCOMPARE(QByteArray::fromStdString(boards.at(1)->received()), QByteArray("SS"));
    }

    // A bench: boards come and go; each is flashed once per plug-in and
    // reported as it ends, the record gains a line for each, and Ctrl+C sums up.
    void werkbank()
    {
        QDir ports(ordner.filePath("ports"));
        for (const QString &alt : ports.entryList(QDir::System | QDir::Files))
            ports.remove(alt);
        const QByteArray inhalt = bild(8192 + 1);
        QByteArray gepolstert = inhalt;
        gepolstert.append(8192 - 1, '\xFF');
        const QByteArray vorigeSchicht =
            "2026-03-02T06:00:00+01:00\tCOM1\t/dev/ttyUSB0\tA1\talt.dwq\t0badcafe\tok\t0badcafe\n";
        const QString protokoll = datei("werkbank.log", vorigeSchicht);
        QProcess prozess;
        starte(prozess, {"--watch", "--json", "-t", "1", "--log", protokoll, datei("werkbank.dwq", inhalt)});

        Boards boards;
        kvxsim::BoardOptions falscheCrc;
        falscheCrc.wrongCrc = true;
        board(boards, 1);
        board(boards, 2);
        board(boards, 3, falscheCrc);
        QList<QJsonObject> ergebnisse;
        QVERIFY(warteAufErgebnisse(prozess, ergebnisse, 3));
        kvxsim::BoardOptions gezogen;
        gezogen.dropAt = "#2";
        board(boards, 4, gezogen, 11520);
        kvxsim::BoardOptions stumm;
        stumm.silent = true;
        board(boards, 5, stumm);
        QVERIFY(warteAufErgebnisse(prozess, ergebnisse, 5));
        for (int port : {1, 2, 3})
            QCOMPARE(QByteArray(reinterpret_cast<const char *>(boards.at(port - 1)->flash().data()), gepolstert.size()),
                     gepolstert);

        boards.front().reset();  // COM1 unplugged ...
        QTest::qWait(300);
        board(boards, 1);  // ... and the next board on that socket
        QVERIFY(warteAufErgebnisse(prozess, ergebnisse, 6));
        kvxsim::BoardOptions langsam;
        langsam.silentFrom = "#1";
        auto &laufend = board(boards, 6, langsam);
        QVERIFY(laufend.waitForReceived(4 + 8193, 10000));
        ::kill(pid_t(prozess.processId()), SIGINT);
        QVERIFY(warteAufErgebnisse(prozess, ergebnisse, 7));
        QVERIFY(prozess.waitForFinished(5000));
        QCOMPARE(prozess.exitCode(), 6);
        QCOMPARE(prozess.readAllStandardError(), QByteArray("3 erfolgreich, 2 fehlgeschlagen, 1 abgebrochen\n"));

        QStringList gesehen;
        for (const QJsonObject &e : ergebnisse)
            gesehen << e.value("port").toString() + " " + e.value("result").toString();
        gesehen.sort();
        QCOMPARE(gesehen, QStringList({"COM1 ok", "COM1 ok", "COM2 ok", "COM3 protocol", "COM4 port",
                                       "COM5 not_found", "COM6 aborted"}));

        QFile log(protokoll);
        QVERIFY(log.open(QIODevice::ReadOnly));
        QCOMPARE(log.readLine(), vorigeSchicht);
        QStringList zeilen;
        for (const QByteArray &zeile : log.readAll().split('\n'))
            if (!zeile.isEmpty())
                zeilen << QString::fromUtf8(zeile).section('\t', 1);  // the time aside
        zeilen.sort();
        const QString crc = crcHex(gepolstert);
        const QString gekippt = QString::number(~crc.toUInt(nullptr, 16), 16).rightJustified(8, '0');
        const QString geraet = ordner.filePath("ports/COM%1");
        QCOMPARE(zeilen, QStringList({
            QString("COM1\t%1\t-\twerkbank.dwq\t%2\tok\t%2").arg(geraet.arg(1), crc),
            QString("COM1\t%1\t-\twerkbank.dwq\t%2\tok\t%2").arg(geraet.arg(1), crc),
            QString("COM2\t%1\t-\twerkbank.dwq\t%2\tok\t%2").arg(geraet.arg(2), crc),
            QString("COM3\t%1\t-\twerkbank.dwq\t%2\tprotocol\t%3").arg(geraet.arg(3), crc, gekippt),
            QString("COM4\t%1\t-\twerkbank.dwq\t%2\tport\t-").arg(geraet.arg(4), crc),
            QString("COM6\t%1\t-\twerkbank.dwq\t%2\taborted\t-").arg(geraet.arg(6), crc),
        }));
    }

    void abbruch_data()
    {
        QTest::addColumn<int>("signal");
        QTest::newRow("Ctrl+C") << SIGINT;
        QTest::newRow("SIGTERM") << SIGTERM;
    }

    // Ctrl+C or a stop from the system in mid-update returns the board to rest
    // and says so.
    void abbruch()
    {
        QFETCH(int, signal);
        Boards boards;
        kvxsim::BoardOptions stummAbSeite1;
        stummAbSeite1.silentFrom = "#1";
        board(boards, 6, stummAbSeite1);
        QProcess prozess;
        starte(prozess, {"--json", "-p", "6", datei("abbruch.dwq", bild(8192))});
        QVERIFY(boards.front()->waitForReceived(4 + 8193, 10000));
        ::kill(pid_t(prozess.processId()), signal);
        const Lauf lauf = auswerten(prozess);
        QCOMPARE(lauf.status, 130);
        QCOMPARE(lauf.fuer("COM6").value("result").toString(), QString("aborted"));
        QCOMPARE(lauf.fuer("COM6").value("message").toString(), QString("Update abgebrochen !"));
    }
};

QTEST_GUILESS_MAIN(TestKvxflash)
#include "tst_kvxflash.moc"
