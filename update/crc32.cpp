#include "update/crc32.h"

void Crc32::CRCInit(std::uint32_t Poly)
{
    for (std::uint32_t i = 0; i < 256; ++i) {
        std::uint32_t c = i;
        for (int bit = 0; bit < 8; ++bit)
            c = (c & 1) ? (c >> 1) ^ Poly : c >> 1;
        crctabelle[i] = c;
    }
}

QByteArray Crc32::crc32(const QByteArray &bufferdaten) const
{
    std::uint32_t c = 0xFFFFFFFF;
    for (const char ch : bufferdaten)
        c = (c >> 8) ^ crctabelle[(c ^ static_cast<unsigned char>(ch)) & 0xFF];
    c = ~c;

    QByteArray crcString(4, '\0');
    for (int i = 0; i < 4; ++i)
        crcString[i] = static_cast<char>((c >> (24 - 8 * i)) & 0xFF);
    return crcString;
}
