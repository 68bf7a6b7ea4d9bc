#pragma once

#include "cli/platine.h"

#include <QHash>
#include <QList>
#include <QObject>

class Ausgabe;

// What the user or a script reads on standard output while boards are
// flashed: a live display with one line per running board on a terminal,
// otherwise one line per step and page; only the final lines with -q; one
// JSON object per board with --json.
class Bericht : public QObject
{
    Q_OBJECT
public:
    enum Form { zeilen, live, leise, json };

    Bericht(Form form, Ausgabe &aus, QObject *parent = nullptr);

    void beobachten(Platine *platine);
    // A board's final line or JSON object.
    void ergebnis(const Portangabe &port, const Ergebnis &ergebnis);
    // A line of its own, outside any board (a note, a tally).
    void notiz(const QString &text);
    // A word to the operator beside the results (what the watch does, its
    // final tally): with --json on standard error, so that standard output
    // stays JSON.
    void ansage(const QString &text);
    // Whether standard output failed (a full disk, a closed pipe).
    bool ausgabeFehlgeschlagen() const;

signals:
    void beobachtet(Platine *platine);

private:
    void schritt(Platine *platine, const QString &text);
    void fortschritt(Platine *platine);
    void fertig(Platine *platine);

    void zeile(const QString &text);
    void liveZeichnen();
    QString liveZeile(const Platine *platine) const;

    const Form m_form;
    Ausgabe &m_aus;
    QList<Platine *> m_laufende;   // in the live display, in order of start
    QHash<const Platine *, QString> m_letzterSchritt;
    int m_gezeichnet = 0;          // lines of the live display now on screen
};

// The result's name for scripts: "ok", "file", "not_found", "port",
// "timeout", "protocol", "aborted".
QString ergebnisname(Ergebnis::Art art);
// A board's result as one line of JSON.
QByteArray ergebnisAlsJson(const Portangabe &port, const Ergebnis &ergebnis);
// A board's result as the final line a user reads.
QString ergebnisAlsZeile(const Portangabe &port, const Ergebnis &ergebnis);
