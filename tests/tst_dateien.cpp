// Update files through the file dialog into the image: the good ones padded
// to whole pages with their CRC, the bad ones refused at once with their
// message and result, without reading what need not be read.

#include "boardprotocol.h"
#include "prueffenster.h"
#include "core/texte.h"

#include <QProgressBar>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// What this process has read so far, in bytes (rchar of /proc/self/io), or
// -1 where the system does not count it.
qint64 gelesen()
{
    QFile io(QStringLiteral("/proc/self/io"));
    if (!io.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &zeile : io.readAll().split('\n')) {
        if (zeile.startsWith("rchar:"))
            return zeile.mid(6).trimmed().toLongLong();
    }
    return -1;
}

QByteArray inhalt(qsizetype bytes)
{
    QByteArray b(bytes, Qt::Uninitialized);
    for (qsizetype i = 0; i < bytes; ++i)
        b[i] = char(i * 37 + i / 8192 + 11);
    return b;
}

// The CRC string from the simulated board's own CRC-32.
QByteArray crcDerPlatine(const QByteArray &bild)
{
    const std::uint32_t c = kvxsim::crc32(bild.toStdString());
    return QByteArray::fromHex(QByteArray::number(c, 16).rightJustified(8, '0'));
}

} // namespace

class TestDateien : public QObject
{
    Q_OBJECT

    QTemporaryDir m_ordner;
    int m_fifoSchreibseite = -1;

    QString pfad(const QString &name) const { return m_ordner.filePath(name); }

    QString schreibe(const QString &name, const QByteArray &bytes) const
    {
        QFile datei(pfad(name));
        datei.open(QIODevice::WriteOnly);
        datei.write(bytes);
        return datei.fileName();
    }

    // A file of `groesse` bytes with no data on disk: made without writing, refused without reading.
    QString duennBesetzt(const QString &name, qint64 groesse) const
    {
        QFile datei(pfad(name));
        datei.open(QIODevice::WriteOnly);
        datei.resize(groesse);
        return datei.fileName();
    }

    // The window after start-up, with an image of 8193 bytes already loaded.
    void mitGeladenemBild(Pruefstand &p) const
    {
        p.fenster.Form_Load();   // no board: its port message is not what these tests are about
        p.dialoge.meldungen.clear();
        p.dialoge.titel_.clear();
        p.dialoge.dateien.push_back(schreibe(QStringLiteral("vorher.dwq"), inhalt(8193)));
        QCOMPARE(p.fenster.datei.dateilesen(), qint16(0));
    }

private slots:
    void initTestCase() { QVERIFY(m_ordner.isValid()); }
    void cleanupTestCase()
    {
        if (m_fifoSchreibseite >= 0)
            ::close(m_fifoSchreibseite);
    }

    void angenommen_data()
    {
        QTest::addColumn<QString>("datei");
        QTest::addColumn<int>("bytes");
        QTest::addColumn<int>("fuellbytes");
        for (const int bytes : {1, 8191, 8192, 8193, 15 * 8192}) {
            const int fuellbytes = (8192 - bytes % 8192) % 8192;
            QTest::addRow("%d bytes", bytes) << schreibe(QString::number(bytes), inhalt(bytes)) << bytes << fuellbytes;
        }
        QTest::newRow("umlauts and spaces in the name")
            << schreibe(QStringLiteral("Größe über  Maß ä ß.dwq"), inhalt(300)) << 300 << 8192 - 300;
    }

    void angenommen()
    {
        QFETCH(QString, datei);
        QFETCH(int, bytes);
        QFETCH(int, fuellbytes);
        Pruefstand p;
        mitGeladenemBild(p);
        p.dialoge.dateien.push_back(datei);
        QCOMPARE(p.fenster.datei.dateilesen(), qint16(0));
        QVERIFY(p.dialoge.meldungen.isEmpty());

        const QByteArray bild = inhalt(bytes) + QByteArray(fuellbytes, '\xFF');
        const Updatedatei &d = p.fenster.datei;
        QCOMPARE(d.dateipuffer, bild);
        QCOMPARE(d.pufferlaenge, bild.size());
        QCOMPARE(d.dateigroesse, bytes);
        QCOMPARE(d.seitenzahl(), bild.size() / 8192);
        QCOMPARE(p.fenster.ProgressBar2->maximum(), bild.size() / 8192);
        QCOMPARE(d.crcwert, crcDerPlatine(bild));
    }

    void abgelehnt_data()
    {
        QTest::addColumn<QString>("datei");
        QTest::addColumn<int>("ergebnis");
        QTest::addColumn<QString>("meldung");
        const QString nichtGelesen = Texte::dateiNichtGelesen;

        QVERIFY(QDir(m_ordner.path()).mkdir("ordner.dwq"));
        QTest::newRow("directory") << pfad("ordner.dwq") << 2 << nichtGelesen;
        QVERIFY(QFile::link(pfad("gibt es nicht"), pfad("verwaist.dwq")));
        QTest::newRow("dangling link") << pfad("verwaist.dwq") << 2 << nichtGelesen;
        QVERIFY(QFile::link(pfad("ordner.dwq"), pfad("zum ordner.dwq")));
        QTest::newRow("link to a directory") << pfad("zum ordner.dwq") << 2 << nichtGelesen;
        // Held open for writing, so that a reader that opens it is not blocked
        // but sees an empty file, which would give another result.
        QCOMPARE(::mkfifo(qPrintable(pfad("fifo.dwq")), 0600), 0);
        m_fifoSchreibseite = ::open(qPrintable(pfad("fifo.dwq")), O_RDWR | O_NONBLOCK);
        QTest::newRow("FIFO") << pfad("fifo.dwq") << 2 << nichtGelesen;
        QTest::newRow("device") << QStringLiteral("/dev/zero") << 2 << nichtGelesen;
        // The dialog offered it; it was gone when it was to be read.
        QTest::newRow("deleted after the dialog") << pfad("geloescht.dwq") << 2 << nichtGelesen;
        if (::geteuid() != 0) {
            const QString gesperrt = schreibe("gesperrt.dwq", inhalt(100));
            QFile::setPermissions(gesperrt, QFileDevice::WriteOwner);
            QTest::newRow("no read permission") << gesperrt << 2 << nichtGelesen;
        }

        QTest::newRow("empty") << schreibe("leer.dwq", {}) << 3 << Texte::dateiLeer;
        QTest::newRow("15 pages and one byte") << schreibe("zu gross.dwq", inhalt(15 * 8192 + 1)) << 1
                                               << "Filesize too big !\r\nLen is  122881 Bytes";
        QTest::newRow("largest 32-bit size") << duennBesetzt("2 GiB - 1", 0x7FFFFFFF) << 1
                                             << "Filesize too big !\r\nLen is  2147483647 Bytes";
        QTest::newRow("2 GiB") << duennBesetzt("2 GiB", 0x80000000) << 2 << nichtGelesen;
        QTest::newRow("3 GiB") << duennBesetzt("3 GiB", qint64(3) << 30) << 2 << nichtGelesen;
        // Cut to 32 bits this would be one page.
        QTest::newRow("4 GiB and a page") << duennBesetzt("4 GiB + 8192", (qint64(4) << 30) + 8192) << 2
                                          << nichtGelesen;
    }

    void abgelehnt()
    {
        QFETCH(QString, datei);
        QFETCH(int, ergebnis);
        QFETCH(QString, meldung);
        Pruefstand p;
        mitGeladenemBild(p);
        const Updatedatei vorher = p.fenster.datei;

        p.dialoge.dateien.push_back(datei);
        const qint64 gelesenVorher = gelesen();
        QCOMPARE(p.fenster.datei.dateilesen(), qint16(ergebnis));
        if (gelesenVorher >= 0)
            QVERIFY2(gelesen() - gelesenVorher < 65536, "the refused file was read");
        QCOMPARE(p.dialoge.meldungen, QStringList{meldung});
        QCOMPARE(p.dialoge.titel_, QStringList{Texte::programmTitel});

        // The image loaded before stays, ready for the next click.
        const Updatedatei &d = p.fenster.datei;
        QCOMPARE(d.dateipuffer, vorher.dateipuffer);
        QCOMPARE(d.pufferlaenge, vorher.pufferlaenge);
        QCOMPARE(d.dateigroesse, vorher.dateigroesse);
        QCOMPARE(d.crcwert, vorher.crcwert);
    }

    void abbruchImDialog()
    {
        Pruefstand p;
        mitGeladenemBild(p);
        const QByteArray bild = p.fenster.datei.dateipuffer;
        const QByteArray crc = p.fenster.datei.crcwert;

        QCOMPARE(p.fenster.datei.dateilesen(), qint16(2));   // nothing queued: Cancel
        QCOMPARE(p.dialoge.meldungen, QStringList{Texte::dateiNichtGelesen});
        QCOMPARE(p.fenster.datei.dateipuffer, bild);
        QCOMPARE(p.fenster.datei.crcwert, crc);
        QCOMPARE(p.fenster.datei.dateigroesse, 8193);

        const CommonDialogSettings &dialog = p.dialoge.letzteEinstellungen;
        QVERIFY(dialog.CancelError);
        QCOMPARE(dialog.Flags, 4100);
        QCOMPARE(dialog.Filter, QStringLiteral("DWQ files (*.dwq)|*.dwq|(*.*)|*.*"));
        QCOMPARE(dialog.DefaultExt, QStringLiteral(".dwq"));
        QCOMPARE(dialog.FileName, QString());
        QCOMPARE(dialog.FilterIndex, 1);
    }
};

QTEST_MAIN(TestDateien)
#include "tst_dateien.moc"
