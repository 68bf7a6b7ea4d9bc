#pragma once

#include <QByteArray>
#include <QString>

// Text in the Windows-1252 code page to Unicode, one character per byte.
// Bytes 0x80 to 0x9F carry the code page's own characters (€, curly quotes,
// dashes, ...), every other byte is the Latin-1 character of the same value.
// The five bytes the code page leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D)
// become the C1 control characters of the same value, as Windows' own
// conversion does, so no byte is lost.
QString fromWindows1252(const QByteArray &bytes);
