#pragma once

class Ausgabe;
struct Optionen;

// kvxflash --stats: a shift's figures from the watch's log. 0, 2 when the
// log cannot be read, 7 when the figures cannot be written.
int statistik(const Optionen &optionen, Ausgabe &aus);
