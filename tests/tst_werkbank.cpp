// The bench as its views see it: one run on simulated boards on
// pseudo-terminals, read only through its event stream.

#include "core/abbruchsignal.h"
#include "bench/ereignis.h"
#include "bench/flashlauf.h"
#include "bench/portsuche.h"
#include "bench/protokoll.h"
#include "core/sprache.h"
#include "ptyboard.h"
#include "update/crc32.h"

#include <QCryptographicHash>
#include <QJsonArray>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>
#include <vector>
#include <zlib.h>

class TestWerkbank : public QObject
{
    Q_OBJECT

    QTemporaryDir ordner;

private slots:
    void initTestCase()
    {
        QVERIFY(ordner.isValid());
        QDir(ordner.path()).mkpath("ports");
        qputenv("KVXLOADER_PORT_DIR", ordner.filePath("ports").toUtf8());
        spracheEinrichten("de");
    }

    // Four boards at once: one flashed, one pulled after its first page, one
    // without bootloader, one stopped mid-update. Every event comes once, in
    // the order of its number; each board's run reads in order, and the log
    // has written each result before the tally counts it. A filter for a USB
    // ID or serial number takes none of these ports, which have neither.
    void einLaufAlsEreignisse()
    {
        struct Zeile { const char *port; kvxsim::BoardOptions board; QString ergebnis; QString typen; };
        kvxsim::BoardOptions gezogen, stumm, haengt;
        gezogen.dropAt = "#2";
        stumm.silent = true;
        haengt.silentFrom = "#1";
        const QString upload = "port_taken detect_begin detect_end upload_begin page ";
        const std::vector<Zeile> zeilen{
            {"COM1", {}, "ok", upload + "page attempt_end result record_written"},
            {"COM2", gezogen, "port", upload + "page attempt_end result record_written"},
            {"COM3", stumm, "not_found", "port_taken detect_begin detect_end attempt_end result record_written"},
            {"COM4", haengt, "aborted", upload + "attempt_end result record_written"},
        };
        std::vector<std::unique_ptr<kvxsim::PtyBoard>> boards;
        QList<Portangabe> ports;
        for (const Zeile &zeile : zeilen) {
            kvxsim::PtyBoardOptions o;
            o.board = zeile.board;
            boards.push_back(std::make_unique<kvxsim::PtyBoard>(ordner.filePath("ports").toStdString(),
                                                                QString(zeile.port).mid(3).toInt(), o));
            QString fehler;
            ports << *portangabeLesen(zeile.port, fehler);
        }
        QCOMPARE(usbPorts({}).size(), 4);
        QCOMPARE(usbPorts({0x0403, 0x6001, {}}).size() + usbPorts({{}, {}, "A1"}).size(), 0);
        QByteArray inhalt(8192 + 7, '\x5a');
        QFile datei(ordner.filePath("zwei.dwq"));
        QVERIFY(datei.open(QIODevice::WriteOnly) && datei.write(inhalt) == inhalt.size());
        datei.close();
        Crc32 crc;
        crc.CRCInit(Crc32::standardPolynomial);
        const Firmwarebild bild = Firmwarebild::laden(datei.fileName(), crc, false);

        Ereignisstrom strom;
        const Protokoll protokoll(ordner.filePath("lauf.log"));
        Protokollschreiber schreiber(protokoll, bild.pfad, bild.sha256, strom);
        Platine::Einstellungen einstellungen;
        einstellungen.zeitlimitMs = 20000;
        Flashlauf lauf(ports, bild, einstellungen, crc, strom);
        Abbruchsignal abbruch;
        // A view subscribes after the log; it stops the run once COM4 is the
        // only board still at work, mid-update.
        QList<Ereignis> gesehen;
        connect(&strom, &Ereignisstrom::ereignis, this, [&](const Ereignis &e) {
            gesehen << e;
            int fertige = 0;
            bool com4Sendet = false;
            for (const Ereignis &frueher : std::as_const(gesehen)) {
                fertige += frueher.typ == "result";
                com4Sendet = com4Sendet || (frueher.typ == "page" && frueher.port() == "COM4");
            }
            if (e.typ != "bench_ending" && fertige == 3 && com4Sendet)
                QTimer::singleShot(0, &abbruch, &Abbruchsignal::ausgeloest);
        });
        lauf.ausfuehren(abbruch);

        int ergebnisse = 0;
        for (qsizetype i = 0; i < gesehen.size(); ++i) {
            const QJsonObject json = gesehen[i].alsJson();
            QCOMPARE(json.value("seq").toInt(), i + 1);
            ergebnisse += gesehen[i].typ == "result";
            if (gesehen[i].typ == "tally")
                QCOMPARE(json["ok"].toInt() + json["failed"].toInt() + json["not_found"].toInt() + json["aborted"].toInt(),
                         ergebnisse);
            QVERIFY(QDateTime::fromString(json.value("time").toString(), Qt::ISODateWithMs).isValid());
            QVERIFY2(json.value("time").toString().contains(QRegularExpression(R"(\.\d{3}([+-]\d\d:\d\d|Z)$)")),
                     qPrintable(json.value("time").toString()));
        }
        QCOMPARE(gesehen.first().typ, "bench_started");
        const QJsonObject image = gesehen.first().felder.value("image").toObject();
        const QByteArray gepolstert = inhalt + QByteArray(8192 - 7, '\xff');
        QCOMPARE(image.value("crc").toString().toUInt(nullptr, 16),
                 crc32(0, reinterpret_cast<const Bytef *>(gepolstert.data()), uInt(gepolstert.size())));
        QCOMPARE(image.value("sha256").toString(), QCryptographicHash::hash(inhalt, QCryptographicHash::Sha256).toHex());
        QCOMPARE(image.value("pages").toInt(), 2);
        QCOMPARE(image.value("format").toString(), "raw");
        QCOMPARE(gesehen.first().felder.value("ports").toArray().size(), 4);
        QCOMPARE(gesehen.last().typ, "bench_ending");
        QCOMPARE(gesehen.last().felder.value("status").toInt(), 130);
        const Ereignis &bilanz = gesehen.at(gesehen.size() - 2);
        QCOMPARE(bilanz.typ, "tally");
        for (const char *art : {"ok", "failed", "not_found", "aborted"})
            QCOMPARE(bilanz.felder.value(art).toInt(), 1);

        for (const Zeile &zeile : zeilen) {
            QStringList typen;
            QJsonObject ergebnis;
            for (const Ereignis &e : std::as_const(gesehen)) {
                if (e.port() != zeile.port || e.typ == "step")
                    continue;
                typen << e.typ;
                if (e.typ == "result")
                    ergebnis = e.felder;
                if (e.typ == "detect_end")
                    QVERIFY(e.felder.contains(e.felder.value("ok").toBool() ? "answer" : "message"));
                if (e.typ == "page")
                    QCOMPARE(e.felder.value("pages").toInt(), 2);
                if (e.typ == "port_taken")
                    QCOMPARE(e.felder.value("device").toString(), ordner.filePath("ports/") + zeile.port);
            }
            QCOMPARE(typen.join(' '), zeile.typen);
            QCOMPARE(ergebnis.value("result").toString(), zeile.ergebnis);
            QCOMPARE(ergebnis.value("attempts").toInt(), 1);
            QVERIFY(!ergebnis.value("message").toString().isEmpty());
        }
    }
};

QTEST_GUILESS_MAIN(TestWerkbank)
#include "tst_werkbank.moc"
