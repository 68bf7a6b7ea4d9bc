#pragma once

class Abbruchsignal;
class Ausgabe;
class Crc32;
struct Optionen;

// --list: every serial port the system reports and the COM<n> files, with
// --probe whether a DWQ bootloader answers at each.
int auflisten(const Optionen &optionen, Ausgabe &aus, Abbruchsignal &abbruch, const Crc32 &crc);
