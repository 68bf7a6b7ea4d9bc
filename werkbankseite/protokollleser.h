#pragma once

#include "bench/schichtzahlen.h"

#include <QDate>
#include <QJsonArray>
#include <QJsonObject>
#include <QList>
#include <QString>

#include <optional>

class QFile;

// The log as the bench page reads it while the bench appends to it. Each
// look reads only the whole lines added since the last one, so that a long
// log costs a request no more than its new records.
class Protokollleser
{
public:
    explicit Protokollleser(const QString &pfad);

    // The records after the first `nach`, at most `hoechstens`, each with
    // its number ("record", from 1).
    std::optional<QJsonArray> eintraege(qint64 nach, int hoechstens, QString &fehler);
    // Today's shift figures, as `kvxflash --stats --since today --json`.
    std::optional<QJsonObject> heute(QString &fehler);

private:
    // Opens the log and reads what was added since the last look.
    bool nachlesen(QFile &datei, QString &fehler);

    const QString m_pfad;
    qint64 m_gelesen = 0;      // up to the end of the last whole line
    QList<qint64> m_anfaenge;  // where each record's line begins
    int m_zeilen = 0;
    QDate m_tag;
    Schichtzahlen m_heute;
};
