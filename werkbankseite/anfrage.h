#pragma once

#include <QByteArray>
#include <QHash>

#include <optional>

// The head of an HTTP request, as far as a read-only server needs it.
struct Anfrage
{
    QByteArray methode;
    QByteArray pfad;       // without the query, not decoded
    QByteArray abfrage;    // after '?', not decoded
    QHash<QByteArray, QByteArray> felder;  // header names in lower case

    QByteArray feld(const char *name) const { return felder.value(name); }

    // Reads the head up to (not including) the blank line. Anything that is
    // not a request line and header lines gives nothing.
    static std::optional<Anfrage> lesen(const QByteArray &kopf);
};
