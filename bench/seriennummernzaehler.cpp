#include "bench/seriennummernzaehler.h"

#include "bench/werkbanktexte.h"
#include "bench/schreiben.h"
#include "update/dateiinhalt.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <limits>

#ifndef Q_OS_WIN
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>
#endif

bool Seriennummernzaehler::oeffnen(const QString &pfad, quint64 erste, QString &fehler)
{
    m_pfad = pfad;
    m_sperre = std::make_unique<QLockFile>(pfad + QStringLiteral(".lock"));
    // Held for the whole run; a lock left by a crashed run is noticed by its
    // process number and taken over.
    m_sperre->setStaleLockTime(0);
    if (!m_sperre->tryLock(0)) {
        fehler = m_sperre->error() == QLockFile::LockFailedError ? Werkbanktexte::zaehlerBelegt(pfad)
                                                                  : Werkbanktexte::zaehlerNichtLesbar(pfad, QString());
        return false;
    }
    const Dateiinhalt inhalt = Dateiinhalt::lesen(pfad, 64);
    if (!inhalt.gelesen() && QFileInfo::exists(pfad)) {
        fehler = Werkbanktexte::zaehlerNichtLesbar(pfad, inhalt.grund);
        return false;
    }
    bool gueltig = inhalt.bytes.trimmed().isEmpty();
    const quint64 gespeichert = gueltig ? 0 : inhalt.bytes.trimmed().toULongLong(&gueltig);
    if (!gueltig) {
        fehler = Werkbanktexte::zaehlerNichtLesbar(pfad, QString::fromUtf8(inhalt.bytes.left(32)));
        return false;
    }
    m_naechste = qMax(erste, gespeichert);
    return true;
}

std::optional<quint64> Seriennummernzaehler::nehmen(QString &fehler)
{
    if (m_naechste == std::numeric_limits<quint64>::max() || !speichern(m_naechste + 1, fehler))
        return std::nullopt;
    return m_naechste++;
}

#ifdef Q_OS_WIN
bool Seriennummernzaehler::speichern(quint64 naechste, QString &fehler) const
{
    QSaveFile datei(m_pfad);
    if (datei.open(QIODevice::WriteOnly) && datei.write(QByteArray::number(naechste) + '\n') > 0 && datei.commit())
        return true;
    fehler = Werkbanktexte::zaehlerNichtGeschrieben(m_pfad, datei.errorString());
    return false;
}
#else
// A temporary file in the same folder, synced, renamed over the counter,
// and the folder synced: after a crash the file holds the old number or the
// new one, never a part of either.
bool Seriennummernzaehler::speichern(quint64 naechste, QString &fehler) const
{
    const QString neu = m_pfad + QStringLiteral(".neu");
    const QString ordner = QFileInfo(m_pfad).absolutePath();
    QString grund;
    const int fd = ::open(QFile::encodeName(neu).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) {
        grund = qt_error_string(errno);
    } else {
        grund = ganzSchreiben(fd, QByteArray::number(naechste) + '\n');
        if (grund.isEmpty() && ::fsync(fd) != 0)
            grund = qt_error_string(errno);
        if (::close(fd) != 0 && grund.isEmpty())
            grund = qt_error_string(errno);
    }
    if (grund.isEmpty() && ::rename(QFile::encodeName(neu).constData(), QFile::encodeName(m_pfad).constData()) != 0)
        grund = qt_error_string(errno);
    if (grund.isEmpty()) {
        const int ordnerFd = ::open(QFile::encodeName(ordner).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (ordnerFd < 0 || ::fsync(ordnerFd) != 0)
            grund = qt_error_string(errno);
        if (ordnerFd >= 0)
            ::close(ordnerFd);
    }
    if (grund.isEmpty())
        return true;
    fehler = Werkbanktexte::zaehlerNichtGeschrieben(m_pfad, grund);
    return false;
}
#endif
