#pragma once

#include <QJsonObject>
#include <QObject>

class Firmwarebild;
class Platine;
struct Optionen;

// The bench's boards told as events for the bench page, one JSON object
// each, numbered from 1.
class Seitenbruecke : public QObject
{
    Q_OBJECT
public:
    Seitenbruecke(const Optionen &optionen, const Firmwarebild &bild, QObject *parent = nullptr);

    void beginnen();
    void beobachten(Platine *platine);

signals:
    void ereignis(const QJsonObject &ereignis);

private:
    void melden(const QString &art, QJsonObject felder);

    const Optionen &m_optionen;
    const Firmwarebild &m_bild;
    qint64 m_seq = 0;
    QJsonObject m_zaehler;
};
