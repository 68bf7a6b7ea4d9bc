#pragma once

#include "cli/platine.h"

#include <QList>
#include <QObject>

class Abbruchsignal;
class Crc32;

// Several boards flashed at once, on the one event loop: each board is an
// object of its own; this collects their results.
class Flashlauf : public QObject
{
    Q_OBJECT
public:
    Flashlauf(const QList<Portangabe> &ports, const Firmwarebild &bild, const Platine::Einstellungen &einstellungen,
              const Crc32 &crc, QObject *parent = nullptr);

    const QList<Platine *> &platinen() const { return m_platinen; }
    void starten();
    void abbrechen();
    // Runs the boards until each has its result; Ctrl+C returns them to rest.
    void ausfuehren(Abbruchsignal &abbruch);

    static constexpr int abbruchStatus = 130;
    static constexpr int schreibfehlerStatus = 7;

    // 0 when every board succeeded, else the status of the first board in
    // the order given that failed; 130 after an interruption.
    int exitStatus() const;

signals:
    void fertig();

private:
    QList<Platine *> m_platinen;
    int m_laufende = 0;
    bool m_abgebrochen = false;
};

// The exit status that a board's result stands for.
int exitStatus(Ergebnis::Art art);
