#pragma once

#include "bench/ergebnis.h"

#include <QDateTime>
#include <QJsonObject>
#include <QList>

#include <optional>

// A shift's figures from a log's records: counts per result, yield,
// first-pass yield, boards per hour. (A running bench's own figures are its
// tally events; the page counts first passes by the results' attempts.)
struct Schichtzahlen
{
    Bilanz bilanz;
    int boardsMitSeriennummer = 0;  // ok, failed or aborted, with serial numbers
    int ersterVersuchOk = 0;        // of those, ok with the first number
    QDateTime erster;
    QDateTime letzter;
    QList<int> beschaedigt;  // numbers of log lines that are no record

    // One board: its result, when, and how many serial numbers it took
    // (one per attempt that reached the upload).
    void zaehlen(Ergebnis::Art art, const QDateTime &zeit, int seriennummern);

    // ok / (ok + failed + aborted): a port without bootloader may be anything.
    std::optional<double> ausbeute() const;
    // Without serial numbers the log does not show attempts: no figure.
    std::optional<double> ausbeuteErsterVersuch() const;
    // Boards (without bootloader left out) between the first and the last record.
    std::optional<double> platinenJeStunde() const;
    // As `kvxflash --stats --json` prints them.
    QJsonObject felder() const;

    // A log's text; records before `seit` are left out, lines that are no
    // record are counted and named.
    static Schichtzahlen ausProtokoll(const QByteArray &text, const std::optional<QDateTime> &seit);
    // The same for whole lines that follow those already counted; lines are
    // numbered from `ersteZeile`.
    void protokollZaehlen(const QByteArray &text, const std::optional<QDateTime> &seit, int ersteZeile = 1);
};
