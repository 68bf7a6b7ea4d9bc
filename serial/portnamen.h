#pragma once

#include <QString>

// The system name of COM port n: "COMn" on Windows; elsewhere
// $KVXLOADER_PORT_DIR/COMn when that variable is set, else /dev/ttyUSB<n-1>.
QString systemPortName(int number);

// The other way round: the COM number 1 to 20 under which the window reaches
// the device, or 0 when it cannot.
int comNummerFuer(const QString &geraet);
