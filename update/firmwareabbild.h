#pragma once

#include <QByteArray>
#include <QString>

// What a file puts where in the board's flash, told without the bytes.
struct Abbildangaben
{
    enum Format { roh, ihex, srec, elf };

    Format format = roh;
    quint64 ersteAdresse = 0;
    quint64 letzteAdresse = 0;  // the highest address written
    qint64 datenbytes = 0;      // the addresses written
    // An ELF segment that begins within the file's own headers: as the
    // program headers say, those bytes are flashed with it.
    bool koepfeGeladen = false;
};

// Firmware as toolchains write it: Intel HEX, Motorola S-records and ELF,
// known by their content, laid out from flash address 0.
struct Firmwareabbild : Abbildangaben
{
    // From address 0 up to the highest address written below the limit;
    // the gaps are 0xFF.
    QByteArray bytes;
    QString fehler;  // why the file was refused, naming the line or segment; empty when it was read

    // A file is raw unless its content has the shape of a format: a
    // refusal then stays a refusal, never a raw image.
    static Format erkennen(const QByteArray &datei);
    // Reads a file in the format erkennen() found, or a raw one as it is.
    // Only the bytes below `grenze` are kept, so that no file can make the
    // image large; beyond it only the highest address counts.
    static Firmwareabbild lesen(const QByteArray &datei, Format format, quint64 grenze);
};
