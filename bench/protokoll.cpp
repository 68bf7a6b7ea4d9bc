#include "bench/protokoll.h"

#include "bench/ereignis.h"
#include "bench/schreiben.h"
#include "core/texte.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QStringList>

namespace {

// A board that floods may answer anything: its CRC field keeps 16 bytes.
constexpr int boardCrcHex = 2 * 16;

// Tab, line breaks and backslash as C writes them, other control
// characters as \xNN; empty as "-".
QByteArray feld(const QString &text)
{
    if (text.isEmpty())
        return "-";
    QByteArray ergebnis;
    for (const char c : text.toUtf8()) {
        switch (c) {
        case '\t': ergebnis += "\\t"; break;
        case '\n': ergebnis += "\\n"; break;
        case '\r': ergebnis += "\\r"; break;
        case '\\': ergebnis += "\\\\"; break;
        default:
            if ((c >= 0 && c < 0x20) || c == 0x7F)
                ergebnis += "\\x" + QByteArray::number(uchar(c), 16).rightJustified(2, '0');
            else
                ergebnis += c;
        }
    }
    return ergebnis;
}

// Every attempt's number, the last one that of the result.
// The field as it was before feld() escaped it.
QString unmaskiert(const QByteArray &feld)
{
    if (feld == "-")
        return QString();
    QByteArray text;
    for (qsizetype i = 0; i < feld.size(); ++i) {
        if (feld[i] != '\\' || i + 1 == feld.size()) {
            text += feld[i];
            continue;
        }
        switch (feld[++i]) {
        case 't': text += '\t'; break;
        case 'n': text += '\n'; break;
        case 'r': text += '\r'; break;
        case 'x': text += char(feld.mid(i + 1, 2).toInt(nullptr, 16)); i += 2; break;
        default: text += feld[i];
        }
    }
    return QString::fromUtf8(text);
}

QString seriennummern(const QJsonObject &ergebnis)
{
    QStringList nummern;
    for (const QJsonValue &versuch : ergebnis.value(QStringLiteral("sn_attempts")).toArray())
        nummern << versuch.toObject().value(QStringLiteral("sn")).toString();
    return nummern.join(QLatin1Char(','));
}

QString boardCrcFeld(const QString &hex)
{
    return hex.size() > boardCrcHex ? hex.left(boardCrcHex) + QStringLiteral("…") : hex;
}

QString text(const QJsonObject &felder, const char *name)
{
    return felder.value(QLatin1String(name)).toString();
}


} // namespace

Protokoll::Protokoll(const QString &pfad)
    : m_pfad(pfad)
{
}

QByteArray Protokoll::spalten()
{
    return "time\tport\tdevice\tusb_serial\timage\tsha256\tcrc\tsn\tresult\tboard_crc\n";
}

QByteArray Protokoll::zeile(const QDateTime &zeit, const QJsonObject &ergebnis, const QString &bildpfad,
                            const QByteArray &sha256)
{
    const QList<QByteArray> felder{
        feld(zeitMitVersatz(zeit)),
        feld(text(ergebnis, "port")),
        feld(text(ergebnis, "device")),
        feld(text(ergebnis, "serial")),
        feld(QFileInfo(bildpfad).fileName()),
        feld(QString::fromLatin1(sha256.toHex())),
        feld(text(ergebnis, "crc")),
        feld(seriennummern(ergebnis)),
        feld(text(ergebnis, "result")),
        feld(boardCrcFeld(text(ergebnis, "board_crc"))),
    };
    return felder.join('\t') + '\n';
}

std::optional<QJsonObject> Protokoll::eintrag(const QByteArray &zeile)
{
    const QList<QByteArray> namen = spalten().chopped(1).split('\t');
    const QList<QByteArray> felder = zeile.split('\t');
    if (felder.size() != namen.size() || zeile == spalten().chopped(1))
        return std::nullopt;
    QJsonObject eintrag;
    for (qsizetype i = 0; i < felder.size(); ++i)
        eintrag.insert(QString::fromLatin1(namen[i]), unmaskiert(felder[i]));
    return eintrag;
}

bool Protokoll::eintragen(const QByteArray &zeile, QString &fehler) const
{
    // The header and the first line in one write, so that no reader sees one without the other.
    fehler = dauerhaftAnhaengen(m_pfad, zeile, spalten());
    return fehler.isEmpty();
}

Protokollschreiber::Protokollschreiber(const Protokoll &protokoll, const QString &bildpfad, const QByteArray &sha256,
                                       Ereignisstrom &strom, QObject *parent)
    : QObject(parent), m_protokoll(protokoll), m_bildpfad(bildpfad), m_sha256(sha256), m_strom(strom)
{
    connect(&strom, &Ereignisstrom::ereignis, this, &Protokollschreiber::eintragen);
}

void Protokollschreiber::eintragen(const Ereignis &ereignis)
{
    if (ereignis.typ != QStringLiteral("result"))
        return;
    const QByteArray zeile = Protokoll::zeile(ereignis.zeit, ereignis.felder, m_bildpfad, m_sha256);
    QString grund;
    QJsonObject felder{{QStringLiteral("port"), ereignis.port()}, {QStringLiteral("log"), m_protokoll.pfad()}};
    if (m_protokoll.eintragen(zeile, grund)) {
        m_strom.senden(QStringLiteral("record_written"), felder);
        return;
    }
    m_nichtEingetragen << std::make_pair(ereignis.port(), zeile);
    felder.insert(QStringLiteral("message"), grund);
    m_strom.senden(QStringLiteral("record_failed"), felder);
}

void Protokollschreiber::nachholen()
{
    for (const auto &[port, zeile] : std::as_const(m_nichtEingetragen)) {
        QString grund;
        if (m_protokoll.eintragen(zeile, grund))
            m_strom.senden(QStringLiteral("record_written"),
                           {{QStringLiteral("port"), port}, {QStringLiteral("log"), m_protokoll.pfad()}});
        else
            m_strom.senden(QStringLiteral("record_lost"), {{QStringLiteral("port"), port},
                                                           {QStringLiteral("log"), m_protokoll.pfad()},
                                                           {QStringLiteral("message"), grund},
                                                           {QStringLiteral("line"), QString::fromUtf8(zeile.chopped(1))}});
    }
}
