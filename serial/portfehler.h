#pragma once

#include "serial/portliste.h"

#include <QList>
#include <QString>

// Why a port could not be used.
enum class Portfehler {
    nichtVorhanden,     // no such device, or a link in the port folder that leads nowhere
    keineBerechtigung,
    belegt,             // held by another program
    verloren,           // failed while open: adapter pulled, line hung up
    bitrate,            // opened, but 115200 bit/s could not be set
    sonstiger,
};

// The lines below the port message: the device tried and why it failed, then
// the other ports that the port field reaches.
QString porterlaeuterung(const QString &geraet, Portfehler fehler, const QList<VorhandenerPort> &vorhanden);
