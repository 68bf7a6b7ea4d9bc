#pragma once

#include "cli/firmwarebild.h"
#include "cli/optionen.h"

#include <QEventLoop>
#include <QFileSystemWatcher>
#include <QHash>
#include <QObject>
#include <QTimer>

#include <optional>

class Abbruchsignal;
class Bericht;
class Crc32;
class Protokoll;

// The production bench: every board whose port appears is flashed once,
// in parallel with those already at work, until Ctrl+C. A board is not
// touched again until its port has gone and come back. Every port taken on
// gets one record and one place in the tally.
class Werkbank : public QObject
{
    Q_OBJECT
public:
    Werkbank(const Optionen &optionen, const Firmwarebild &bild, const Crc32 &crc, Bericht &bericht,
             const Protokoll *protokoll, QObject *parent = nullptr);

    // Watches until Ctrl+C, or until a record or the output cannot be
    // written and the boards at work have finished. The exit status: 130 when
    // a board was cut off mid-update, else that of the first board that
    // failed, else 7 when a record or output was lost, else 0.
    int ausfuehren(Abbruchsignal &abbruch);

private:
    // A port seen present, and the board flashed on it since it appeared.
    struct Steckplatz
    {
        Portangabe port;
        Platine *platine = nullptr;
        bool vorhanden = true;
        bool warWeg = false;  // gone while its board was at work: the next board may be there
    };

    void ansagen();
    void umsehen();
    void anstecken(const QString &schluessel);
    void platineFertig(Platine *platine);
    void eintragen(const Platine *platine);
    bool nimmtPlatinen() const;
    void endeWennFertig();
    void aufhoeren();
    QString bilanz() const;

    const Optionen &m_optionen;
    const Firmwarebild &m_bild;
    const Crc32 &m_crc;
    Bericht &m_bericht;
    const Protokoll *m_protokoll;
    QHash<QString, Steckplatz> m_steckplaetze;  // by the device itself
    QFileSystemWatcher m_waechter;
    QTimer m_abfrage;
    QEventLoop m_schleife;
    QList<QByteArray> m_nichtEingetragen;  // lines to try once more at the end
    int m_erfolgreich = 0;
    int m_fehlgeschlagen = 0;
    int m_ohneBootloader = 0;
    int m_abgebrochen = 0;
    int m_status = 0;
    bool m_mittenImUpdate = false;
    bool m_hoertAuf = false;
    bool m_beendet = false;
};
