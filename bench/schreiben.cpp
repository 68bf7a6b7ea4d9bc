#include "bench/schreiben.h"

#include "core/texte.h"

#include <QFile>

#include <cerrno>

#ifdef Q_OS_WIN
#include <io.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
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

#ifndef Q_OS_WIN
QString grundFuer(int fehler)
{
    return fehler == EACCES || fehler == EPERM ? Texte::keineBerechtigung() : Texte::systemgrund(fehler);
}
#endif

} // namespace

QString ganzSchreiben(int fd, const QByteArray &bytes)
{
    for (qint64 geschrieben = 0; geschrieben < bytes.size();) {
        const qint64 n = einmalSchreiben(fd, bytes.constData() + geschrieben, bytes.size() - geschrieben);
        if (n > 0)
            geschrieben += n;
        else if (n == 0)
            return Texte::systemgrund(EIO);
        else if (errno != EINTR)
            return Texte::systemgrund(errno);
    }
    return QString();
}

#ifdef Q_OS_WIN
QString dauerhaftAnhaengen(const QString &pfad, const QByteArray &zeile, const QByteArray &kopf)
{
    QFile datei(pfad);
    if (!datei.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered))
        return datei.errorString();
    const qint64 vorher = datei.size();
    const QByteArray text = vorher == 0 ? kopf + zeile : zeile;
    if (datei.write(text) != text.size() || _commit(datei.handle()) != 0) {
        const QString grund = datei.errorString();
        datei.resize(vorher);
        return grund;
    }
    return QString();
}
#else
QString dauerhaftAnhaengen(const QString &pfad, const QByteArray &zeile, const QByteArray &kopf)
{
    const int fd = ::open(QFile::encodeName(pfad).constData(), O_WRONLY | O_APPEND | O_CREAT | O_NONBLOCK | O_CLOEXEC,
                          0644);
    struct stat status = {};
    QString grund;
    if (fd < 0 && errno == ENXIO) {
        grund = Texte::keineNormaleDatei();  // a FIFO without a reader, a device without a driver
    } else if (fd < 0 || ::fstat(fd, &status) != 0) {
        grund = grundFuer(errno);
    } else if (!S_ISREG(status.st_mode)) {
        grund = S_ISDIR(status.st_mode) ? Texte::istEinOrdner() : Texte::keineNormaleDatei();
    } else {
        grund = ganzSchreiben(fd, status.st_size == 0 ? kopf + zeile : zeile);
        if (grund.isEmpty() && ::fdatasync(fd) != 0)
            grund = grundFuer(errno);
        if (!grund.isEmpty()) {
            [[maybe_unused]] const int abgeschnitten = ::ftruncate(fd, status.st_size);
        }
    }
    if (fd >= 0 && ::close(fd) != 0 && grund.isEmpty())
        grund = grundFuer(errno);
    // A sentence of its own in the messages that quote it.
    return grund.isEmpty() || grund.endsWith(QLatin1Char('.')) ? grund : grund + QLatin1Char('.');
}
#endif
