// The building blocks: CRC-32, the port field's number reading, port names,
// and the serial port with its baud-rate setter on a real pseudo-terminal.

#include "bild.h"
#include "serial/portliste.h"
#include "serial/portnamen.h"
#include "serial/qtcomport.h"
#include "serial/w32comms.h"
#include "serial/zahlenwert.h"
#include "update/crc32.h"

#include <QSignalSpy>
#include <QSocketNotifier>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <pty.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace {

// A port as the setter sees it.
struct PtyHandle : PortHandle
{
    bool PortOpen() const override { return offen; }
    std::intptr_t CommID() const override { return fd; }
    std::string Name() const override { return "irda"; }

    bool offen = true;
    int fd = -1;
};

// The error number the setter raises (source "irda"), 0 for none.
int fehlernummer(const PortHandle &port, std::int32_t bitrate)
{
    try {
        W32Comms::SetPortBaudRate(port, bitrate);
    } catch (const CommError &e) {
        return e.source == "irda" ? e.number : -1;
    }
    return 0;
}

} // namespace

class TestGrundlagen : public QObject
{
    Q_OBJECT

private slots:
    void crc32_data()
    {
        QTest::addColumn<QByteArray>("eingabe");
        QTest::addColumn<QByteArray>("crc");
        QTest::newRow("check value") << QByteArray("123456789") << QByteArray::fromHex("CBF43926");
        QTest::newRow("empty") << QByteArray() << QByteArray(4, '\0');
        QTest::newRow("0xFF unsigned") << QByteArray(1, '\xFF') << QByteArray::fromHex("FF000000");
        const QByteArray bild = muster(15 * 8192);
        QTest::newRow("15 pages, zlib") << bild << crcString(bild);
    }

    void crc32()
    {
        QFETCH(QByteArray, eingabe);
        QFETCH(QByteArray, crc);
        Crc32 rechner;
        rechner.CRCInit(0xEDB88320);
        QCOMPARE(rechner.crc32(eingabe), crc);
    }

    void zahlenwert_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("wert");
        QTest::newRow("leading zeros") << "007" << 7.0;
        QTest::newRow("tab and line feed inside") << "\t1\n5" << 15.0;
        QTest::newRow("no number") << "abc" << 0.0;
        QTest::newRow("empty") << "" << 0.0;
        QTest::newRow("second point stops") << "2.5.1" << 2.5;
        QTest::newRow("sign") << "-3" << -3.0;
        QTest::newRow("exponent with D") << "15D-1" << 1.5;
        QTest::newRow("exponent without digits") << "4e" << 4.0;
        QTest::newRow("comma stops") << "1,5" << 1.0;
        QTest::newRow("umlaut stops") << "2ü0" << 2.0;
        QTest::newRow("largest power of ten") << "1e308" << 1e308;
        QTest::newRow("just beyond the largest double") << "1.8e308" << qInf();
        QTest::newRow("negative, beyond") << "-1 e 309" << -qInf();
        QTest::newRow("smallest subnormal") << "5e-324" << 5e-324;
        QTest::newRow("below every double") << "1e-400" << 0.0;
        QTest::newRow("tiny digits, huge exponent") << "0." + QString(100002, '0') + "1e100005" << 100.0;
        QTest::newRow("huge digits, tiny exponent") << "1" + QString(200000, '0') + "e-200000" << 1.0;
        QTest::newRow("exponent beyond 64 bits") << "1e99999999999999999999" << qInf();
    }

    void zahlenwert()
    {
        QFETCH(QString, text);
        QFETCH(double, wert);
        QCOMPARE(::zahlenwert(text), wert);
    }

    // COM n on Linux: the n-th USB serial device counted from 0, or the link in the given folder.
    void portnamen()
    {
        qputenv("KVXLOADER_PORT_DIR", "");
        const QStringList namen{systemPortName(1), systemPortName(3), systemPortName(20)};
        QCOMPARE(namen, QStringList({"/dev/ttyUSB0", "/dev/ttyUSB2", "/dev/ttyUSB19"}));
        qputenv("KVXLOADER_PORT_DIR", "/tmp/kvx");
        QCOMPARE(systemPortName(20), "/tmp/kvx/COM20");
    }

    void bitrateAufPty()
    {
        int master = -1, slave = -1;
        QVERIFY(openpty(&master, &slave, nullptr, nullptr, nullptr) == 0);
        termios vorher{};
        tcgetattr(slave, &vorher);
        PtyHandle port;
        port.fd = slave;
        QCOMPARE(fehlernummer(port, 115200), 0);
        termios nachher{};
        tcgetattr(slave, &nachher);
        QCOMPARE(cfgetospeed(&nachher), speed_t(B115200));
        QCOMPARE(cfgetispeed(&nachher), speed_t(B115200));
        QCOMPARE(nachher.c_lflag, vorher.c_lflag);   // all else as it was

        QCOMPARE(fehlernummer(port, 12345), 8015);   // no such rate on this system
        close(master);
        close(slave);
        QCOMPARE(fehlernummer(port, 115200), 8021);  // reading the settings fails
        port.offen = false;
        QCOMPARE(fehlernummer(port, 115200), 8018);
    }

    // The port on a pseudo-terminal: every byte value both ways, a send event
    // only once all is out of the transmit buffer, receive events only at the
    // threshold, and never inside a call.
    void portUndSchwellen()
    {
        int master = -1, slave = -1;
        char name[256];
        QVERIFY(openpty(&master, &slave, name, nullptr, nullptr) == 0);
        fcntl(master, F_SETFL, O_NONBLOCK);
        QTemporaryDir ordner;
        QVERIFY(QFile::link(QString::fromLocal8Bit(name), ordner.filePath("COM5")));
        qputenv("KVXLOADER_PORT_DIR", ordner.path().toLocal8Bit());
        QtComPort port;
        port.setCommPort(5);
        port.setPortOpen(true);
        QVERIFY(port.PortOpen());
        QList<qint16> ereignisse;
        connect(&port, &ComPort::OnComm, [&] { ereignisse << port.CommEvent(); });

        // Far more than the line holds: nothing is reported while the rest waits.
        const QByteArray viel = muster(256 * 1024);
        port.setSThreshold(1);
        port.Output(viel);
        QTest::qWait(300);
        QVERIFY(ereignisse.isEmpty());
        QByteArray gelesen;
        QSocketNotifier lesbar(master, QSocketNotifier::Read);
        connect(&lesbar, &QSocketNotifier::activated, [&] {
            char puffer[65536];
            for (ssize_t n; (n = read(master, puffer, sizeof puffer)) > 0;)
                gelesen.append(puffer, n);
        });
        QTRY_COMPARE(gelesen.size(), viel.size());
        QCOMPARE(gelesen, viel);
        QTRY_VERIFY(!ereignisse.isEmpty());
        QCOMPARE(ereignisse.count(ComPort::comEvSend), ereignisse.size());
        port.setSThreshold(0);
        lesbar.setEnabled(false);
        ereignisse.clear();

        // No receive events at threshold 0; the bytes wait for Input. At
        // threshold 4, three bytes raise nothing, the fourth does.
        QCOMPARE(write(master, "\0\xFF\r", 3), ssize_t(3));
        QTRY_COMPARE(port.InBufferCount(), qint16(3));
        QCOMPARE(port.Input(), QByteArray("\0\xFF\r", 3));
        port.setRThreshold(4);
        QCOMPARE(write(master, "abc", 3), ssize_t(3));
        QTRY_COMPARE(port.InBufferCount(), qint16(3));
        QTest::qWait(50);
        QVERIFY(ereignisse.isEmpty());
        QCOMPARE(write(master, "d", 1), ssize_t(1));
        QTRY_COMPARE(ereignisse, QList<qint16>{ComPort::comEvReceive});
        port.setInBufferCount(0);
        QCOMPARE(port.InBufferCount(), qint16(0));

        // A board that floods a port nobody reads: the port keeps no more than 64 KiB.
        port.setRThreshold(0);
        const QByteArray flut(1024 * 1024, '~');
        qint64 gesendet = 0;
        for (int stillstand = 0; gesendet < flut.size() && stillstand < 10;) {
            const ssize_t n = write(master, flut.constData() + gesendet, size_t(flut.size() - gesendet));
            gesendet += qMax<ssize_t>(n, 0);
            stillstand = n > 0 ? 0 : stillstand + 1;
            QTest::qWait(n > 0 ? 0 : 50);
        }
        QVERIFY(port.Input().size() <= 64 * 1024);

        port.setPortOpen(false);
        QSignalSpy verloren(&port, &ComPort::portFailed);
        port.Output("x");                            // writing to a closed port is a failure
        QTRY_COMPARE(verloren.size(), 1);
        close(master);
        close(slave);
    }

    // The port folder's COM<n> entries that lead somewhere, by number, the
    // ones the field cannot reach (and every system port) at the end.
    void vorhandenePortsImPortordner()
    {
        int master = -1, slave = -1;
        char name[256];
        QVERIFY(openpty(&master, &slave, name, nullptr, nullptr) == 0);
        const QString pty = QString::fromLocal8Bit(name);
        QTemporaryDir ordner;
        for (const char *datei : {"COM2", "COM20", "COM21", "COM"})
            QVERIFY(QFile::link(pty, ordner.filePath(datei)));
        struct stat geraet = {};
        QVERIFY(stat(name, &geraet) == 0);  // a device node of its own, not a link
        QVERIFY(mknod(qPrintable(ordner.filePath("COM12")), S_IFCHR | 0600, geraet.st_rdev) == 0);
        QVERIFY(QFile::link(ordner.filePath("fehlt"), ordner.filePath("COM5")));   // dangling
        QFile notiz(ordner.filePath("COM7.txt"));
        QVERIFY(notiz.open(QIODevice::WriteOnly));
        qputenv("KVXLOADER_PORT_DIR", ordner.path().toLocal8Bit());

        QStringList gefunden;
        for (const VorhandenerPort &port : vorhandenePorts()) {
            if (port.comNummer > 0 || port.geraet.startsWith(ordner.path()))
                gefunden << QString::number(port.comNummer) + "=" + port.geraet.mid(ordner.path().size());
        }
        QCOMPARE(gefunden, (QStringList{"2=/COM2", "12=/COM12", "20=/COM20", "0=/COM21"}));
        close(master);
        close(slave);
    }
};

QTEST_GUILESS_MAIN(TestGrundlagen)
#include "tst_grundlagen.moc"
