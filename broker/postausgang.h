#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include <optional>

// The records the broker has not yet taken, in a file of their own: one
// line per record, appended and on the disk (fdatasync) before it is sent.
// A line begins with '-' while it waits and with '+' once the broker has
// acknowledged it; when no line waits, the file is emptied. Records are
// read back from the file as they are sent, so a long queue costs disk,
// not memory.
class Postausgang
{
public:
    explicit Postausgang(const QString &pfad);

    // Checks that the outbox can be written, cuts off a line a crash left
    // half-written, and counts the records that wait.
    bool oeffnen(QString &fehler);
    // Appends a record (one line of JSON); false when it is not durably on
    // the disk, and `fehler` says why.
    bool ablegen(const QByteArray &eintrag, QString &fehler);

    struct Eintrag
    {
        qint64 stelle = 0;   // where its line begins
        qint64 danach = 0;   // where the next line begins
        QByteArray text;
    };
    // The first waiting record at or after `stelle`, in the order written.
    std::optional<Eintrag> naechster(qint64 stelle);
    // The record at `stelle` has been taken by the broker.
    void bestaetigen(qint64 stelle);

    int wartende() const { return m_wartende; }
    const QString &pfad() const { return m_pfad; }

private:
    bool zeilenende(qint64 stelle, qint64 &ende);

    const QString m_pfad;
    QFile m_datei;          // reads the records back and marks them taken
    QByteArray m_puffer;    // a stretch of the file read ahead
    qint64 m_pufferStelle = 0;
    int m_wartende = 0;
};
