// kvxflash: the command-line loader. It flashes one board or several at once
// through the same detection and upload as the window.
#include "app/version.h"
#include "cli/abbruchsignal.h"
#include "cli/bericht.h"
#include "cli/bildpruefung.h"
#include "cli/flashlauf.h"
#include "cli/optionen.h"
#include "cli/terminal.h"
#include "update/crc32.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTextStream>
#include <QTimer>

namespace {

constexpr int aufruffehler = 1;

Bericht::Form berichtsform(const Optionen &optionen)
{
    if (optionen.json)
        return Bericht::json;
    if (optionen.leise)
        return Bericht::leise;
    return liveFaehigesTerminal() ? Bericht::live : Bericht::zeilen;
}

// Runs the boards until each has its result, or Ctrl+C returns them to rest.
void ablaufen(Flashlauf &lauf, Abbruchsignal &abbruch)
{
    QEventLoop schleife;
    QObject::connect(&lauf, &Flashlauf::fertig, &schleife, &QEventLoop::quit);
    const QMetaObject::Connection abbrechen = QObject::connect(&abbruch, &Abbruchsignal::ausgeloest, &lauf, &Flashlauf::abbrechen);
    QTimer::singleShot(0, &lauf, &Flashlauf::starten);
    schleife.exec();
    QObject::disconnect(abbrechen);
}

int flashen(const Optionen &optionen, Bericht &bericht, Abbruchsignal &abbruch, const Crc32 &crc)
{
    const Bildpruefung bild = Bildpruefung::pruefen(optionen.einstellungen.bildpfad, crc);
    if (!bild.geladen) {
        Ergebnis abgelehnt;
        abgelehnt.art = Ergebnis::datei;
        abgelehnt.meldung = bild.meldung;
        for (const Portangabe &port : optionen.ports)
            bericht.ergebnis(port, abgelehnt);
        return exitStatus(abgelehnt);
    }

    Flashlauf lauf(optionen.ports, optionen.einstellungen, crc);
    for (Platine *platine : lauf.platinen())
        bericht.beobachten(platine);
    ablaufen(lauf, abbruch);
    return lauf.exitStatus();
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("kvxflash"));
    QCoreApplication::setApplicationVersion(QStringLiteral(KVXLOADER_VERSION));

    QString fehler;
    const std::optional<Optionen> optionen = optionenLesen(QCoreApplication::arguments(), fehler);
    if (!optionen) {
        QTextStream(stderr) << "kvxflash: " << fehler << "\nHilfe: kvxflash --help\n";
        return aufruffehler;
    }

    Crc32 crc;
    crc.CRCInit(Crc32::standardPolynomial);
    Abbruchsignal abbruch;
    QTextStream aus(stdout);
    Bericht bericht(berichtsform(*optionen), aus);
    return flashen(*optionen, bericht, abbruch, crc);
}
