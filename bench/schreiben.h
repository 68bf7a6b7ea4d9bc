#pragma once

#include <QByteArray>
#include <QString>

// Writes all of `bytes` to the open file `fd`, going on after a partial
// write; the system's reason when that fails, else nothing.
QString ganzSchreiben(int fd, const QByteArray &bytes);
