#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// Where and how each board's serial number is written into its image:
// SIZE bytes at byte address ADDR, little- or big-endian, or as decimal
// digits padded with zeros.
struct Seriennummernfeld
{
    enum Form { le, be, ascii };

    qint64 adresse = 0;
    int groesse = 0;  // 1 to 16 bytes
    Form form = le;

    // "ADDR:SIZE[:FORMAT]", ADDR in hex with 0x or decimal. Nothing, and
    // `fehler` says why, when it cannot be read.
    static std::optional<Seriennummernfeld> lesen(const QString &text, QString &fehler);

    // The largest number the field holds.
    quint64 hoechsteNummer() const;
    // Whether the field lies inside an image of `bildgroesse` bytes.
    bool passtIn(qint64 bildgroesse) const;
    // The image with `nummer` in the field.
    QByteArray einsetzen(const QByteArray &bild, quint64 nummer) const;
};
