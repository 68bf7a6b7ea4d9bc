#include "bench/portsuche.h"

#include "bench/ereignis.h"
#include "bench/flashlauf.h"
#include "serial/portliste.h"

#include <QDir>
#include <QSet>

namespace {

QString portordner()
{
    const QString ordner = qEnvironmentVariable("KVXLOADER_PORT_DIR");
    return ordner.isEmpty() ? QString() : QDir(ordner).path() + QLatin1Char('/');
}

// A file in the port folder has no USB ID and no USB serial number: a
// filter for either does not let it through.
bool passt(const VorhandenerPort &port, const Portfilter &filter)
{
    if (!portordner().isEmpty() && port.geraet.startsWith(portordner()))
        return !filter.vid && filter.seriennummer.isEmpty();
    return port.vid && (!filter.vid || (port.vid == filter.vid && port.pid == filter.pid))
        && (filter.seriennummer.isEmpty() || port.seriennummer == filter.seriennummer);
}

Platine::Einstellungen nurErkennen()
{
    Platine::Einstellungen einstellungen;
    einstellungen.nurErkennen = true;
    return einstellungen;
}

} // namespace

QString usbKennung(quint16 vid, quint16 pid)
{
    return QStringLiteral("%1:%2").arg(vid, 4, 16, QLatin1Char('0')).arg(pid, 4, 16, QLatin1Char('0'));
}

Portangabe alsPortangabe(const VorhandenerPort &port)
{
    return Portangabe{port.comNummer, port.geraet, port.seriennummer,
                      port.vid && port.pid ? usbKennung(*port.vid, *port.pid) : QString()};
}

QList<Portangabe> usbPorts(const Portfilter &filter)
{
    QList<Portangabe> ports;
    QSet<QString> geraete;
    for (const VorhandenerPort &port : vorhandenePorts()) {
        const Portangabe angabe = alsPortangabe(port);
        if (passt(port, filter) && !geraete.contains(angabe.schluessel())) {
            geraete.insert(angabe.schluessel());
            ports << angabe;
        }
    }
    return ports;
}

QList<Portangabe> genanntePorts(const QList<Portangabe> &genannt)
{
    QHash<QString, Portangabe> vorhanden;
    for (const VorhandenerPort &port : vorhandenePorts())
        vorhanden.insert(port.geraet, alsPortangabe(port));
    QList<Portangabe> ports;
    for (Portangabe port : genannt) {
        if (!vorhanden.contains(port.geraet))
            continue;
        port.seriennummer = vorhanden.value(port.geraet).seriennummer;
        port.usb = vorhanden.value(port.geraet).usb;
        ports << port;
    }
    return ports;
}

QList<Abfrage> bootloaderAbfragen(const QList<Portangabe> &ports, Abbruchsignal &abbruch, const Crc32 &crc,
                                  bool &abgebrochen)
{
    Ereignisstrom ungehoert;
    const Firmwarebild ohneBild;  // the run keeps a reference to it
    Flashlauf suche(ports, ohneBild, nurErkennen(), crc, ungehoert);
    suche.ausfuehren(abbruch);
    abgebrochen = suche.exitStatus() == abbruchStatus;
    QList<Abfrage> abfragen;
    for (const Platine *platine : suche.platinen())
        abfragen << Abfrage{platine->port(), platine->ergebnis()};
    return abfragen;
}
