#include "update/dateiinhalt.h"

#include "core/texte.h"

#include <QFile>

#ifdef Q_OS_WIN
#include <QFileInfo>
#else
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

#ifndef Q_OS_WIN
QString grundFuer(int fehler)
{
    switch (fehler) {
    case ENOENT:
    case ENOTDIR:
        return Texte::nichtVorhanden();
    case EACCES:
    case EPERM:
        return Texte::keineBerechtigung();
    case EISDIR:
        return Texte::istEinOrdner();
    default:
        return Texte::nichtLesbar(Texte::systemgrund(fehler));
    }
}

// Closes the descriptor however the reading ends.
struct Deskriptor
{
    int fd;
    ~Deskriptor()
    {
        if (fd >= 0)
            ::close(fd);
    }
};
#endif

} // namespace

#ifdef Q_OS_WIN
Dateiinhalt Dateiinhalt::lesen(const QString &pfad, qint64 hoechstens)
{
    Dateiinhalt inhalt;
    const QFileInfo info(pfad);
    if (!info.exists())
        inhalt.grund = Texte::nichtVorhanden();
    else if (info.isDir())
        inhalt.grund = Texte::istEinOrdner();
    else if (!info.isFile())
        inhalt.grund = Texte::keineNormaleDatei();
    if (!inhalt.gelesen())
        return inhalt;
    QFile datei(pfad);
    if (!datei.open(QIODevice::ReadOnly)) {
        inhalt.grund = datei.error() == QFileDevice::PermissionsError ? Texte::keineBerechtigung()
                                                                       : Texte::nichtLesbar(datei.errorString());
        return inhalt;
    }
    inhalt.groesse = datei.size();
    if (inhalt.groesse <= hoechstens)
        inhalt.bytes = datei.readAll();
    if (inhalt.groesse <= hoechstens && inhalt.bytes.size() != inhalt.groesse)
        inhalt.grund = Texte::nichtLesbar(datei.errorString());
    return inhalt;
}
#else
Dateiinhalt Dateiinhalt::lesen(const QString &pfad, qint64 hoechstens)
{
    Dateiinhalt inhalt;
    const Deskriptor datei{::open(QFile::encodeName(pfad).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC)};
    struct stat status = {};
    if (datei.fd < 0 || ::fstat(datei.fd, &status) != 0) {
        inhalt.grund = grundFuer(errno);
        return inhalt;
    }
    if (S_ISDIR(status.st_mode)) {
        inhalt.grund = Texte::istEinOrdner();
        return inhalt;
    }
    if (!S_ISREG(status.st_mode)) {
        inhalt.grund = Texte::keineNormaleDatei();
        return inhalt;
    }
    inhalt.groesse = status.st_size;
    if (inhalt.groesse > hoechstens)
        return inhalt;
    // The file may shrink or grow while it is read: what counts is what was read.
    inhalt.bytes.resize(inhalt.groesse);
    qint64 gelesen = 0;
    while (gelesen < inhalt.groesse) {
        const ssize_t n = ::read(datei.fd, inhalt.bytes.data() + gelesen, size_t(inhalt.groesse - gelesen));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            inhalt.grund = grundFuer(errno);
            inhalt.bytes.clear();
            return inhalt;
        }
        if (n == 0)
            break;
        gelesen += n;
    }
    inhalt.bytes.truncate(gelesen);
    inhalt.groesse = gelesen;
    return inhalt;
}
#endif
