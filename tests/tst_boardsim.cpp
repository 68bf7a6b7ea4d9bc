// Test of the simulated board kvxboard-sim: the protocol core and the pty runner.
#include "boardprotocol.h"
#include "ptyboard.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

using kvxsim::BoardOptions;
using kvxsim::BoardProtocol;

namespace {

std::string answers(BoardProtocol &b, const std::string &bytes)
{
    std::string out;
    for (const auto &r : b.feed(bytes))
        out += r.data;
    return out;
}

std::string page(char seed)
{
    std::string p(BoardProtocol::kPageSize, '\0');
    for (std::size_t i = 0; i < p.size(); ++i)
        p[i] = char(seed + i * 7);
    return p;
}

std::string crcBytes(std::uint32_t c)
{
    return {char(c >> 24), char(c >> 16), char(c >> 8), char(c)};
}

std::string hex8(std::uint32_t c) { return QString::asprintf("%08X", c).toStdString(); }

// Host side of the pty: plain POSIX.
int openPort(const QString &path)
{
    int fd = ::open(path.toLocal8Bit().constData(), O_RDWR | O_NOCTTY);
    if (fd >= 0) {
        termios t{};
        ::tcgetattr(fd, &t);
        ::cfmakeraw(&t);
        ::tcsetattr(fd, TCSANOW, &t);
    }
    return fd;
}

// Reads until n bytes came, the line ended (-1 then) or the timeout passed.
int readBytes(int fd, std::string &out, std::size_t n, int timeoutMs)
{
    QElapsedTimer t;
    t.start();
    while (out.size() < n && t.elapsed() < timeoutMs) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 50) <= 0)
            continue;
        char buf[256];
        ssize_t r = ::read(fd, buf, sizeof buf);
        if (r <= 0)
            return -1;
        out.append(buf, std::size_t(r));
    }
    return int(out.size());
}

} // namespace

class TstBoardSim : public QObject {
    Q_OBJECT
private slots:
    void crc32Known()
    {
        QCOMPARE(kvxsim::crc32(std::string("123456789")), 0xCBF43926u);
        QCOMPARE(kvxsim::crc32(std::string("abc")), 0x352441C2u);
    }

    void fullExchangeTwoPages()
    {
        BoardProtocol b;
        const std::string p1 = page(1), p2 = page(2);
        QCOMPARE(answers(b, "S"), std::string("AVRB128"));
        QCOMPARE(answers(b, "P"), std::string("\r"));
        QCOMPARE(answers(b, "e"), std::string("\r"));
        QCOMPARE(answers(b, std::string("A\0\0", 3)), std::string("\r"));
        QCOMPARE(answers(b, "#" + p1), std::string("\r"));
        QCOMPARE(answers(b, "#" + p2), std::string("\r"));
        QCOMPARE(answers(b, "$"), crcBytes(kvxsim::crc32(p1 + p2)));
        QCOMPARE(answers(b, "x"), std::string("?"));
        const std::vector<std::string> trace{"S", "P", "e", "A 00 00",
                                             "# 8192 " + hex8(kvxsim::crc32(p1)),
                                             "# 8192 " + hex8(kvxsim::crc32(p2)), "$", "? 78"};
        QCOMPARE(b.trace(), trace);
        QCOMPARE(b.received().size(), std::size_t(1 + 6 + 2 * 8193 + 1));
        const auto &f = b.flash();
        QCOMPARE(f.size(), BoardProtocol::kFlashSize);
        QVERIFY(std::equal(p1.begin(), p1.end(), f.begin(),
                           [](char c, std::uint8_t u) { return std::uint8_t(c) == u; }));
        QCOMPARE(f[8192], std::uint8_t(p2[0]));
        QVERIFY(std::all_of(f.begin() + 16384, f.end(), [](std::uint8_t u) { return u == 0xFF; }));
    }

    void faults()
    {
        const std::string p = page(3);
        BoardOptions o;
        o.noCrAfter = "#2";
        BoardProtocol a(o);
        QCOMPARE(answers(a, "Pe"), std::string("\r\r"));
        QCOMPARE(answers(a, "#" + p), std::string("\r"));
        QCOMPARE(answers(a, "#" + p), std::string("?"));

        o = {};
        o.noCrAfter = "e";
        BoardProtocol e(o);
        QCOMPARE(answers(e, "Pe"), std::string("\r?"));

        o = {};
        o.wrongCrc = true;
        BoardProtocol w(o);
        QCOMPARE(answers(w, "P#" + p + "$"), "\r\r" + crcBytes(~kvxsim::crc32(p)));

        o = {};
        o.crcExtraByte = true;
        BoardProtocol x(o);
        auto r = x.feed("P#" + p + "$");
        QCOMPARE(r.back().data, crcBytes(kvxsim::crc32(p)) + "\r"); // in one reply

        o = {};
        o.earlyAnswerInPage = 100;
        BoardProtocol k(o);
        r = k.feed("#" + p);
        QCOMPARE(r[100].data, std::string("\r")); // after the 100th data byte
        QCOMPARE(r.back().data, std::string("\r"));
        std::string all;
        for (const auto &x : r)
            all += x.data;
        QCOMPARE(all, std::string("\r\r"));
    }

    void ptyRunner()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString link = dir.path() + "/COM7";
        kvxsim::PtyBoard board(dir.path().toStdString(), 7);
        QVERIFY(QFileInfo(link).isSymLink());

        int fd = openPort(link);
        QVERIFY(fd >= 0);
        QCOMPARE(::write(fd, "S", 1), ssize_t(1));
        std::string got;
        QCOMPARE(readBytes(fd, got, 7, 3000), 7);
        QCOMPARE(got, std::string("AVRB128"));
        QVERIFY(board.waitForTrace(1, 1000));

        board.dropLine();
        QVERIFY(!QFileInfo::exists(link) && !QFileInfo(link).isSymLink());
        got.clear();
        QCOMPARE(readBytes(fd, got, 1, 2000), -1); // read gives 0 or EIO
        ::close(fd);

        QVERIFY(board.reconnect());
        fd = openPort(link);
        QVERIFY(fd >= 0);
        QCOMPARE(::write(fd, "S", 1), ssize_t(1));
        got.clear();
        QCOMPARE(readBytes(fd, got, 7, 3000), 7);
        QCOMPARE(got, std::string("AVRB128"));
        ::close(fd);
        QVERIFY(board.waitForTrace(2, 1000));
        QCOMPARE(board.trace(), (std::vector<std::string>{"S", "S"}));
    }
};

QTEST_GUILESS_MAIN(TstBoardSim)
#include "tst_boardsim.moc"
