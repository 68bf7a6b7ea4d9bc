#include "serial/portnamen.h"

#include <QDir>
#include <QFileInfo>
#include <QtGlobal>

namespace {

QString portOrdner()
{
    return qEnvironmentVariable("KVXLOADER_PORT_DIR");
}

} // namespace

QString systemPortName(int number)
{
#ifdef Q_OS_WIN
    return QStringLiteral("COM%1").arg(number);
#else
    const QString portDir = portOrdner();
    if (!portDir.isEmpty())
        return QDir(portDir).absoluteFilePath(QStringLiteral("COM%1").arg(number));
    // The board's FTDI chip shows up as the USB serial devices, counted from 0.
    return QStringLiteral("/dev/ttyUSB%1").arg(number - 1);
#endif
}

int comNummerFuer(const QString &geraet)
{
    for (int nummer = 1; nummer <= 20; ++nummer) {
        const QString name = systemPortName(nummer);
        if (geraet.compare(name, Qt::CaseInsensitive) == 0
            || (!portOrdner().isEmpty() && QFileInfo(geraet).absoluteFilePath() == QFileInfo(name).absoluteFilePath()))
            return nummer;
    }
    return 0;
}
