#pragma once

// What an update of a given file must bring about, worked out without the
// program's code: the image padded to whole pages, its CRC string from zlib,
// the bytes of a clean upload, and files in Intel HEX, S-record and ELF form
// from GNU binutils.

#include <QByteArray>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <zlib.h>

// `bytes` random bytes, the same for the same size and seed: no two pieces or pages alike.
inline QByteArray muster(qsizetype bytes, quint32 startwert = 0)
{
    QByteArray b(bytes, Qt::Uninitialized);
    QRandomGenerator zufall(quint32(bytes) ^ (startwert * 0x9E3779B9u));
    for (char &c : b)
        c = char(zufall.bounded(256));
    return b;
}

inline QByteArray aufSeitenGefuellt(const QByteArray &datei)
{
    return datei + QByteArray((8192 - datei.size() % 8192) % 8192, '\xFF');
}

// The board's answer to "$": the CRC-32, most significant byte first.
inline QByteArray crcString(const QByteArray &bild)
{
    const auto c = quint32(crc32(0, reinterpret_cast<const Bytef *>(bild.constData()), uInt(bild.size())));
    return QByteArray::fromHex(QByteArray::number(c, 16).rightJustified(8, '0'));
}

// Every byte a clean upload of `bild` puts on the line, in order.
inline QByteArray leitung(const QByteArray &bild)
{
    QByteArray bytes("PeA\0\0", 5);
    for (qsizetype anfang = 0; anfang < bild.size(); anfang += 8192)
        bytes += '#' + bild.mid(anfang, 8192);
    return bytes + '$';
}

// What a program of GNU binutils makes of the raw bytes `roh`, in a folder
// where they are "roh.bin" and `skript` is "skript.ld"; it writes "aus".
// Empty when binutils are not installed.
inline QByteArray binutils(const QString &programm, const QStringList &argumente, const QByteArray &roh,
                           const QByteArray &skript = {})
{
    if (programm.isEmpty())
        return {};
    QTemporaryDir ordner;
    for (const auto &[name, inhalt] : {std::pair("roh.bin", roh), std::pair("skript.ld", skript)}) {
        QFile datei(ordner.filePath(name));
        if (!datei.open(QIODevice::WriteOnly) || datei.write(inhalt) != inhalt.size())
            qFatal("%s not written", name);
    }
    QProcess prozess;
    prozess.setWorkingDirectory(ordner.path());
    prozess.start(programm, argumente);
    QFile aus(ordner.filePath("aus"));
    if (!prozess.waitForFinished() || prozess.exitCode() != 0 || !aus.open(QIODevice::ReadOnly))
        qFatal("%s: %s", qPrintable(programm), prozess.readAllStandardError().constData());
    return aus.readAll();
}

// objcopy reading `roh` as a raw binary, e.g. {"-O", "ihex"}.
inline QByteArray objcopy(const QStringList &argumente, const QByteArray &roh)
{
    return binutils(OBJCOPY, QStringList{"-I", "binary"} + argumente + QStringList{"roh.bin", "aus"}, roh);
}

// An ELF executable in `format` (e.g. "elf32-big") whose program headers ld
// lays out by `skript`; `roh` is its section .data.
inline QByteArray elf(const QString &format, const QByteArray &skript, const QByteArray &roh)
{
    return binutils(LD_BFD, {"-T", "skript.ld", "--oformat", format, "-b", "binary", "-o", "aus", "roh.bin"}, roh,
                    skript);
}
