#pragma once

#include "bench/platine.h"

#include <QList>
#include <QObject>

class Abbruchsignal;
class Crc32;
class Ereignisstrom;

// Several boards flashed at once, on the one event loop: each board is an
// object of its own; this collects their results.
class Flashlauf : public QObject
{
    Q_OBJECT
public:
    Flashlauf(const QList<Portangabe> &ports, const Firmwarebild &bild, const Platine::Einstellungen &einstellungen,
              const Crc32 &crc, Ereignisstrom &strom, QObject *parent = nullptr);

    const QList<Platine *> &platinen() const { return m_platinen; }
    void starten();
    void abbrechen();
    // Runs the boards until each has its result; Ctrl+C returns them to rest.
    void ausfuehren(Abbruchsignal &abbruch);

    // 0 when every board succeeded, else the status of the first board in
    // the order given that failed; 130 after an interruption.
    int exitStatus() const;

signals:
    void fertig();

private:
    const Firmwarebild &m_bild;
    Ereignisstrom &m_strom;
    QList<Platine *> m_platinen;
    Bilanz m_bilanz;
    int m_laufende = 0;
    bool m_abgebrochen = false;
};
