// The bench page's state: what a page shows after a run of events; and the
// server's bound on what a client that does not read may hold up.

#include "werkbankseite/werkbankserver.h"
#include "werkbankseite/werkbankzustand.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QTcpSocket>
#include <QTest>
#include <QUrl>

class TestWerkbankseite : public QObject
{
    Q_OBJECT

    // One event per line, without seq: numbered here from 1.
    static Werkbankzustand abspielen(const QString &ereignisse)
    {
        Werkbankzustand zustand(QStringLiteral("Bank 3"));
        qint64 seq = 0;
        for (const QString &zeile : ereignisse.split('\n', Qt::SkipEmptyParts)) {
            QJsonObject ereignis = QJsonDocument::fromJson(zeile.toUtf8()).object();
            ereignis["seq"] = ++seq;
            zustand.anwenden(ereignis);
        }
        return zustand;
    }

    // Each tile as "port state page/pages sn present", in the order shown.
    static QStringList kacheln(const QJsonObject &schnappschuss)
    {
        QStringList kacheln;
        for (const QJsonValue &wert : schnappschuss["sockets"].toArray()) {
            const QJsonObject s = wert.toObject();
            kacheln << QStringLiteral("%1 %2 %3/%4 %5 %6").arg(s["port"].toString(), s["state"].toString())
                           .arg(s["page"].toInt()).arg(s["pages"].toInt())
                           .arg(s["sn"].toString(), s["present"].toBool() ? "present" : "pulled");
        }
        return kacheln;
    }

private slots:
    void kacheln_data()
    {
        QTest::addColumn<QString>("ereignisse");
        QTest::addColumn<QStringList>("erwartet");
        QTest::addColumn<QString>("letztes");
        const QString start = R"({"type":"bench_started","ports":["COM10","COM2"],"log":null,"image":{"pages":4}})"
                              "\n";
        QTest::newRow("named ports in port order, empty") << start << QStringList{"COM2 empty 0/0  pulled",
                                                                                  "COM10 empty 0/0  pulled"} << "";
        QTest::newRow("flashing, page 2 of 4")
            << start + R"({"type":"port_taken","port":"COM2"}
                          {"type":"detect_begin","port":"COM2","attempt":1}
                          {"type":"upload_begin","port":"COM2","pages":4,"sn":"17"}
                          {"type":"page","port":"COM2","page":2,"pages":4})"
            << QStringList{"COM2 flashing 2/4 17 present", "COM10 empty 0/0  pulled"} << "";
        const QString fehlgeschlagen = R"({"type":"port_taken","port":"/dev/ttyUSB1","serial":"A1"}
            {"type":"detect_begin","port":"/dev/ttyUSB1","attempt":1}
            {"type":"upload_begin","port":"/dev/ttyUSB1","pages":4}
            {"type":"result","port":"/dev/ttyUSB1","result":"timeout","message":"Zeitüberschreitung","sn":"18"}
            )";
        QTest::newRow("a failure stays, and stays when pulled")
            << fehlgeschlagen + R"({"type":"port_gone","port":"/dev/ttyUSB1"})"
            << QStringList{"/dev/ttyUSB1 failed 0/4 18 pulled"} << "timeout";
        QTest::newRow("the next board on the socket clears it")
            << fehlgeschlagen + R"({"type":"port_gone","port":"/dev/ttyUSB1"}
                                   {"type":"port_taken","port":"/dev/ttyUSB1","serial":"A2"})"
            << QStringList{"/dev/ttyUSB1 empty 0/0  present"} << "timeout";
        QTest::newRow("one-shot retry after a result: detecting anew")
            << fehlgeschlagen + R"({"type":"detect_begin","port":"/dev/ttyUSB1","attempt":1})"
            << QStringList{"/dev/ttyUSB1 detecting 0/0  present"} << "timeout";
        QTest::newRow("a retry on a pulled port: still pulled")
            << fehlgeschlagen + R"({"type":"port_gone","port":"/dev/ttyUSB1"}
                                   {"type":"detect_begin","port":"/dev/ttyUSB1","attempt":2})"
            << QStringList{"/dev/ttyUSB1 detecting 0/0  pulled"} << "timeout";
        QTest::newRow("ok, then a port without bootloader: no verdict")
            << start + R"({"type":"result","port":"COM2","result":"ok","attempts":1,"sn":"5"}
                          {"type":"result","port":"COM10","result":"not_found"}
                          {"type":"result","port":"COM3","result":"aborted"}
                          {"type":"result","port":"COM3","result":"not_found"})"
            << QStringList{"COM2 ok 0/0 5 pulled", "COM3 not_found 0/0  pulled", "COM10 not_found 0/0  pulled"}
            << "aborted";
    }

    // Tiles in port order, a result kept until the next board, and the
    // large verdict only for a board's own result.
    void kacheln()
    {
        QFETCH(QString, ereignisse);
        QFETCH(QStringList, erwartet);
        QFETCH(QString, letztes);
        const QJsonObject schnappschuss = abspielen(ereignisse).schnappschuss();
        QCOMPARE(kacheln(schnappschuss), erwartet);
        QCOMPARE(schnappschuss["last"].toObject()["result"].toString(), letztes);
        QCOMPARE(schnappschuss["seq"].toInt(), ereignisse.count('\n') + 1 - ereignisse.endsWith('\n'));
        QCOMPARE(schnappschuss["bench"].toString(), QString("Bank 3"));
    }

    // The tally is the bench's own; an event seen twice counts once.
    void zaehler()
    {
        Werkbankzustand zustand(QStringLiteral("B"));
        const QJsonObject ok{{"seq", 1}, {"type", "result"}, {"port", "COM1"}, {"result", "ok"}, {"attempts", 1}};
        zustand.anwenden(ok);
        zustand.anwenden(ok);
        zustand.anwenden({{"seq", 2}, {"type", "tally"}, {"ok", 1}, {"failed", 2}, {"not_found", 3}, {"aborted", 4}});
        QCOMPARE(zustand.schnappschuss()["tally"].toObject(),
                 QJsonObject({{"ok", 1}, {"failed", 2}, {"not_found", 3}, {"aborted", 4}, {"first_pass", 1}}));
    }

    void rueckstau_data()
    {
        QTest::addColumn<bool>("liest");
        QTest::newRow("a client that reads gets every event") << true;
        QTest::newRow("one that never reads is let go") << false;
    }

    // Far more events than the kernel's buffers hold: the bench never waits
    // for a client; one that keeps up keeps its stream.
    void rueckstau()
    {
        QFETCH(bool, liest);
        Werkbankserver server(QStringLiteral("B"), QStringLiteral("de"));
        QString fehler;
        QVERIFY2(server.lauschen(QHostAddress::LocalHost, 0, fehler), qPrintable(fehler));
        const QUrl url(server.url());
        QTcpSocket client;
        client.setReadBufferSize(liest ? 0 : 1024);
        client.connectToHost(QHostAddress::LocalHost, quint16(url.port()));
        QVERIFY(client.waitForConnected(10000));
        client.write("GET /api/events HTTP/1.1\r\nHost: " + url.authority().toLatin1()
                     + "\r\nUpgrade: websocket\r\nConnection: Upgrade\r\n"
                       "Sec-WebSocket-Key: dGhlIHNhbXBsZSBub25jZQ==\r\nSec-WebSocket-Version: 13\r\n\r\n");
        QTRY_VERIFY_WITH_TIMEOUT(client.peek(12) == "HTTP/1.1 101", 10000);

        constexpr int ereignisse = 6000;
        const QString fuellung(4000, QLatin1Char('x'));
        for (int seq = 1; seq <= ereignisse; ++seq) {
            server.ereignis({{"seq", seq}, {"type", "page"}, {"port", "COM1"}, {"page", seq}, {"fill", fuellung}});
            if (seq % 10 == 0)
                QTest::qWait(1);
        }
        // Now it reads what it was sent: all of it, or a stream that was cut.
        client.setReadBufferSize(0);
        if (liest)
            QTRY_VERIFY_WITH_TIMEOUT(client.bytesAvailable() > qint64(ereignisse) * fuellung.size(), 20000);
        QTRY_COMPARE_WITH_TIMEOUT(client.state() == QAbstractSocket::ConnectedState, liest, 20000);
        QCOMPARE(client.bytesAvailable() > qint64(ereignisse) * fuellung.size(), liest);
    }
};

QTEST_GUILESS_MAIN(TestWerkbankseite)
#include "tst_werkbankseite.moc"
