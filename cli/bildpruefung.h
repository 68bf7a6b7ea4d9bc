#pragma once

#include <QByteArray>
#include <QString>

class Crc32;

// The update file, loaded once before any port is touched, by the window's
// rules and with its texts, so that a refused file is told at once.
struct Bildpruefung
{
    bool geladen = false;
    QString meldung;   // why it was refused
    int seiten = 0;
    QByteArray crc;    // the image's CRC string

    static Bildpruefung pruefen(const QString &pfad, const Crc32 &crc);
};
