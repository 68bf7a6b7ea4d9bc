#pragma once

#include <QList>
#include <QString>
#include <QtGlobal>

#include <optional>

// A serial port the system reports, or a COM<n> file in $KVXLOADER_PORT_DIR.
struct VorhandenerPort {
    int comNummer = 0;      // the COM number under which the window reaches it (1..20 as typed in the field; 0: none)
    QString geraet;         // "/dev/ttyUSB0", "COM7", or the file's path under KVXLOADER_PORT_DIR
    QString beschreibung;   // as the system reports it (QSerialPortInfo::description), may be empty
    QString hersteller;
    QString seriennummer;
    std::optional<quint16> vid, pid;   // USB vendor and product id when known
};

// Every serial port the system reports, then the COM<n> files in
// $KVXLOADER_PORT_DIR when it is set, ordered by COM number; the ports
// without one follow in the order found.
QList<VorhandenerPort> vorhandenePorts();
