#include "bench/ergebnis.h"

#include <QJsonArray>

namespace {

const char *const ergebnisnamen[] = {"ok", "file", "not_found", "port", "timeout", "protocol", "aborted"};

} // namespace

int exitStatus(Ergebnis::Art art)
{
    switch (art) {
    case Ergebnis::ok: return 0;
    case Ergebnis::datei: return 2;
    case Ergebnis::nicht_gefunden: return 3;
    case Ergebnis::port: return 4;
    case Ergebnis::zeitueberschreitung: return 5;
    case Ergebnis::protokoll: return 6;
    case Ergebnis::abgebrochen: return abbruchStatus;
    }
    return 1;
}

QString ergebnisname(Ergebnis::Art art)
{
    return QString::fromLatin1(ergebnisnamen[art]);
}

std::optional<Ergebnis::Art> ergebnisart(const QString &name)
{
    for (int art = Ergebnis::ok; art <= Ergebnis::abgebrochen; ++art)
        if (name == QLatin1String(ergebnisnamen[art]))
            return Ergebnis::Art(art);
    return std::nullopt;
}

QJsonObject ergebnisfelder(const Portangabe &port, const Ergebnis &e)
{
    QJsonObject objekt{
        {QStringLiteral("result"), ergebnisname(e.art)},
        {QStringLiteral("pages"), e.seiten},
        {QStringLiteral("pages_sent"), e.seitenGesendet},
        {QStringLiteral("seconds"), qRound(e.sekunden * 1000) / 1000.0},
        {QStringLiteral("attempts"), e.versuche},
        {QStringLiteral("message"), e.meldung},
        {QStringLiteral("upload_begun"), e.uploadBegonnen},
    };
    if (!port.geraet.isEmpty()) {
        objekt.insert(QStringLiteral("port"), port.name());
        objekt.insert(QStringLiteral("device"), port.geraet);
    }
    if (!e.crc.isEmpty())
        objekt.insert(QStringLiteral("crc"), QString::fromLatin1(e.crc.toHex()));
    if (!e.sha256.isEmpty())
        objekt.insert(QStringLiteral("sha256"), QString::fromLatin1(e.sha256.toHex()));
    if (!e.boardCrc.isEmpty())
        objekt.insert(QStringLiteral("board_crc"), QString::fromLatin1(e.boardCrc.toHex()));
    if (!e.erlaeuterung.isEmpty())
        objekt.insert(QStringLiteral("detail"), e.erlaeuterung);
    if (!port.seriennummer.isEmpty())
        objekt.insert(QStringLiteral("serial"), port.seriennummer);
    if (!e.seriennummern.isEmpty()) {
        QJsonArray versuche;
        for (const auto &[nummer, art] : e.seriennummern)
            versuche.append(QJsonObject{{QStringLiteral("sn"), QString::number(nummer)},
                                        {QStringLiteral("result"), ergebnisname(art)}});
        objekt.insert(QStringLiteral("sn"), QString::number(e.seriennummern.last().first));
        objekt.insert(QStringLiteral("sn_attempts"), versuche);
    }
    return objekt;
}

void Bilanz::zaehlen(Ergebnis::Art art)
{
    switch (art) {
    case Ergebnis::ok: ++erfolgreich; break;
    case Ergebnis::nicht_gefunden: ++ohneBootloader; break;
    case Ergebnis::abgebrochen: ++abgebrochen; break;
    default: ++fehlgeschlagen;
    }
}

QJsonObject Bilanz::felder() const
{
    return {{QStringLiteral("ok"), erfolgreich}, {QStringLiteral("failed"), fehlgeschlagen},
            {QStringLiteral("not_found"), ohneBootloader}, {QStringLiteral("aborted"), abgebrochen}};
}
