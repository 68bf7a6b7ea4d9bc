// The update image through the file dialog, and the upload state machine
// against a scripted port: the bytes on the line, answers judged in every state.

#include "bild.h"
#include "fakecomport.h"
#include "testdialoge.h"
#include "update/crc32.h"
#include "update/dateiinhalt.h"
#include "update/updatedatei.h"
#include "update/uploadablauf.h"
#include "update/uploadanzeige.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct Anzeige : UploadAnzeige
{
    void setUploadstatus(const QString &text) override { status = text; }
    void setUploadfortschritt(int seite) override { fortschritt << seite; }
    void setSeitenzahl(int seiten) override { seitenzahl = seiten; }
    void setUploadEnabled(bool enabled) override { uploadEnabled = enabled; }

    QString status;
    QList<int> fortschritt;
    int seitenzahl = 0;
    bool uploadEnabled = true;
};

} // namespace

class TestUploadablauf : public QObject
{
    Q_OBJECT

    // One bench: the image and the state machine wired to a scripted port.
    struct Stand
    {
        Stand()
        {
            crc.CRCInit(0xEDB88320);
            QObject::connect(&port, &ComPort::OnComm, [this] { upload.irda_OnComm(); });
        }

        FakeComPort port;
        TestDialoge dialoge;
        Anzeige anzeige;
        Crc32 crc;
        Updatedatei datei{crc, dialoge, anzeige};
        Uploadablauf upload{port, datei, anzeige, dialoge};
    };

    QTemporaryDir m_ordner;
    std::unique_ptr<Stand> t;
    QByteArray m_bild;   // the image of the last click, padded by the test

    // A file of these bytes, or one that takes `groesse` bytes without data on disk.
    QString schreibe(const QString &name, const QByteArray &bytes, qint64 groesse = -1) const
    {
        QFile datei(m_ordner.filePath(name));
        datei.open(QIODevice::WriteOnly);
        datei.write(bytes);
        if (groesse >= 0)
            datei.resize(groesse);
        return datei.fileName();
    }

    // Clicks Upload with a file of `bytes` bytes.
    void klicke(qsizetype bytes)
    {
        const QByteArray inhalt = muster(bytes);
        m_bild = aufSeitenGefuellt(inhalt);
        t->dialoge.dateien.push_back(schreibe(QString::number(bytes), inhalt));
        t->upload.Upload_Click();
    }

    // The board answers; a page that has been started is handed over whole.
    void antworte(const QByteArray &antwort)
    {
        t->port.empfange(antwort);
        while (t->port.SThreshold() > 0)
            t->port.sendepufferLeer();
    }

private slots:
    void init() { t = std::make_unique<Stand>(); }

    // The image of each file, padded to whole pages; or the refusal with its
    // box and result, the image loaded before staying. A file too large is
    // refused by its size alone: sparse ones here.
    void dateilesen_data()
    {
        QTest::addColumn<QString>("datei");
        QTest::addColumn<int>("ergebnis");
        QTest::addColumn<QString>("box");
        QTest::addColumn<QByteArray>("bild");
        for (const int bytes : {1, 8191, 8192, 8193, 15 * 8192})
            QTest::addRow("%d bytes", bytes) << schreibe(QString::number(bytes), muster(bytes)) << 0 << QString()
                                             << aufSeitenGefuellt(muster(bytes));
        QTest::newRow("umlauts and spaces in the name") << schreibe("Größe über  Maß ä ß.dwq", muster(300)) << 0
                                                        << QString() << aufSeitenGefuellt(muster(300));
        const QString nichtGelesen = "KVXLoader: Die Datei wurde nicht gelesen !";
        const QByteArray vorher = aufSeitenGefuellt(muster(8193));
        QVERIFY(QDir(m_ordner.path()).mkdir("ordner.dwq"));
        QTest::newRow("directory") << m_ordner.filePath("ordner.dwq") << 2 << nichtGelesen << vorher;
        QCOMPARE(::mkfifo(qPrintable(m_ordner.filePath("fifo.dwq")), 0600), 0);
        // Held open for writing, so that a reader would see an empty file, not block.
        (void)::open(qPrintable(m_ordner.filePath("fifo.dwq")), O_RDWR | O_NONBLOCK);
        QTest::newRow("FIFO") << m_ordner.filePath("fifo.dwq") << 2 << nichtGelesen << vorher;
        QTest::newRow("device") << "/dev/zero" << 2 << nichtGelesen << vorher;
        QTest::newRow("gone after the dialog") << m_ordner.filePath("geloescht.dwq") << 2 << nichtGelesen << vorher;
        QTest::newRow("cancelled") << QString() << 2 << nichtGelesen << vorher;
        QTest::newRow("empty") << schreibe("leer.dwq", {}) << 3 << "KVXLoader: Die Datei ist leer !" << vorher;
        QTest::newRow("15 pages and one byte") << schreibe("zu gross.dwq", muster(15 * 8192 + 1)) << 1
                                               << "KVXLoader: Filesize too big !\r\nLen is  122881 Bytes" << vorher;
        QTest::newRow("largest 32-bit size") << schreibe("2 GiB - 1", {}, 0x7FFFFFFF) << 1
                                             << "KVXLoader: Filesize too big !\r\nLen is  2147483647 Bytes" << vorher;
        // Cut to 32 bits this would be one page.
        QTest::newRow("4 GiB and a page") << schreibe("4 GiB + 8192", {}, (qint64(4) << 30) + 8192) << 2
                                          << nichtGelesen << vorher;
    }

    void dateilesen()
    {
        QFETCH(QString, datei);
        QFETCH(int, ergebnis);
        QFETCH(QString, box);
        QFETCH(QByteArray, bild);
        t->dialoge.dateien.push_back(schreibe("vorher.dwq", muster(8193)));
        QCOMPARE(t->datei.dateilesen(), qint16(0));
        if (!datei.isEmpty())
            t->dialoge.dateien.push_back(datei);
        QCOMPARE(t->datei.dateilesen(), qint16(ergebnis));
        QCOMPARE(t->dialoge.boxen, box.isEmpty() ? QStringList() : QStringList{box});
        QCOMPARE(t->dialoge.letzteEinstellungen.Filter,
                 "DWQ files (*.dwq)|*.dwq|Intel HEX, S-Record, ELF (*.hex *.ihex *.srec *.s19 *.s28 *.s37 *.elf)|"
                 "*.hex;*.ihex;*.srec;*.s19;*.s28;*.s37;*.elf|(*.*)|*.*");
        QCOMPARE(t->datei.dateipuffer, bild);
        if (ergebnis == 0)
            QCOMPARE(t->anzeige.seitenzahl, bild.size() / 8192);
    }

    // Intel HEX, S-records and ELF from binutils and written by hand: the
    // image from address 0 they hold, gaps 0xFF; or the refusal with its
    // reason, the image loaded before staying. What only looks a little like
    // a record is a raw file.
    void formate_data()
    {
        QTest::addColumn<QByteArray>("datei");
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("grund");
        QTest::addColumn<QByteArray>("bild");
        const QByteArray r = muster(40000);
        const auto ab = [](int adresse, const QByteArray &bytes) { return QByteArray(adresse, '\xFF') + bytes; };
        const auto geladen = [](const char *name, const QByteArray &datei, const QByteArray &bild) {
            QTest::newRow(name) << datei << QString() << QString() << bild;
        };
        const auto abgelehnt = [](const char *name, const QByteArray &datei, const QString &grund) {
            QTest::newRow(name) << datei << "Die Datei wurde nicht gelesen !" << grund << QByteArray();
        };
        geladen("ihex", objcopy({"-O", "ihex"}, r.left(300)), r.left(300));
        geladen("ihex past 64 KiB (02), start (03), LF",
                objcopy({"-O", "ihex", "--change-addresses", "0x8000", "--set-start", "0x1234"}, r).replace("\r\n", "\n"),
                ab(0x8000, r));
        geladen("ihex: last byte of page 15 (04)", ":020000040001F9\n:01DFFF0041E0\n:00000001FF\n", ab(0x1DFFF, "A"));
        geladen("ihex: the same byte twice", ":0100000041BE\n:0100000041BE\n:00000001FF\n", "A");
        geladen("srec S1 and S9", objcopy({"-O", "srec", "--change-addresses", "0x100"}, r.left(300)), ab(0x100, r.left(300)));
        geladen("srec S2 and S8", objcopy({"-O", "srec", "--change-addresses", "0x10000"}, r.left(5000)),
                ab(0x10000, r.left(5000)));
        geladen("srec S3 and S7", objcopy({"-O", "srec", "--srec-forceS3"}, r.left(300)), r.left(300));
        geladen("elf32-little, loaded apart from where it runs",
                elf("elf32-little", "SECTIONS { .data 0x9000 : AT(0x2000) { *(.data) } }", r.left(3000)),
                ab(0x2000, r.left(3000)));
        geladen("elf64-big, memory beyond the file bytes",
                elf("elf64-big", "PHDRS { d PT_LOAD; } SECTIONS { .data 0x100 : { *(.data) } :d .bss : { . += 9; } :d }",
                    r.left(3000)),
                ab(0x100, r.left(3000)));
        QTest::newRow("ihex: beyond page 15") << QByteArray(":020000040001F9\n:01E0000041DE\n:00000001FF\n")
                                              << "Filesize too big !\r\nLen is  122881 Bytes"
                                              << "Höchste Adresse: 0x0001E000" << QByteArray();
        abgelehnt("ihex: text after the only record", ":0100000041BE is no record\n", "Zeile 1: kein gültiger Datensatz.");
        abgelehnt("ihex: bad checksum", ":0100000041BE\n:0100010042BD\n:00000001FF\n", "Zeile 2: Prüfsumme falsch.");
        abgelehnt("ihex: other bytes at an address", ":0100000041BE\r\n:0100000042BD\r\n:00000001FF\r\n",
                  "Zeile 2: Adresse 0x00000000 ist schon mit anderen Bytes belegt.");
        abgelehnt("ihex: cut off", ":0100000041BE\n\n:0100010042", "Zeile 3: Datensatz unvollständig.");
        abgelehnt("ihex: two files in one", ":0100000041BE\n:00000001FF\n:0100010042BC\n:00000001FF\n",
                  "Zeile 3: Datensatz nach dem Schlussdatensatz.");
        abgelehnt("ihex: no end record", ":0100000041BE\n", "Der Schlussdatensatz fehlt: die Datei ist unvollständig.");
        abgelehnt("srec: bad checksum", "S104000041BB\n", "Zeile 1: Prüfsumme falsch.");
        abgelehnt("srec: record count", "S104000041BA\nS5030002FA\n", "Zeile 2: Die Zahl der Datensätze stimmt nicht.");
        abgelehnt("elf: no program headers", objcopy({"-O", "elf32-little"}, r.left(300)),
                  "Die Datei enthält keine Bytes für den Flash.");
        abgelehnt("elf: segment beyond the file end",
                  elf("elf32-big", "SECTIONS { .data 0 : { *(.data) } }", r.left(300)).left(0x60),
                  "Segment 0: reicht über das Dateiende hinaus.");
        abgelehnt("elf: header cut off", QByteArray("\x7F" "ELF\x01\x02\x01", 7),
                  "Der ELF-Kopf ist unvollständig oder fehlerhaft.");
    }

    void formate()
    {
        QFETCH(QByteArray, datei);
        QFETCH(QString, box);
        QFETCH(QString, grund);
        QFETCH(QByteArray, bild);
        if (datei.isEmpty())
            QSKIP("objcopy and ld from GNU binutils are not installed");
        QCOMPARE(t->datei.aufbereiten({muster(8193), 8193, {}}, "vorher"), qint16(0));
        const qint16 ergebnis = t->datei.aufbereiten({datei, datei.size(), {}}, "datei");
        QCOMPARE(ergebnis, qint16(box.isEmpty() ? 0 : box.startsWith("Filesize") ? 1 : 2));
        QCOMPARE(t->dialoge.boxen, box.isEmpty() ? QStringList() : QStringList{"KVXLoader: " + box});
        QCOMPARE(t->dialoge.erlaeuterungen, grund.isEmpty() ? QStringList() : QStringList{grund});
        const QByteArray erwartet = aufSeitenGefuellt(box.isEmpty() ? bild : muster(8193));
        QCOMPARE(t->datei.dateipuffer, erwartet);
        QCOMPARE(t->datei.crcwert, crcString(erwartet));
    }

    // An image of one page: the line, and what the user sees on the way.
    void einSeite()
    {
        klicke(100);
        QCOMPARE(t->anzeige.status, "Hochladen...");
        QVERIFY(!t->anzeige.uploadEnabled);
        for (const QByteArray antwort : {"X", "\r", "anything", "\r"})   // only "e" and the page need CR
            antworte(antwort);
        t->port.empfange(crcString(m_bild).left(3));                       // three of four raise nothing
        QCOMPARE(t->anzeige.status, "Prüfen...");
        t->port.empfange(crcString(m_bild).mid(3));
        QCOMPARE(t->port.gesendet, leitung(m_bild));
        QCOMPARE(t->anzeige.status, "Update erfolgreich ausgeführt !");
        QVERIFY(t->anzeige.uploadEnabled);
        QCOMPARE(t->anzeige.fortschritt, (QList<int>{0, 1, 0}));
        QVERIFY(t->dialoge.boxen.isEmpty());
    }

    void fuenfzehnSeiten()
    {
        klicke(15 * 8192);
        for (int schritt = 0; schritt < 18; ++schritt)
            antworte("\r");
        antworte(crcString(m_bild) + '\r');   // a fifth character spoils the answer
        QCOMPARE(t->anzeige.status, "Update fehlgeschlagen !");
        QVERIFY(t->anzeige.uploadEnabled);
        QCOMPARE(t->port.gesendet, leitung(m_bild));
        QCOMPARE(t->anzeige.fortschritt, QList<int>({0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 0}));
    }

    // The answer after `schritte` good answers to an upload of two pages:
    // whether it shows the error box, and the good answer that carries the
    // upload on from there.
    void antworten_data()
    {
        QTest::addColumn<int>("schritte");
        QTest::addColumn<QByteArray>("antwort");
        QTest::addColumn<bool>("fehlerbox");
        QTest::addColumn<int>("weiter");
        QTest::newRow("P: any text") << 0 << QByteArray("x") << false << 1;
        QTest::newRow("e: no CR") << 1 << QByteArray("x\r") << true << 1;
        QTest::newRow("e: CR and more") << 1 << QByteArray("\rmore") << false << 2;
        QTest::newRow("address: any text") << 2 << QByteArray("x") << false << 3;
        QTest::newRow("page 1: any text") << 3 << QByteArray("x") << false << 4;
        QTest::newRow("last page: no CR") << 4 << QByteArray("?\r") << true << 4;
        QTest::newRow("last page: CR") << 4 << QByteArray("\r") << false << 5;
        QTest::newRow("after the end: CR") << 6 << QByteArray("\rZZZ") << false << 6;
        QTest::newRow("after the end: other") << 6 << QByteArray("?abc") << true << 6;
    }

    void antworten()
    {
        QFETCH(int, schritte);
        QFETCH(QByteArray, antwort);
        QFETCH(bool, fehlerbox);
        QFETCH(int, weiter);
        klicke(2 * 8192);
        for (int schritt = 0; schritt < schritte; ++schritt)
            antworte(schritt < 5 ? "\r" : crcString(m_bild));
        const QByteArray bisher = t->port.gesendet;
        antworte(antwort);
        QCOMPARE(t->dialoge.boxen, fehlerbox ? QStringList{"KVXLoader: Es ist ein Fehler aufgetreten !"} : QStringList());
        if (fehlerbox)
            QCOMPARE(t->port.gesendet, bisher);
        // Whatever came between, CRs and the board's CRC finish the upload cleanly.
        for (int schritt = weiter; schritt < 6; ++schritt)
            antworte(schritt < 5 ? "\r" : crcString(m_bild));
        QCOMPARE(t->port.gesendet, leitung(m_bild));
        QCOMPARE(t->anzeige.status, "Update erfolgreich ausgeführt !");
    }

    // An answer while a page is handed over cannot be its acknowledgement.
    void frueheAntwort()
    {
        klicke(2 * 8192);
        for (const char *antwort : {"\r", "\r", "\r"})
            t->port.empfange(antwort);
        t->port.sendepufferLeer();
        t->port.empfange("\r");
        antworte({});                              // the rest of page 1
        for (const QByteArray &antwort : {QByteArray("\r"), QByteArray("\r"), crcString(m_bild)})
            antworte(antwort);
        QCOMPARE(t->port.gesendet, leitung(m_bild));
        QCOMPARE(t->anzeige.status, "Update erfolgreich ausgeführt !");
    }

    void vorbereitungScheitert()
    {
        t->upload.Upload_Click();                  // Cancel
        QVERIFY(t->port.gesendet.isEmpty());
        QVERIFY(t->anzeige.uploadEnabled);
        QCOMPARE(t->anzeige.status, QString());
        QCOMPARE(t->upload.uploadstatus, quint8(Uploadablauf::kein_upload));
    }
};

QTEST_GUILESS_MAIN(TestUploadablauf)
#include "tst_uploadablauf.moc"
