#include "cli/protokoll.h"

#include "cli/bericht.h"
#include "cli/platine.h"

#include <QDateTime>
#include <QFileInfo>

namespace {

QString oderStrich(const QString &text)
{
    return text.isEmpty() ? QStringLiteral("-") : text;
}

} // namespace

bool Protokoll::oeffnen(const QString &pfad, QString &fehler)
{
    m_datei.setFileName(pfad);
    if (m_datei.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text))
        return true;
    fehler = QStringLiteral("%1: %2").arg(pfad, m_datei.errorString());
    return false;
}

void Protokoll::eintragen(const Portangabe &port, const Ergebnis &ergebnis, const QString &bilddatei)
{
    const QDateTime jetzt = QDateTime::currentDateTime();
    const QStringList felder{
        jetzt.toOffsetFromUtc(jetzt.offsetFromUtc()).toString(Qt::ISODate),
        port.name(),
        port.geraet,
        oderStrich(port.seriennummer),
        QFileInfo(bilddatei).fileName(),
        oderStrich(QString::fromLatin1(ergebnis.crc.toHex())),
        ergebnisname(ergebnis.art),
        oderStrich(QString::fromLatin1(ergebnis.boardCrc.toHex())),
    };
    m_datei.write(felder.join(QLatin1Char('\t')).toUtf8() + '\n');
    m_datei.flush();
}
