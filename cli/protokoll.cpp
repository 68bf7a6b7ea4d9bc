#include "cli/protokoll.h"

#include "cli/bericht.h"
#include "cli/firmwarebild.h"
#include "cli/platine.h"
#include "cli/schreiben.h"
#include "core/texte.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#ifdef Q_OS_WIN
#include <io.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

// A board that floods may answer anything: its CRC field keeps 16 bytes.
constexpr int boardCrcBytes = 16;

// Tab, line breaks and backslash as C writes them, other control
// characters as \xNN; empty as "-".
QByteArray feld(const QString &text)
{
    if (text.isEmpty())
        return "-";
    QByteArray ergebnis;
    for (const char c : text.toUtf8()) {
        switch (c) {
        case '\t': ergebnis += "\\t"; break;
        case '\n': ergebnis += "\\n"; break;
        case '\r': ergebnis += "\\r"; break;
        case '\\': ergebnis += "\\\\"; break;
        default:
            if ((c >= 0 && c < 0x20) || c == 0x7F)
                ergebnis += "\\x" + QByteArray::number(uchar(c), 16).rightJustified(2, '0');
            else
                ergebnis += c;
        }
    }
    return ergebnis;
}

// Every attempt's number, the last one that of the result.
QString seriennummern(const Ergebnis &ergebnis)
{
    QStringList nummern;
    for (const auto &versuch : ergebnis.seriennummern)
        nummern << QString::number(versuch.first);
    return nummern.join(QLatin1Char(','));
}

QString boardCrcFeld(const QByteArray &antwort)
{
    const QString hex = QString::fromLatin1(antwort.left(boardCrcBytes).toHex());
    return antwort.size() > boardCrcBytes ? hex + QStringLiteral("…") : hex;
}

#ifndef Q_OS_WIN
QString grundFuer(int fehler)
{
    return fehler == EACCES || fehler == EPERM ? Texte::keineBerechtigung() : Texte::systemgrund(fehler);
}
#endif

} // namespace

Protokoll::Protokoll(const QString &pfad)
    : m_pfad(pfad)
{
}

QByteArray Protokoll::spalten()
{
    return "time\tport\tdevice\tusb_serial\timage\tsha256\tcrc\tsn\tresult\tboard_crc\n";
}

QByteArray Protokoll::zeile(const Portangabe &port, const Ergebnis &ergebnis, const Firmwarebild &bild)
{
    const QDateTime jetzt = QDateTime::currentDateTime();
    const QList<QByteArray> felder{
        feld(jetzt.toOffsetFromUtc(jetzt.offsetFromUtc()).toString(Qt::ISODate)),
        feld(port.name()),
        feld(port.geraet),
        feld(port.seriennummer),
        feld(QFileInfo(bild.pfad).fileName()),
        feld(QString::fromLatin1(bild.sha256.toHex())),
        feld(QString::fromLatin1(ergebnis.crc.toHex())),
        feld(seriennummern(ergebnis)),
        feld(ergebnisname(ergebnis.art)),
        feld(boardCrcFeld(ergebnis.boardCrc)),
    };
    return felder.join('\t') + '\n';
}

#ifdef Q_OS_WIN
bool Protokoll::eintragen(const QByteArray &zeile, QString &fehler) const
{
    QFile datei(m_pfad);
    if (!datei.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered)) {
        fehler = datei.errorString();
        return false;
    }
    const QByteArray text = datei.size() == 0 ? spalten() + zeile : zeile;
    if (datei.write(text) != text.size() || _commit(datei.handle()) != 0) {
        fehler = datei.errorString();
        return false;
    }
    return true;
}
#else
bool Protokoll::eintragen(const QByteArray &zeile, QString &fehler) const
{
    const int fd = ::open(QFile::encodeName(m_pfad).constData(),
                          O_WRONLY | O_APPEND | O_CREAT | O_NONBLOCK | O_CLOEXEC, 0644);
    struct stat status = {};
    QString grund;
    if (fd < 0 && errno == ENXIO) {
        grund = Texte::keineNormaleDatei();  // a FIFO without a reader, a device without a driver
    } else if (fd < 0 || ::fstat(fd, &status) != 0) {
        grund = grundFuer(errno);
    } else if (!S_ISREG(status.st_mode)) {
        grund = S_ISDIR(status.st_mode) ? Texte::istEinOrdner() : Texte::keineNormaleDatei();
    } else {
        // The header and the line in one write, so that no reader sees one without the other.
        const QByteArray text = status.st_size == 0 ? spalten() + zeile : zeile;
        grund = ganzSchreiben(fd, text);
        // A line cut off by a full disk would break every line after it.
        if (!grund.isEmpty()) {
            [[maybe_unused]] const int abgeschnitten = ::ftruncate(fd, status.st_size);
        }
        if (grund.isEmpty() && ::fdatasync(fd) != 0)
            grund = grundFuer(errno);
    }
    if (fd >= 0 && ::close(fd) != 0 && grund.isEmpty())
        grund = grundFuer(errno);
    // A sentence of its own in the messages that quote it.
    fehler = grund.isEmpty() || grund.endsWith(QLatin1Char('.')) ? grund : grund + QLatin1Char('.');
    return grund.isEmpty();
}
#endif
