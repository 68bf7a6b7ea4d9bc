#include "werkbankseite/protokollleser.h"

#include "bench/protokoll.h"

#include <QFile>

Protokollleser::Protokollleser(const QString &pfad)
    : m_pfad(pfad)
{
}

bool Protokollleser::nachlesen(QFile &datei, QString &fehler)
{
    if (!datei.open(QIODevice::ReadOnly)) {
        fehler = m_pfad + QStringLiteral(": ") + datei.errorString();
        return false;
    }
    // A log rotated away, or a new day: counted again from its start.
    if (datei.size() < m_gelesen || m_tag != QDate::currentDate()) {
        m_gelesen = 0;
        m_anfaenge.clear();
        m_zeilen = 0;
        m_tag = QDate::currentDate();
        m_heute = Schichtzahlen();
    }
    datei.seek(m_gelesen);
    QByteArray neu = datei.readAll();
    neu.truncate(neu.lastIndexOf('\n') + 1);  // a line still being written waits
    qint64 anfang = m_gelesen;
    for (const QByteArray &zeile : neu.split('\n')) {
        if (Protokoll::eintrag(zeile))
            m_anfaenge << anfang;
        anfang += zeile.size() + 1;
    }
    m_heute.protokollZaehlen(neu, QDateTime(m_tag, QTime(0, 0)), m_zeilen + 1);
    m_zeilen += int(neu.count('\n'));
    m_gelesen += neu.size();
    return true;
}

std::optional<QJsonArray> Protokollleser::eintraege(qint64 nach, int hoechstens, QString &fehler)
{
    QFile datei(m_pfad);
    if (!nachlesen(datei, fehler))
        return std::nullopt;
    QJsonArray eintraege;
    for (qint64 i = nach; i < m_anfaenge.size() && eintraege.size() < hoechstens; ++i) {
        datei.seek(m_anfaenge[i]);
        QByteArray zeile = datei.readLine();
        if (zeile.endsWith('\n'))
            zeile.chop(1);
        if (std::optional<QJsonObject> eintrag = Protokoll::eintrag(zeile)) {
            eintrag->insert(QStringLiteral("record"), i + 1);
            eintraege << *eintrag;
        }
    }
    return eintraege;
}

std::optional<QJsonObject> Protokollleser::heute(QString &fehler)
{
    QFile datei(m_pfad);
    if (!nachlesen(datei, fehler))
        return std::nullopt;
    return m_heute.felder();
}
