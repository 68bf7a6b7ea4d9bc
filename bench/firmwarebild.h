#pragma once

#include "update/firmwareabbild.h"

#include <QByteArray>
#include <QJsonObject>
#include <QString>

class Crc32;

// The update image, read once before any port is touched, by the window's
// rules and with its texts: every board and every attempt is sent exactly
// these bytes, whatever happens to the file afterwards.
struct Firmwarebild
{
    bool geladen = false;
    QString meldung;       // why it was refused
    QString erlaeuterung;  // and what the system said about it
    QString pfad;
    QByteArray bild;       // padded with 0xFF to whole pages
    QByteArray crc;        // the CRC string of `bild`, as the board reports it
    QByteArray sha256;     // of the file as it was read
    Abbildangaben angaben; // what the file puts where

    int seiten() const;
    // "raw", "ihex", "srec" or "elf".
    QString formatname() const;
    // Its identity as the event of the bench's start names it: file, format,
    // pages, crc, sha256.
    QJsonObject felder() const;

    // `roh`: the file as it is, whatever its form.
    static Firmwarebild laden(const QString &pfad, const Crc32 &crc, bool roh);
};
