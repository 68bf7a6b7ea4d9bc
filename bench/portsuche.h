#pragma once

#include "bench/ergebnis.h"
#include "bench/portangabe.h"

#include <QList>

#include <optional>

class Abbruchsignal;
class Crc32;
struct VorhandenerPort;

// "0403:6001"
QString usbKennung(quint16 vid, quint16 pid);

// Which USB serial ports count: those with this USB ID, this serial number.
struct Portfilter
{
    std::optional<quint16> vid;
    std::optional<quint16> pid;
    QString seriennummer;
};

// A port the system reports, as the command line names it.
Portangabe alsPortangabe(const VorhandenerPort &port);

// The ports that -p auto and the watch look at: every USB serial port the
// system reports (narrowed by the filter), and the COM<n> files in
// $KVXLOADER_PORT_DIR; a device reached by two names once.
QList<Portangabe> usbPorts(const Portfilter &filter);

// Those of the named ports that are present now.
QList<Portangabe> genanntePorts(const QList<Portangabe> &genannt);

// A port asked for the DWQ bootloader, and what came of it.
struct Abfrage
{
    Portangabe port;
    Ergebnis ergebnis;
};

// Every port asked for the DWQ bootloader, all at once; `abgebrochen` when
// Ctrl+C came first.
QList<Abfrage> bootloaderAbfragen(const QList<Portangabe> &ports, Abbruchsignal &abbruch, const Crc32 &crc,
                                  bool &abgebrochen);
