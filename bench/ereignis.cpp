#include "bench/ereignis.h"

QString zeitMitVersatz(const QDateTime &zeit, Qt::DateFormat format)
{
    return zeit.toOffsetFromUtc(zeit.offsetFromUtc()).toString(format);
}

QJsonObject Ereignis::alsJson() const
{
    QJsonObject objekt = felder;
    objekt.insert(QStringLiteral("seq"), seq);
    objekt.insert(QStringLiteral("type"), typ);
    objekt.insert(QStringLiteral("time"), zeitMitVersatz(zeit, Qt::ISODateWithMs));
    return objekt;
}

void Ereignisstrom::senden(const QString &typ, const QJsonObject &felder)
{
    m_wartend << Ereignis{typ, felder, ++m_seq, QDateTime::currentDateTime()};
    if (m_verteilt)
        return;
    m_verteilt = true;
    while (!m_wartend.isEmpty())
        emit ereignis(m_wartend.takeFirst());
    m_verteilt = false;
}
