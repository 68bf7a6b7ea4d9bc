#include "bench/seriennummernzaehler.h"

#include "bench/werkbanktexte.h"
#include "bench/schreiben.h"
#include "core/texte.h"
#include "update/dateiinhalt.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QThread>

#include <algorithm>
#include <limits>

#ifndef Q_OS_WIN
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>
#endif

namespace {

// A lock whose owner never wrote it (a run killed while it did) or wrote
// garbage had this long to write it before it is taken over.
constexpr qint64 gnadenfristMs = 2000;

// The counter a link points to: the link stays, its target is counted and locked.
QString zielVon(const QString &pfad)
{
    const QFileInfo info(pfad);
    if (!info.isSymLink())
        return pfad;
    const QString kanonisch = info.canonicalFilePath();
    return kanonisch.isEmpty() ? info.symLinkTarget() : kanonisch;
}

// Why no lock can be made beside the counter: the folder's reason.
QString ordnergrund(const QString &pfad)
{
    const QString ordner = QFileInfo(pfad).absolutePath();
#ifdef Q_OS_WIN
    return Texte::systemgrund(QFileInfo(ordner).isDir() ? EACCES : ENOENT);
#else
    return Texte::systemgrund(::access(QFile::encodeName(ordner).constData(), W_OK) == 0 ? EIO : errno);
#endif
}

// Digits and one line end, nothing else: any other text may be a file named
// by mistake, or a number a person meant otherwise.
std::optional<quint64> zahlAus(QByteArray text)
{
    if (text.endsWith('\n'))
        text.chop(text.endsWith("\r\n") ? 2 : 1);
    if (text.isEmpty() || !std::all_of(text.cbegin(), text.cend(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    bool gueltig = false;
    const quint64 zahl = text.toULongLong(&gueltig);
    return gueltig ? std::optional<quint64>(zahl) : std::nullopt;
}

} // namespace

bool Seriennummernzaehler::oeffnen(const QString &pfad, quint64 erste, QString &fehler)
{
    m_pfad = zielVon(pfad);
    m_sperre = std::make_unique<QLockFile>(m_pfad + QStringLiteral(".lock"));
    // Held for the whole run; a lock left by a crashed run is noticed by its
    // process number and taken over.
    m_sperre->setStaleLockTime(0);
    if (!m_sperre->tryLock(0) && !(verwaisteSperreAufheben() && m_sperre->tryLock(0))) {
        fehler = m_sperre->error() == QLockFile::LockFailedError ? Werkbanktexte::zaehlerBelegt(m_pfad)
                                                                  : Werkbanktexte::zaehlerNichtLesbar(m_pfad, ordnergrund(m_pfad));
        return false;
    }
    constexpr qint64 hoechstens = 64;
    const Dateiinhalt inhalt = Dateiinhalt::lesen(m_pfad, hoechstens);
    if (!inhalt.gelesen() && QFileInfo::exists(m_pfad)) {
        fehler = Werkbanktexte::zaehlerNichtLesbar(m_pfad, inhalt.grund);
        return false;
    }
    const std::optional<quint64> gespeichert = inhalt.gelesen() ? zahlAus(inhalt.bytes) : std::optional<quint64>(0);
    // A longer file is not read, and its empty text is no number.
    if (!gespeichert) {
        fehler = Werkbanktexte::zaehlerKeineZahl(m_pfad);
        return false;
    }
    m_naechste = qMax(erste, *gespeichert);
    return true;
}

// Only a lock nobody can read is taken over here, once it is older than
// the grace time: QLockFile itself takes over one whose process is gone.
// The lock beside it keeps two runs from taking it over at once.
bool Seriennummernzaehler::verwaisteSperreAufheben()
{
    if (m_sperre->error() != QLockFile::LockFailedError)
        return false;
    const QString sperrpfad = m_pfad + QStringLiteral(".lock");
    QLockFile aufheben(sperrpfad + QStringLiteral(".aufheben"));
    aufheben.setStaleLockTime(int(gnadenfristMs) * 5);
    if (!aufheben.tryLock(int(gnadenfristMs)))
        return false;
    qint64 pid = 0;
    QString rechner, programm;
    for (;;) {
        if (m_sperre->getLockInfo(&pid, &rechner, &programm))
            return false;
        const qint64 alter = qAbs(QFileInfo(sperrpfad).lastModified().msecsTo(QDateTime::currentDateTime()));
        if (alter >= gnadenfristMs)
            return m_sperre->removeStaleLockFile();
        QThread::msleep(gnadenfristMs - alter);
    }
}

std::optional<quint64> Seriennummernzaehler::nehmen(QString &fehler)
{
    if (m_naechste == std::numeric_limits<quint64>::max()) {
        fehler = Werkbanktexte::zaehlerAmEnde(m_pfad);
        return std::nullopt;
    }
    if (!speichern(m_naechste + 1, fehler))
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
        grund = Texte::systemgrund(errno);
    } else {
        grund = ganzSchreiben(fd, QByteArray::number(naechste) + '\n');
        if (grund.isEmpty() && ::fsync(fd) != 0)
            grund = Texte::systemgrund(errno);
        if (::close(fd) != 0 && grund.isEmpty())
            grund = Texte::systemgrund(errno);
    }
    if (grund.isEmpty() && ::rename(QFile::encodeName(neu).constData(), QFile::encodeName(m_pfad).constData()) != 0)
        grund = Texte::systemgrund(errno);
    // A full disk leaves nothing behind.
    if (!grund.isEmpty())
        ::unlink(QFile::encodeName(neu).constData());
    if (grund.isEmpty()) {
        const int ordnerFd = ::open(QFile::encodeName(ordner).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (ordnerFd < 0 || ::fsync(ordnerFd) != 0)
            grund = Texte::systemgrund(errno);
        if (ordnerFd >= 0)
            ::close(ordnerFd);
    }
    if (grund.isEmpty())
        return true;
    fehler = Werkbanktexte::zaehlerNichtGeschrieben(m_pfad, grund);
    return false;
}
#endif
