#include "bench/schreiben.h"

#include <QtGlobal>

#include <cerrno>

#ifdef Q_OS_WIN
#include <io.h>
#else
#include <unistd.h>
#endif

namespace {

qint64 einmalSchreiben(int fd, const char *daten, qint64 laenge)
{
#ifdef Q_OS_WIN
    return ::_write(fd, daten, unsigned(qMin<qint64>(laenge, 1 << 30)));
#else
    return ::write(fd, daten, size_t(laenge));
#endif
}

} // namespace

QString ganzSchreiben(int fd, const QByteArray &bytes)
{
    for (qint64 geschrieben = 0; geschrieben < bytes.size();) {
        const qint64 n = einmalSchreiben(fd, bytes.constData() + geschrieben, bytes.size() - geschrieben);
        if (n > 0)
            geschrieben += n;
        else if (n == 0)
            return qt_error_string(EIO);
        else if (errno != EINTR)
            return qt_error_string(errno);
    }
    return QString();
}
