#pragma once

#include "cli/platine.h"
#include "cli/portangabe.h"

#include <QList>
#include <QStringList>

#include <optional>

// What the command line asks for.
struct Optionen
{
    enum Modus { flashen, auflisten, beobachten, untersuchen };

    Modus modus = flashen;
    QList<Portangabe> ports;     // empty with -p auto
    bool automatisch = false;    // -p auto
    Platine::Einstellungen einstellungen;
    bool json = false;
    bool leise = false;
    bool pruefen = false;        // --list --probe
    // The watch's filters and record.
    std::optional<quint16> usbVid;
    std::optional<quint16> usbPid;
    QString seriennummer;
    QString protokolldatei;
};

// Reads the arguments (the program's name first). --help and --version
// print and end the program here. A usage error gives nothing, and
// `fehler` says what is wrong.
std::optional<Optionen> optionenLesen(const QStringList &argumente, QString &fehler);
