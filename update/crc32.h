#pragma once

#include <QByteArray>

#include <array>
#include <cstdint>

// Table-driven CRC-32 (IEEE 802.3): reflected polynomial, preset all ones,
// final complement. The result is the four-byte CRC string the bootloader
// answers with, most significant byte first.
class Crc32
{
public:
    static constexpr std::uint32_t standardPolynomial = 0xEDB88320;

    void CRCInit(std::uint32_t Poly);
    QByteArray crc32(const QByteArray &bufferdaten) const;

private:
    std::array<std::uint32_t, 256> crctabelle{};
};
