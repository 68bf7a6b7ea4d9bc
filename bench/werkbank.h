#pragma once

#include "bench/firmwarebild.h"
#include "bench/platine.h"
#include "bench/portsuche.h"

#include <QEventLoop>
#include <QFileSystemWatcher>
#include <QHash>
#include <QObject>
#include <QTimer>

#include <optional>

class Abbruchsignal;
class Crc32;
class Ereignisstrom;
class Protokollschreiber;

// What the watch takes on, and how it flashes.
struct Werkbankeinstellungen
{
    QList<Portangabe> ports;  // the sockets named, unless `automatisch`
    bool automatisch = false; // every USB serial port the filter lets through
    Portfilter filter;
    QString protokolldatei;   // empty: no log
    Platine::Einstellungen platine;
};

// The production bench: every board whose port appears is flashed once,
// in parallel with those already at work, until Ctrl+C. A board is not
// touched again until its port has gone and come back. Every port taken on
// gets one record and one place in the tally. All of it is said on the
// event stream.
class Werkbank : public QObject
{
    Q_OBJECT
public:
    Werkbank(const Werkbankeinstellungen &einstellungen, const Firmwarebild &bild, const Crc32 &crc,
             Ereignisstrom &strom, Protokollschreiber *protokoll, QObject *parent = nullptr);

    // Watches until Ctrl+C, or until a record or the output cannot be
    // written and the boards at work have finished. The exit status: 130 when
    // a board was cut off mid-update, else that of the first board that
    // failed, else 7 when a record or output was lost, else 0.
    int ausfuehren(Abbruchsignal &abbruch);
    // A view could not show what happened (a full disk, a closed pipe):
    // nothing new is begun.
    void ausgabeVerloren() { m_ausgabeVerloren = true; }

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
    bool nimmtPlatinen() const;
    void endeWennFertig();
    void aufhoeren();
    void bilanzMelden();

    const Werkbankeinstellungen &m_einstellungen;
    const Firmwarebild &m_bild;
    const Crc32 &m_crc;
    Ereignisstrom &m_strom;
    Protokollschreiber *m_protokoll;
    QHash<QString, Steckplatz> m_steckplaetze;  // by the device itself
    QFileSystemWatcher m_waechter;
    QTimer m_abfrage;
    QEventLoop m_schleife;
    Bilanz m_bilanz;
    int m_status = 0;
    bool m_ausgabeVerloren = false;
    bool m_mittenImUpdate = false;
    bool m_hoertAuf = false;
    bool m_beendet = false;
};
