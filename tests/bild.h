#pragma once

// What an update of a given file must bring about, worked out without the
// program's code: the image padded to whole pages, its CRC string from zlib,
// and the bytes of a clean upload.

#include <QByteArray>
#include <QRandomGenerator>

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
