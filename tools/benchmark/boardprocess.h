#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

// The simulated board as a program of its own (kvxboard-sim), serving
// <dir>/COM<port> at the given line pace and flash-write time per page, with
// kvxboard-sim's fault options if any.
class BoardProcess
{
public:
    // Returns once the port exists; throws std::runtime_error.
    BoardProcess(const QString &dir, int port, int bytesPerSecond, int flashWriteMs,
                 const QStringList &fehler = {});
    ~BoardProcess();

    QString portPath() const { return m_portPath; }

private:
    QProcess m_process;
    QString m_portPath;
};
