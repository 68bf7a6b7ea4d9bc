#pragma once

#include "update/firmwareabbild.h"

#include <QByteArray>
#include <QString>

class Crc32;
class Dialoge;
struct Dateiinhalt;
class UploadAnzeige;

// The update image: the chosen file padded with 0xFF to whole pages, and its
// CRC string. A file in Intel HEX, S-record or ELF form is laid out from
// flash address 0 first; any other file is the image byte for byte.
class Updatedatei
{
public:
    static constexpr qint32 seitengroesse = 8192;
    static constexpr qint32 hoechsteSeitenzahl = 15;
    // Larger files are refused by their size alone, unread.
    static constexpr qint64 groessteLesbareDatei = 64 * 1024 * 1024;
    static constexpr quint64 flashgroesse = quint64(seitengroesse) * hoechsteSeitenzahl;

    enum Ergebnis : qint16 { geladen = 0, zuGross = 1, nichtGelesen = 2, leer = 3 };

    Updatedatei(const Crc32 &crc, Dialoge &dialoge, UploadAnzeige &anzeige);

    // Asks for the file and prepares the image. Every refusal has been shown
    // to the user when the result is greater than 0; the fields then keep the
    // previous image.
    qint16 dateilesen();
    // Prepares the image from the bytes of the file at `pfad`, read once
    // beforehand; refusals as with dateilesen().
    qint16 aufbereiten(const Dateiinhalt &inhalt, const QString &pfad);
    // Takes an image already padded to whole pages, and its CRC.
    void bildUebernehmen(const QByteArray &gepolstert);

    qint32 seitenzahl() const { return pufferlaenge / seitengroesse; }

    QByteArray dateipuffer;
    qint32 pufferlaenge = 0;
    qint32 dateigroesse = 0;
    QByteArray crcwert;
    Abbildangaben angaben;  // what the file put where

    bool alsRohdaten = false;  // every file as it is, whatever its form

private:
    qint16 zuGrossAblehnen(quint64 letzteAdresse, const QString &erlaeuterung = QString());
    qint16 ablehnen(Ergebnis ergebnis, const QString &meldung, const QString &erlaeuterung = QString());

    const Crc32 &m_crc;
    Dialoge &m_dialoge;
    UploadAnzeige &m_anzeige;
};
