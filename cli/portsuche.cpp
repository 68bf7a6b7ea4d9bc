#include "cli/portsuche.h"

#include "cli/ausgabe.h"
#include "cli/bericht.h"
#include "cli/flashlauf.h"
#include "cli/meldungen.h"
#include "cli/optionen.h"
#include "serial/portliste.h"

#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>

namespace {

QString portordner()
{
    const QString ordner = qEnvironmentVariable("KVXLOADER_PORT_DIR");
    return ordner.isEmpty() ? QString() : QDir(ordner).path() + QLatin1Char('/');
}

bool passt(const VorhandenerPort &port, const Optionen &optionen)
{
    if (!portordner().isEmpty() && port.geraet.startsWith(portordner()))
        return true;
    return port.vid && (!optionen.usbVid || (port.vid == optionen.usbVid && port.pid == optionen.usbPid))
        && (optionen.seriennummer.isEmpty() || port.seriennummer == optionen.seriennummer);
}

Portangabe alsPortangabe(const VorhandenerPort &port)
{
    return Portangabe{port.comNummer, port.geraet, port.seriennummer};
}

// "COM 1 = /dev/ttyUSB0 (FT232R USB UART, FTDI, USB 0403:6001, Seriennummer A1)"
QString alsZeile(const VorhandenerPort &port)
{
    QStringList angaben;
    for (const QString &angabe : {port.beschreibung, port.hersteller})
        if (!angabe.isEmpty())
            angaben << angabe;
    if (port.vid && port.pid)
        angaben << QStringLiteral("USB ") + usbKennung(*port.vid, *port.pid);
    if (!port.seriennummer.isEmpty())
        angaben << Meldungen::usbSeriennummer(port.seriennummer);
    QString zeile = port.comNummer > 0 ? QStringLiteral("COM %1 = %2").arg(port.comNummer).arg(port.geraet) : port.geraet;
    if (!angaben.isEmpty())
        zeile += QStringLiteral(" (%1)").arg(angaben.join(QStringLiteral(", ")));
    return zeile;
}

QJsonObject alsJson(const VorhandenerPort &port)
{
    QJsonObject objekt{{QStringLiteral("port"), alsPortangabe(port).name()},
                       {QStringLiteral("device"), port.geraet},
                       {QStringLiteral("description"), port.beschreibung},
                       {QStringLiteral("manufacturer"), port.hersteller},
                       {QStringLiteral("serial"), port.seriennummer}};
    if (port.vid && port.pid)
        objekt.insert(QStringLiteral("usb"), usbKennung(*port.vid, *port.pid));
    return objekt;
}

Platine::Einstellungen nurErkennen()
{
    Platine::Einstellungen einstellungen;
    einstellungen.nurErkennen = true;
    return einstellungen;
}

// "found", or why not: "not_found", "port" (missing, busy, forbidden), "aborted".
QString probeErgebnis(Ergebnis::Art art)
{
    return art == Ergebnis::ok ? QStringLiteral("found") : ergebnisname(art);
}

} // namespace

QString usbKennung(quint16 vid, quint16 pid)
{
    return QStringLiteral("%1:%2").arg(vid, 4, 16, QLatin1Char('0')).arg(pid, 4, 16, QLatin1Char('0'));
}

QList<Portangabe> usbPorts(const Optionen &optionen)
{
    QList<Portangabe> ports;
    QSet<QString> geraete;
    for (const VorhandenerPort &port : vorhandenePorts()) {
        const Portangabe angabe = alsPortangabe(port);
        if (passt(port, optionen) && !geraete.contains(angabe.schluessel())) {
            geraete.insert(angabe.schluessel());
            ports << angabe;
        }
    }
    return ports;
}

QList<Portangabe> genanntePorts(const Optionen &optionen)
{
    QHash<QString, QString> seriennummern;
    for (const VorhandenerPort &port : vorhandenePorts())
        seriennummern.insert(port.geraet, port.seriennummer);
    QList<Portangabe> ports;
    for (Portangabe port : optionen.ports) {
        if (!seriennummern.contains(port.geraet))
            continue;
        port.seriennummer = seriennummern.value(port.geraet);
        ports << port;
    }
    return ports;
}

std::optional<QList<Abfrage>> bootloaderAbfragen(const QList<Portangabe> &ports, Abbruchsignal &abbruch,
                                                 const Crc32 &crc)
{
    Flashlauf suche(ports, Firmwarebild(), nurErkennen(), crc);
    suche.ausfuehren(abbruch);
    if (suche.exitStatus() == Flashlauf::abbruchStatus)
        return std::nullopt;
    QList<Abfrage> abfragen;
    for (const Platine *platine : suche.platinen())
        abfragen << Abfrage{platine->port(), platine->ergebnis()};
    return abfragen;
}

int auflisten(const Optionen &optionen, Ausgabe &aus, Abbruchsignal &abbruch, const Crc32 &crc)
{
    const QList<VorhandenerPort> ports = vorhandenePorts();
    QList<Portangabe> angaben;
    for (const VorhandenerPort &port : ports)
        angaben << alsPortangabe(port);
    Flashlauf suche(optionen.pruefen ? angaben : QList<Portangabe>(), Firmwarebild(), nurErkennen(), crc);
    suche.ausfuehren(abbruch);

    for (qsizetype i = 0; i < ports.size(); ++i) {
        const Ergebnis *probe = optionen.pruefen ? &suche.platinen().at(i)->ergebnis() : nullptr;
        if (optionen.json) {
            QJsonObject objekt = alsJson(ports.at(i));
            if (probe) {
                objekt.insert(QStringLiteral("probe"), probeErgebnis(probe->art));
                objekt.insert(QStringLiteral("message"), probe->meldung);
                if (!probe->erlaeuterung.isEmpty())
                    objekt.insert(QStringLiteral("detail"), probe->erlaeuterung);
            }
            aus.schreiben(QString::fromUtf8(QJsonDocument(objekt).toJson(QJsonDocument::Compact)) + QLatin1Char('\n'));
        } else {
            QString zeile = alsZeile(ports.at(i));
            if (probe)
                zeile += QStringLiteral(": ") + probe->meldung
                       + (probe->erlaeuterung.isEmpty() ? QString() : QLatin1Char(' ') + probe->erlaeuterung);
            aus.schreiben(zeile + QLatin1Char('\n'));
        }
    }
    if (suche.exitStatus() == Flashlauf::abbruchStatus)
        return Flashlauf::abbruchStatus;
    return aus.fehlgeschlagen() ? Flashlauf::schreibfehlerStatus : 0;
}
