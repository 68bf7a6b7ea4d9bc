#pragma once

#include <QByteArray>

// Every byte a clean upload of `bild` puts on the line, in order: "P", "e",
// the address command, "#" with each 8192-byte page, "$". Whatever goes
// wrong, the board may receive only a beginning of this.
inline QByteArray leitung(const QByteArray &bild)
{
    QByteArray bytes = QByteArray("PeA") + QByteArray(2, '\0');
    for (qsizetype anfang = 0; anfang < bild.size(); anfang += 8192)
        bytes += '#' + bild.mid(anfang, 8192);
    return bytes + '$';
}
