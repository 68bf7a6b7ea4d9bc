#pragma once

#include <QByteArray>
#include <QString>

// Writes all of `bytes` to the open file `fd`, going on after a partial
// write; the system's reason when that fails, else nothing.
QString ganzSchreiben(int fd, const QByteArray &bytes);

// Appends `zeile` to the regular file at `pfad`, with `kopf` before it when
// the file is new or empty, in one write, and puts it on the disk
// (fdatasync) before it counts. A line that was not written whole or is not
// known to be on the disk is cut back off, so that it cannot spoil the next
// one. The reason, as a sentence, when that fails; else nothing.
QString dauerhaftAnhaengen(const QString &pfad, const QByteArray &zeile, const QByteArray &kopf = QByteArray());
