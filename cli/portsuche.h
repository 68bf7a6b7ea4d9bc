#pragma once

#include "cli/platine.h"
#include "cli/portangabe.h"

#include <QList>

#include <optional>

class Abbruchsignal;
class Ausgabe;
class Crc32;
struct Optionen;

// "0403:6001"
QString usbKennung(quint16 vid, quint16 pid);

// The ports that -p auto and the watch look at: every USB serial port the
// system reports (narrowed by --usb and --serial), and the COM<n> files in
// $KVXLOADER_PORT_DIR; a device reached by two names once.
QList<Portangabe> usbPorts(const Optionen &optionen);

// Those of the ports named with -p that are present now.
QList<Portangabe> genanntePorts(const Optionen &optionen);

// A port asked for the DWQ bootloader, and what came of it.
struct Abfrage
{
    Portangabe port;
    Ergebnis ergebnis;
};

// Every port asked for the DWQ bootloader, all at once; nothing when Ctrl+C
// came first.
std::optional<QList<Abfrage>> bootloaderAbfragen(const QList<Portangabe> &ports, Abbruchsignal &abbruch,
                                                 const Crc32 &crc);

// --list: every serial port the system reports and the COM<n> files, with
// --probe whether a DWQ bootloader answers at each.
int auflisten(const Optionen &optionen, Ausgabe &aus, Abbruchsignal &abbruch, const Crc32 &crc);
