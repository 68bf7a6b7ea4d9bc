#pragma once

#include <QDateTime>
#include <QJsonObject>
#include <QList>
#include <QObject>
#include <QString>

// A time as the log and the events write it: ISO 8601 with its offset
// from UTC.
QString zeitMitVersatz(const QDateTime &zeit, Qt::DateFormat format = Qt::ISODate);

// Something that happened at the bench, as a value: its type ("result",
// "page", ...), its fields, its place in the run and its time.
struct Ereignis
{
    QString typ;
    QJsonObject felder;
    qint64 seq = 0;
    QDateTime zeit;

    QString port() const { return felder.value(QStringLiteral("port")).toString(); }
    // One flat object: seq, type, time and the fields.
    QJsonObject alsJson() const;
};

// The one stream every view of the bench reads: the text and JSON output,
// the log and whatever else subscribes. Sequence numbers start at 1 and
// only rise; an event sent while another is handed out waits its turn, so
// that every subscriber sees them in that order.
class Ereignisstrom : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    void senden(const QString &typ, const QJsonObject &felder = {});

signals:
    void ereignis(const Ereignis &ereignis);

private:
    qint64 m_seq = 0;
    QList<Ereignis> m_wartend;
    bool m_verteilt = false;
};
