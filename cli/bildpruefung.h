#pragma once

#include "update/firmwareabbild.h"

#include <QByteArray>
#include <QString>

class Crc32;
struct Dateiinhalt;

// The update file, loaded once before any port is touched, by the window's
// rules and with its texts, so that a refused file is told at once.
struct Bildpruefung
{
    bool geladen = false;
    QString meldung;        // why it was refused
    QString erlaeuterung;   // what the message adds: the reason, the line
    int seiten = 0;
    QByteArray crc;         // the image's CRC string
    Abbildangaben angaben;  // what the file puts where

    // The refusal on one line.
    QString begruendung() const;

    // `roh`: the file as it is, whatever its form.
    static Bildpruefung pruefen(const QString &pfad, const Crc32 &crc, bool roh);
    static Bildpruefung pruefen(const Dateiinhalt &inhalt, const QString &pfad, const Crc32 &crc, bool roh);
};
