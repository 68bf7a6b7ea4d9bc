#pragma once

#include <QByteArray>
#include <QString>

struct Ergebnis;
struct Firmwarebild;
struct Portangabe;

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
    // A board's line, its fields escaped so that every line has the same
    // number of fields.
    static QByteArray zeile(const Portangabe &port, const Ergebnis &ergebnis, const Firmwarebild &bild);

private:
    const QString m_pfad;
};
