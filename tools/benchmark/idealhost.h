#pragma once

#include <QByteArray>
#include <QString>

// The fastest host the line allows: the loader's bytes for an update, each
// command handed to the port in one blocking write, then a blocking read of
// exactly its answer. Nothing happens between an answer and the next command.
class IdealHost
{
public:
    // Opens the port raw; throws std::runtime_error.
    explicit IdealHost(const QString &portPath);
    ~IdealHost();
    IdealHost(const IdealHost &) = delete;
    IdealHost &operator=(const IdealHost &) = delete;

    // One update of a padded image: seconds from the first byte written to
    // the board's CRC read. Throws when the board's CRC is not the image's.
    double update(const QByteArray &image);

private:
    QByteArray command(const QByteArray &bytes, qsizetype answerBytes);

    int m_fd = -1;
};
