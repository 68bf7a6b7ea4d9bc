#pragma once

#include <QByteArray>
#include <QString>

// An update file read once, whole, from a regular file; what went wrong
// otherwise, in the words the user reads.
struct Dateiinhalt
{
    QByteArray bytes;
    qint64 groesse = 0;  // the file's size, also when it was too large to read
    QString grund;       // why it could not be read; empty when it was read

    bool gelesen() const { return grund.isEmpty(); }

    // Opens without blocking and checks the opened file, so that a FIFO or a
    // device swapped in for the file is refused, never waited on. A file
    // larger than `hoechstens` bytes is not read: only its size is known.
    static Dateiinhalt lesen(const QString &pfad, qint64 hoechstens);
};
