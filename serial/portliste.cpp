#include "serial/portliste.h"

#include "serial/portnamen.h"

#include <QDir>
#include <QRegularExpression>
#include <QSerialPortInfo>

#include <algorithm>
#include <climits>

namespace {

VorhandenerPort systemPort(const QSerialPortInfo &info)
{
    VorhandenerPort port;
#ifdef Q_OS_WIN
    port.geraet = info.portName();          // "COM7", not "\\.\COM7"
#else
    port.geraet = info.systemLocation();
#endif
    port.comNummer = comNummerFuer(port.geraet);
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
        port.comNummer = comNummerFuer(port.geraet);
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
