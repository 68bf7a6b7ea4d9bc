#pragma once

#include <QJsonObject>
#include <QList>
#include <QString>

// What the bench page shows, kept up to date from the bench's events (in
// their JSON form): the bench, its image, one socket per port in port order,
// the tally and the last event's sequence number. A page takes this as its
// snapshot and then applies the events after it in the same way.
class Werkbankzustand
{
public:
    explicit Werkbankzustand(const QString &werkbankname);

    void anwenden(const QJsonObject &ereignis);
    QJsonObject schnappschuss() const;
    qint64 seq() const { return m_seq; }

private:
    // A port's tile. A result stays on it until the next board is there.
    struct Sockel
    {
        QString port;
        QString zustand = QStringLiteral("empty");
        int seite = 0;
        int seiten = 0;
        QString sn;
        QString usbSeriennummer;
        bool vorhanden = false;
        QJsonObject ergebnis;  // the board's result event, empty while none
    };

    Sockel &sockel(const QString &port);
    void neueBelegung(Sockel &sockel);
    static QJsonObject alsJson(const Sockel &sockel);

    QString m_name;
    QJsonObject m_bild;
    QJsonValue m_protokoll;
    QString m_beginn;
    QJsonObject m_zaehler;
    int m_ersterVersuch = 0;  // boards that were ok at their first attempt
    QJsonObject m_letztes;    // the last result of all
    QJsonValue m_endstatus;
    QList<Sockel> m_sockel;   // in port order
    qint64 m_seq = 0;
};
