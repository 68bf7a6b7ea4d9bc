#include "bench/schichtzahlen.h"

#include "bench/ereignis.h"
#include "bench/protokoll.h"

namespace {

QJsonValue oderNull(const std::optional<double> &wert)
{
    return wert ? QJsonValue(*wert) : QJsonValue(QJsonValue::Null);
}

QJsonValue zeitOderNull(const QDateTime &zeit)
{
    return zeit.isValid() ? QJsonValue(zeitMitVersatz(zeit))
                          : QJsonValue(QJsonValue::Null);
}

} // namespace

void Schichtzahlen::zaehlen(Ergebnis::Art art, const QDateTime &zeit, int seriennummern)
{
    bilanz.zaehlen(art);
    if (art != Ergebnis::nicht_gefunden && seriennummern > 0) {
        ++boardsMitSeriennummer;
        ersterVersuchOk += art == Ergebnis::ok && seriennummern == 1;
    }
    if (!erster.isValid() || zeit < erster)
        erster = zeit;
    if (!letzter.isValid() || zeit > letzter)
        letzter = zeit;
}

std::optional<double> Schichtzahlen::ausbeute() const
{
    const int boards = bilanz.erfolgreich + bilanz.fehlgeschlagen + bilanz.abgebrochen;
    return boards > 0 ? std::optional<double>(double(bilanz.erfolgreich) / boards) : std::nullopt;
}

std::optional<double> Schichtzahlen::ausbeuteErsterVersuch() const
{
    // A board that failed before its upload took no number, but it was a
    // board: once the log has numbers at all, every board counts.
    const int boards = bilanz.erfolgreich + bilanz.fehlgeschlagen + bilanz.abgebrochen;
    if (boardsMitSeriennummer == 0 || boards == 0)
        return std::nullopt;
    return double(ersterVersuchOk) / boards;
}

std::optional<double> Schichtzahlen::platinenJeStunde() const
{
    const qint64 sekunden = erster.isValid() ? erster.secsTo(letzter) : 0;
    if (sekunden <= 0)
        return std::nullopt;
    return (bilanz.erfolgreich + bilanz.fehlgeschlagen + bilanz.abgebrochen) * 3600.0 / sekunden;
}

QJsonObject Schichtzahlen::felder() const
{
    QJsonObject objekt = bilanz.felder();
    objekt.insert(QStringLiteral("yield"), oderNull(ausbeute()));
    objekt.insert(QStringLiteral("first_pass_yield"), oderNull(ausbeuteErsterVersuch()));
    objekt.insert(QStringLiteral("boards_per_hour"), oderNull(platinenJeStunde()));
    objekt.insert(QStringLiteral("first"), zeitOderNull(erster));
    objekt.insert(QStringLiteral("last"), zeitOderNull(letzter));
    objekt.insert(QStringLiteral("damaged_lines"), int(beschaedigt.size()));
    return objekt;
}

Schichtzahlen Schichtzahlen::ausProtokoll(const QByteArray &text, const std::optional<QDateTime> &seit)
{
    Schichtzahlen zahlen;
    zahlen.protokollZaehlen(text, seit);
    return zahlen;
}

void Schichtzahlen::protokollZaehlen(const QByteArray &text, const std::optional<QDateTime> &seit, int ersteZeile)
{
    const QByteArray kopf = Protokoll::spalten().chopped(1);
    const QList<QByteArray> zeilen = text.split('\n');
    for (qsizetype i = 0; i < zeilen.size(); ++i) {
        const QByteArray &zeile = zeilen[i];
        // The header, and the end of the last line.
        if (zeile == kopf || (zeile.isEmpty() && i == zeilen.size() - 1))
            continue;
        const std::optional<QJsonObject> eintrag = Protokoll::eintrag(zeile);
        const QDateTime zeit = eintrag ? QDateTime::fromString(eintrag->value(QStringLiteral("time")).toString(),
                                                               Qt::ISODate)
                                       : QDateTime();
        const std::optional<Ergebnis::Art> art = zeit.isValid()
            ? ergebnisart(eintrag->value(QStringLiteral("result")).toString()) : std::nullopt;
        if (!art) {
            beschaedigt << int(ersteZeile + i);
            continue;
        }
        if (seit && zeit < *seit)
            continue;
        const QString nummern = eintrag->value(QStringLiteral("sn")).toString();
        zaehlen(*art, zeit, nummern.isEmpty() ? 0 : int(nummern.count(QLatin1Char(','))) + 1);
    }
}
