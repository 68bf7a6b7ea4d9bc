#pragma once

#include <QString>

// kvxflash's own figures: 1, 4 and 8 paced boards flashed at once by one
// kvxflash process, measured from outside (wall time, its CPU time and
// peak RSS). Prints a table; asserts nothing.
void runParallelCases(const QString &dir, int repeats);

// kvxflash --watch: its CPU time while nothing is plugged in, and the time
// from a board's port appearing to the first byte ("S") on its line.
void runWatchCases(const QString &dir, int repeats);

// kvxflash --serve: 32 boards with and without the bench page, with
// WebSocket clients reading the events, and with 500 connections that send
// nothing; wall time, the boards' own times and peak RSS.
void runPageCases(const QString &dir, int repeats);
