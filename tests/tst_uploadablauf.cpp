// The update image through the file dialog, and the upload state machine
// against a scripted port: the bytes on the line, answers judged in every state.

#include "bild.h"
#include "fakecomport.h"
#include "testdialoge.h"
#include "update/crc32.h"
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
        QCOMPARE(t->dialoge.letzteEinstellungen.Filter, "DWQ files (*.dwq)|*.dwq|(*.*)|*.*");
        QCOMPARE(t->datei.dateipuffer, bild);
        if (ergebnis == 0)
            QCOMPARE(t->anzeige.seitenzahl, bild.size() / 8192);
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
