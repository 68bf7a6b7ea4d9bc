#include "boardprocess.h"

#include <QDir>

#include <stdexcept>

BoardProcess::BoardProcess(const QString &dir, int port, int bytesPerSecond, int flashWriteMs,
                           const QStringList &fehler)
    : m_portPath(QDir(dir).filePath(QStringLiteral("COM%1").arg(port)))
{
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start(QStringLiteral(KVXBOARD_SIM),
                    QStringList{QStringLiteral("--dir"), dir,
                                QStringLiteral("--port"), QString::number(port),
                                QStringLiteral("--bytes-per-second"), QString::number(bytesPerSecond),
                                QStringLiteral("--flash-ms"), QString::number(flashWriteMs)}
                        + fehler);

    // The board announces its port once the link is in place.
    const QByteArray announcement = "kvxboard-sim: COM" + QByteArray::number(port) + " -> ";
    while (!m_process.canReadLine()) {
        if (!m_process.waitForReadyRead(5000))
            throw std::runtime_error("kvxboard-sim did not start: " + m_process.errorString().toStdString());
    }
    if (!m_process.readLine().startsWith(announcement))
        throw std::runtime_error("kvxboard-sim did not announce COM" + std::to_string(port));
}

BoardProcess::~BoardProcess()
{
    m_process.terminate();
    if (!m_process.waitForFinished(3000))
        m_process.kill();
    m_process.waitForFinished();
}
