// The building blocks: CRC-32, the port field's number reading and the
// baud-rate setter on a real pseudo-terminal.

#include "serial/portliste.h"
#include "serial/qtcomport.h"
#include "serial/w32comms.h"
#include "serial/zahlenwert.h"
#include "update/crc32.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

namespace {

// A port as the setter sees it, counting how often its handle is asked for.
struct PtyHandle : PortHandle
{
    bool PortOpen() const override { return offen; }
    std::intptr_t CommID() const override { ++handleAbfragen; return fd; }
    std::string Name() const override { return "irda"; }

    bool offen = true;
    int fd = -1;
    mutable int handleAbfragen = 0;
};

int fehlernummer(const PortHandle &port, std::int32_t bitrate)
{
    try {
        W32Comms::SetPortBaudRate(port, bitrate);
    } catch (const CommError &e) {
        if (e.source != "irda")
            return -1;
        return e.number;
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
        QTest::newRow("abc") << QByteArray("abc") << QByteArray::fromHex("352441C2");
        QTest::newRow("empty") << QByteArray() << QByteArray(4, '\0');
        QTest::newRow("0xFF unsigned") << QByteArray(1, '\xFF') << QByteArray::fromHex("FF000000");
        QTest::newRow("one erased page") << QByteArray(8192, '\xFF') << QByteArray::fromHex("B4293435");
    }

    void crc32()
    {
        QFETCH(QByteArray, eingabe);
        QFETCH(QByteArray, crc);
        Crc32 rechner;
        rechner.CRCInit(Crc32::standardPolynomial);
        QCOMPARE(rechner.crc32(eingabe), crc);
    }

    void zahlenwert_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("wert");
        QTest::newRow("plain") << "7" << 7.0;
        QTest::newRow("leading zeros") << "007" << 7.0;
        QTest::newRow("shown with its blank") << " 3" << 3.0;
        QTest::newRow("blanks inside") << "1 2" << 12.0;
        QTest::newRow("tab and line feed") << "\t1\n5" << 15.0;
        QTest::newRow("stops at a letter") << "3abc" << 3.0;
        QTest::newRow("no number") << "abc" << 0.0;
        QTest::newRow("empty") << "" << 0.0;
        QTest::newRow("fraction") << "2.5" << 2.5;
        QTest::newRow("second point stops") << "2.5.1" << 2.5;
        QTest::newRow("sign") << "-3" << -3.0;
        QTest::newRow("lone sign") << "+" << 0.0;
        QTest::newRow("exponent") << "1e1" << 10.0;
        QTest::newRow("exponent with D") << "15D-1" << 1.5;
        QTest::newRow("exponent without digits") << "4e" << 4.0;
        QTest::newRow("comma stops") << "1,5" << 1.0;
        QTest::newRow("umlaut stops") << "2ü0" << 2.0;
    }

    void zahlenwert()
    {
        QFETCH(QString, text);
        QFETCH(double, wert);
        QCOMPARE(::zahlenwert(text), wert);
    }

    void bitrateAufPty()
    {
        int master = -1, slave = -1;
        QVERIFY(openpty(&master, &slave, nullptr, nullptr, nullptr) == 0);
        termios vorher{};
        tcgetattr(slave, &vorher);
        cfmakeraw(&vorher);
        vorher.c_cflag |= CSTOPB | PARENB;
        cfsetspeed(&vorher, B9600);
        QCOMPARE(tcsetattr(slave, TCSANOW, &vorher), 0);
        tcgetattr(slave, &vorher);

        PtyHandle port;
        port.fd = slave;
        QCOMPARE(fehlernummer(port, 115200), 0);
        termios nachher{};
        tcgetattr(slave, &nachher);
        QCOMPARE(cfgetospeed(&nachher), speed_t(B115200));
        QCOMPARE(cfgetispeed(&nachher), speed_t(B115200));
        cfsetspeed(&nachher, B9600);
        QCOMPARE(nachher.c_cflag, vorher.c_cflag);
        QCOMPARE(nachher.c_iflag, vorher.c_iflag);
        QCOMPARE(nachher.c_oflag, vorher.c_oflag);
        QCOMPARE(nachher.c_lflag, vorher.c_lflag);

        QCOMPARE(fehlernummer(port, 12345), 8015);  // no such rate on this system
        close(master);
        close(slave);
        QCOMPARE(fehlernummer(port, 115200), 8021);  // reading the settings fails

        port.offen = false;
        port.handleAbfragen = 0;
        QCOMPARE(fehlernummer(port, 115200), 8018);
        QCOMPARE(port.handleAbfragen, 0);
    }

    // The port on a pseudo-terminal: every byte value both ways, and events
    // only at the thresholds.
    void portUndSchwellen()
    {
        int master = -1, slave = -1;
        char name[256];
        QVERIFY(openpty(&master, &slave, name, nullptr, nullptr) == 0);
        QTemporaryDir ordner;
        QVERIFY(QFile::link(QString::fromLocal8Bit(name), ordner.filePath("COM5")));
        qputenv("KVXLOADER_PORT_DIR", ordner.path().toLocal8Bit());
        QtComPort port;
        port.setCommPort(5);
        port.setPortOpen(true);
        QVERIFY(port.PortOpen());
        QSignalSpy ereignisse(&port, &ComPort::OnComm);
        QList<qint16> arten;
        connect(&port, &ComPort::OnComm, [&] { arten << port.CommEvent(); });

        QByteArray alleBytes(256, '\0');
        for (int b = 0; b < 256; ++b)
            alleBytes[b] = char(b);
        port.setSThreshold(1);
        port.Output(alleBytes);
        QVERIFY(ereignisse.isEmpty());              // never inside the call
        QTRY_COMPARE(arten, QList<qint16>{ComPort::comEvSend});
        QByteArray gelesen;
        fcntl(master, F_SETFL, O_NONBLOCK);
        const auto lies = [&] {
            char puffer[512];
            const ssize_t n = read(master, puffer, sizeof puffer);
            gelesen.append(puffer, qMax<ssize_t>(n, 0));
            return gelesen;
        };
        QTRY_COMPARE(lies(), alleBytes);
        port.setSThreshold(0);

        // No receive events at threshold 0; the bytes wait for Input.
        QCOMPARE(write(master, alleBytes.constData(), 256), ssize_t(256));
        QTRY_COMPARE(port.InBufferCount(), qint16(256));
        QCOMPARE(arten.size(), 1);
        QCOMPARE(port.Input(), alleBytes);
        QCOMPARE(port.InBufferCount(), qint16(0));

        // Threshold 4: three bytes raise nothing, the fourth does.
        port.setRThreshold(4);
        QCOMPARE(write(master, "abc", 3), ssize_t(3));
        QTRY_COMPARE(port.InBufferCount(), qint16(3));
        QTest::qWait(50);
        QCOMPARE(arten.size(), 1);
        QCOMPARE(write(master, "d", 1), ssize_t(1));
        QTRY_COMPARE(arten.size(), 2);
        QCOMPARE(arten.last(), qint16(ComPort::comEvReceive));
        port.setInBufferCount(0);
        QCOMPARE(port.InBufferCount(), qint16(0));

        port.setPortOpen(false);
        QSignalSpy verloren(&port, &ComPort::portFailed);
        port.Output("x");                           // writing to a closed port is a failure
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
        for (const char *datei : {"COM12", "COM2", "COM20", "COM21", "COM"})
            QVERIFY(QFile::link(pty, ordner.filePath(datei)));
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
