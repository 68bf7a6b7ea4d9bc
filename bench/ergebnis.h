#pragma once

#include "bench/portangabe.h"

#include <QByteArray>
#include <QJsonObject>
#include <QList>
#include <QString>

#include <optional>
#include <utility>

// How one board's run ended, with what a script needs to know about it.
struct Ergebnis
{
    // In the order of the exit statuses' meaning; see exitStatus().
    enum Art { ok, datei, nicht_gefunden, port, zeitueberschreitung, protokoll, abgebrochen };

    Art art = ok;
    QString meldung;       // the window's text for the outcome
    QString erlaeuterung;  // what the port message adds, if anything
    int seiten = 0;
    int seitenGesendet = 0;  // pages the board has taken in the last attempt
    QByteArray crc;        // the image's CRC string
    QByteArray sha256;     // of the image's file as it was read
    QByteArray boardCrc;   // the board's answer to "$", when it came
    double sekunden = 0;
    int versuche = 0;
    bool bootloaderGefunden = false;  // in some attempt
    bool verbindungVerloren = false;  // the board went away during the last attempt
    bool uploadBegonnen = false;      // in the last attempt: the board may be left mid-update
    // The serial number each attempt wrote, and how that attempt ended.
    QList<std::pair<quint64, Art>> seriennummern;
};

constexpr int abbruchStatus = 130;
constexpr int schreibfehlerStatus = 7;

// The exit status that a board's result stands for.
int exitStatus(Ergebnis::Art art);

// The result's name for scripts: "ok", "file", "not_found", "port",
// "timeout", "protocol", "aborted".
QString ergebnisname(Ergebnis::Art art);
// The result a name stands for; nothing for an unknown one.
std::optional<Ergebnis::Art> ergebnisart(const QString &name);

// A board's result as `kvxflash --json` gives it, with "upload_begun" beside
// it for the text that says at which page it stopped.
QJsonObject ergebnisfelder(const Portangabe &port, const Ergebnis &ergebnis);

// How many boards ended how: ok, failed (file, port, timeout, protocol),
// without bootloader, aborted.
struct Bilanz
{
    int erfolgreich = 0;
    int fehlgeschlagen = 0;
    int ohneBootloader = 0;
    int abgebrochen = 0;

    void zaehlen(Ergebnis::Art art);
    QJsonObject felder() const;
};
