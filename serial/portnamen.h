#pragma once

#include <QString>

// The system name of COM port n: "COMn" on Windows; elsewhere
// $KVXLOADER_PORT_DIR/COMn when that variable is set, else /dev/ttyUSB<n-1>.
QString systemPortName(int number);
