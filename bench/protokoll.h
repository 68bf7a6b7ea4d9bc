#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QJsonObject>
#include <QList>
#include <QObject>
#include <QString>

#include <optional>

struct Ereignis;
class Ereignisstrom;

// The bench's traceability record: a header line, then one line per board,
// tab-separated (see spalten()). Each line is one write to the file opened
// anew for appending, so that after log rotation or removal the next line
// goes to a file at the named path, and it is on the disk (fdatasync)
// before the board counts as recorded.
class Protokoll
{
public:
    explicit Protokoll(const QString &pfad);

    // Appends a board's line, the header first if the log is new or empty;
    // false when it could not be written durably, and `fehler` says why. At
    // the start, with no line, it checks that the log can be written.
    bool eintragen(const QByteArray &zeile, QString &fehler) const;

    const QString &pfad() const { return m_pfad; }

    // The columns' names, as the header line has them.
    static QByteArray spalten();
    // A board's line from the fields of its result, its fields escaped so
    // that every line has the same number of fields.
    static QByteArray zeile(const QDateTime &zeit, const QJsonObject &ergebnis, const QString &bildpfad,
                            const QByteArray &sha256);
    // A line read back, its fields named by their columns; nothing for a
    // line that is no record.
    static std::optional<QJsonObject> eintrag(const QByteArray &zeile);

private:
    const QString m_pfad;
};

// The log as a subscriber to the bench: each board's result becomes its
// line before any view shows it, and says on the stream whether it was
// written. A line that could not be written is kept for one more try.
class Protokollschreiber : public QObject
{
    Q_OBJECT
public:
    Protokollschreiber(const Protokoll &protokoll, const QString &bildpfad, const QByteArray &sha256,
                       Ereignisstrom &strom, QObject *parent = nullptr);

    // Whether every line was written at its first try.
    bool fehlerfrei() const { return m_nichtEingetragen.isEmpty(); }
    // At the end each line that failed is tried once more; one that fails
    // again is "record_lost", with the line, so that it is not lost.
    void nachholen();

private:
    void eintragen(const Ereignis &ereignis);

    const Protokoll &m_protokoll;
    const QString m_bildpfad;
    const QByteArray m_sha256;
    Ereignisstrom &m_strom;
    QList<std::pair<QString, QByteArray>> m_nichtEingetragen;  // port and line
};
