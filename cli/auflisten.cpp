#include "cli/auflisten.h"

#include "bench/portsuche.h"
#include "cli/ausgabe.h"
#include "cli/meldungen.h"
#include "cli/optionen.h"
#include "serial/portliste.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace {

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

// "found", or why not: "not_found", "port" (missing, busy, forbidden), "aborted".
QString probeErgebnis(Ergebnis::Art art)
{
    return art == Ergebnis::ok ? QStringLiteral("found") : ergebnisname(art);
}

} // namespace

int auflisten(const Optionen &optionen, Ausgabe &aus, Abbruchsignal &abbruch, const Crc32 &crc)
{
    const QList<VorhandenerPort> ports = vorhandenePorts();
    QList<Portangabe> angaben;
    for (const VorhandenerPort &port : ports)
        angaben << alsPortangabe(port);
    bool abgebrochen = false;
    const QList<Abfrage> abfragen = bootloaderAbfragen(optionen.pruefen ? angaben : QList<Portangabe>(), abbruch,
                                                       crc, abgebrochen);

    for (qsizetype i = 0; i < ports.size(); ++i) {
        const Ergebnis *probe = optionen.pruefen ? &abfragen.at(i).ergebnis : nullptr;
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
    if (abgebrochen)
        return abbruchStatus;
    return aus.fehlgeschlagen() ? schreibfehlerStatus : 0;
}
