#pragma once

#include "cli/optionen.h"

#include <QFileSystemWatcher>
#include <QHash>
#include <QObject>
#include <QTimer>

class Abbruchsignal;
class Bericht;
class Crc32;
class Protokoll;

// The production bench: every board whose port appears is flashed once,
// in parallel with those already at work, until Ctrl+C. A board is not
// touched again until its port has gone and come back.
class Werkbank : public QObject
{
    Q_OBJECT
public:
    Werkbank(const Optionen &optionen, const Crc32 &crc, Bericht &bericht, Protokoll *protokoll,
             QObject *parent = nullptr);

    // Watches until Ctrl+C; the exit status is that of the first board that
    // failed, 0 when none did.
    int ausfuehren(Abbruchsignal &abbruch);

private:
    // A port seen present, and the board flashed on it since it appeared.
    struct Steckplatz
    {
        Portangabe port;
        Platine *platine = nullptr;
        bool vorhanden = true;
    };

    void umsehen();
    void anstecken(const QString &geraet);
    void platineFertig(Platine *platine);
    void aufhoeren();
    QString bilanz() const;

    const Optionen &m_optionen;
    const Crc32 &m_crc;
    Bericht &m_bericht;
    Protokoll *m_protokoll;
    QHash<QString, Steckplatz> m_steckplaetze;  // by device
    QFileSystemWatcher m_waechter;
    QTimer m_abfrage;
    int m_erfolgreich = 0;
    int m_fehlgeschlagen = 0;
    int m_abgebrochen = 0;
    int m_status = 0;
    bool m_hoertAuf = false;
};
