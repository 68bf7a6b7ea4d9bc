#pragma once

#include <QLockFile>
#include <QString>

#include <memory>
#include <optional>

// The next serial number, kept in a file as decimal text, so that no number
// is ever given twice: not after a failed attempt, not after a crash or a
// power loss (the file is rewritten durably before a number is used), not
// by two programs at once (the second is refused while the first runs).
class Seriennummernzaehler
{
public:
    // Locks the counter and reads it; the next number is the larger of
    // `erste` and the file's (a missing file has none). False, and `fehler`
    // says why, when it cannot be used.
    bool oeffnen(const QString &pfad, quint64 erste, QString &fehler);

    quint64 naechste() const { return m_naechste; }
    // Takes the next number: the file holds the one after it before it is
    // returned. Nothing, and `fehler` says why, when the file cannot be written.
    std::optional<quint64> nehmen(QString &fehler);

private:
    bool speichern(quint64 naechste, QString &fehler) const;

    QString m_pfad;
    std::unique_ptr<QLockFile> m_sperre;
    quint64 m_naechste = 0;
};
