#include "serial/portnamen.h"

#include <QDir>
#include <QtGlobal>

QString systemPortName(int number)
{
#ifdef Q_OS_WIN
    return QStringLiteral("COM%1").arg(number);
#else
    const QString portDir = qEnvironmentVariable("KVXLOADER_PORT_DIR");
    if (!portDir.isEmpty())
        return QDir(portDir).filePath(QStringLiteral("COM%1").arg(number));
    // The board's FTDI chip shows up as the USB serial devices, counted from 0.
    return QStringLiteral("/dev/ttyUSB%1").arg(number - 1);
#endif
}
