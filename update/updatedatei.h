#pragma once

#include <QByteArray>
#include <QString>

class Crc32;
class Dialoge;
struct Dateiinhalt;
class UploadAnzeige;

// The update image: the chosen file padded with 0xFF to whole pages, and its CRC string.
class Updatedatei
{
public:
    static constexpr qint32 seitengroesse = 8192;
    static constexpr qint32 hoechsteSeitenzahl = 15;
    // Larger files are refused by their size alone, unread.
    static constexpr qint64 groessteLesbareDatei = 64 * 1024 * 1024;

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

private:
    qint16 ablehnen(Ergebnis ergebnis, const QString &meldung, const QString &erlaeuterung = QString());

    const Crc32 &m_crc;
    Dialoge &m_dialoge;
    UploadAnzeige &m_anzeige;
};
