#pragma once

#include <QFile>
#include <QString>

struct Ergebnis;
struct Portangabe;

// The bench's traceability record: one line per board appended to a plain
// text file, tab-separated: ISO time, port, device, USB serial number, image
// file name, its CRC-32, result, the board's CRC ("-" where unknown). Each
// line reaches the file before the next board is looked at, so a crash of
// the program loses nothing.
class Protokoll
{
public:
    // False when the file cannot be opened for appending; `fehler` says why.
    bool oeffnen(const QString &pfad, QString &fehler);
    void eintragen(const Portangabe &port, const Ergebnis &ergebnis, const QString &bilddatei);

private:
    QFile m_datei;
};
