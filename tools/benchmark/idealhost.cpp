#include "idealhost.h"

#include "boardprotocol.h"

#include <QElapsedTimer>

#include <cerrno>
#include <cstring>
#include <stdexcept>

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace {

[[noreturn]] void fail(const std::string &what)
{
    throw std::runtime_error("ideal host: " + what + ": " + std::strerror(errno));
}

// The CRC string the board answers for an image, computed as the board does.
QByteArray boardCrc(const QByteArray &image)
{
    const std::uint32_t crc = kvxsim::crc32(reinterpret_cast<const std::uint8_t *>(image.constData()),
                                            std::size_t(image.size()));
    QByteArray bytes;
    for (int shift = 24; shift >= 0; shift -= 8)
        bytes.append(char((crc >> shift) & 0xFF));
    return bytes;
}

} // namespace

IdealHost::IdealHost(const QString &portPath)
{
    m_fd = ::open(portPath.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (m_fd < 0)
        fail("cannot open " + portPath.toStdString());
    termios line{};
    ::tcgetattr(m_fd, &line);
    ::cfmakeraw(&line);
    ::cfsetspeed(&line, B115200);
    ::tcsetattr(m_fd, TCSANOW, &line);
    ::tcflush(m_fd, TCIOFLUSH);
}

IdealHost::~IdealHost()
{
    ::close(m_fd);
}

double IdealHost::update(const QByteArray &image)
{
    const qsizetype pageSize = qsizetype(kvxsim::BoardProtocol::kPageSize);
    QElapsedTimer clock;
    clock.start();
    command("P", 1);
    command("e", 1);
    command(QByteArray("A\0\0", 3), 1);
    for (qsizetype start = 0; start < image.size(); start += pageSize)
        command('#' + image.mid(start, pageSize), 1);
    const QByteArray crc = command("$", 4);
    const double seconds = double(clock.nsecsElapsed()) / 1e9;
    if (crc != boardCrc(image))
        throw std::runtime_error("ideal host: the board's CRC does not match the image");
    return seconds;
}

QByteArray IdealHost::command(const QByteArray &bytes, qsizetype answerBytes)
{
    for (qsizetype written = 0; written < bytes.size();) {
        const ssize_t n = ::write(m_fd, bytes.constData() + written, std::size_t(bytes.size() - written));
        if (n < 0 && errno != EINTR)
            fail("write");
        written += qMax<ssize_t>(n, 0);
    }
    QByteArray answer(answerBytes, '\0');
    for (qsizetype got = 0; got < answerBytes;) {
        const ssize_t n = ::read(m_fd, answer.data() + got, std::size_t(answerBytes - got));
        if (n == 0)
            throw std::runtime_error("ideal host: the line hung up");
        if (n < 0 && errno != EINTR)
            fail("read");
        got += qMax<ssize_t>(n, 0);
    }
    return answer;
}
