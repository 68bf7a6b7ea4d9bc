#include "serial/portliste.h"

#include "serial/portnamen.h"

#include <QDir>
#include <QRegularExpression>
#include <QSerialPortInfo>

#include <algorithm>
#include <climits>

namespace {

// The number that systemPortName() turns into this device, or 0 when the
// field's numbers do not reach it (for instance /dev/ttyS0, or every system
// port while a port folder is set).
int comNummerVon(const QString &geraet)
{
    for (int nummer = 1; nummer <= 20; ++nummer) {
        if (systemPortName(nummer) == geraet)
            return nummer;
    }
    return 0;
}

VorhandenerPort systemPort(const QSerialPortInfo &info)
{
    VorhandenerPort port;
#ifdef Q_OS_WIN
    port.geraet = info.portName();          // "COM7", not "\\.\COM7"
#else
    port.geraet = info.systemLocation();
#endif
    port.comNummer = comNummerVon(port.geraet);
    port.beschreibung = info.description();
    port.hersteller = info.manufacturer();
    port.seriennummer = info.serialNumber();
    if (info.hasVendorIdentifier())
        port.vid = info.vendorIdentifier();
    if (info.hasProductIdentifier())
        port.pid = info.productIdentifier();
    return port;
}

// The COM<n> entries of the port folder that lead somewhere: a dangling link
// is no port.
QList<VorhandenerPort> portordnerDateien(const QString &portordner)
{
    QList<VorhandenerPort> ports;
    static const QRegularExpression comName(QStringLiteral("^COM[0-9]+$"));
    // System: links to pseudo-terminals and devices are neither files nor folders.
    const QDir ordner(portordner);
    for (const QFileInfo &datei : ordner.entryInfoList(QDir::Files | QDir::System | QDir::NoDotAndDotDot)) {
        if (!comName.match(datei.fileName()).hasMatch() || !datei.exists())
            continue;
        VorhandenerPort port;
        port.geraet = ordner.filePath(datei.fileName());
        port.comNummer = comNummerVon(port.geraet);
        ports << port;
    }
    return ports;
}

} // namespace

QList<VorhandenerPort> vorhandenePorts()
{
    QList<VorhandenerPort> ports;
    for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts())
        ports << systemPort(info);
#ifndef Q_OS_WIN
    const QString portordner = qEnvironmentVariable("KVXLOADER_PORT_DIR");
    if (!portordner.isEmpty())
        ports << portordnerDateien(portordner);
#endif
    // Ports without a number (0) after those with one.
    const auto rang = [](const VorhandenerPort &port) { return port.comNummer > 0 ? port.comNummer : INT_MAX; };
    std::stable_sort(ports.begin(), ports.end(), [&](const VorhandenerPort &a, const VorhandenerPort &b) {
        return rang(a) < rang(b);
    });
    return ports;
}
