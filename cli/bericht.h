#pragma once

#include "bench/portangabe.h"

#include <QElapsedTimer>
#include <QJsonObject>
#include <QList>
#include <QObject>

class Ausgabe;
struct Ereignis;
class Ereignisstrom;

// What the user or a script reads on standard output while boards are
// flashed, as the bench's events tell it: a live display with one line per
// running board on a terminal, otherwise one line per step and page; only
// the final lines with -q; one JSON object per board with --json.
class Bericht : public QObject
{
    Q_OBJECT
public:
    enum Form { zeilen, live, leise, json };

    Bericht(Form form, Ausgabe &aus, QObject *parent = nullptr);

    void abonnieren(Ereignisstrom &strom);
    // A word to the operator beside the results (what the watch does, its
    // final tally): with --json on standard error, so that standard output
    // stays JSON.
    void ansage(const QString &text);
    // Whether standard output failed (a full disk, a closed pipe).
    bool ausgabeFehlgeschlagen() const;

private:
    // A board's final line or JSON object, from the fields of its result.
    void ergebnis(const QJsonObject &felder);

    // A board at work, as far as its events have told.
    struct Laufend
    {
        Portangabe port;
        QString schritt = {};
        int seite = 0;
        int seiten = 0;
        QElapsedTimer upload = {};
    };

    void ereignis(const Ereignis &ereignis);
    void werkbankAnsagen(const QJsonObject &felder);
    void notiz(const QString &text);
    void zeile(const QString &text);
    void liveZeichnen();
    QString liveZeile(const Laufend &board) const;

    const Form m_form;
    Ausgabe &m_aus;
    QList<Laufend> m_laufende;  // in order of start
    bool m_werkbank = false;
    QJsonObject m_bilanz;
    bool m_protokollFehlerGesagt = false;
    int m_gezeichnet = 0;       // lines of the live display now on screen
};

// A board's result as --json prints it: an object, and one line of JSON.
QJsonObject ergebnisObjekt(const QJsonObject &felder);
QByteArray ergebnisAlsJson(const QJsonObject &felder);
// A board's result as the final line a user reads.
QString ergebnisAlsZeile(const QJsonObject &felder);
