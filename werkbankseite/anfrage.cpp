#include "werkbankseite/anfrage.h"

#include <QList>

namespace {

bool istToken(const QByteArray &text)
{
    if (text.isEmpty())
        return false;
    for (const char c : text)
        if (!(c >= '!' && c <= '~') || QByteArray("()<>@,;:\\\"/[]?={}").contains(c))
            return false;
    return true;
}

} // namespace

std::optional<Anfrage> Anfrage::lesen(const QByteArray &kopf)
{
    const QList<QByteArray> zeilen = kopf.split('\n');
    const QList<QByteArray> teile = zeilen.first().trimmed().split(' ');
    if (teile.size() != 3 || !istToken(teile[0]) || !teile[1].startsWith('/')
        || (teile[2] != "HTTP/1.1" && teile[2] != "HTTP/1.0"))
        return std::nullopt;
    Anfrage anfrage;
    anfrage.methode = teile[0];
    const qsizetype fragezeichen = teile[1].indexOf('?');
    anfrage.pfad = fragezeichen < 0 ? teile[1] : teile[1].left(fragezeichen);
    if (fragezeichen >= 0)
        anfrage.abfrage = teile[1].mid(fragezeichen + 1);
    for (qsizetype i = 1; i < zeilen.size(); ++i) {
        const QByteArray zeile = zeilen[i].endsWith('\r') ? zeilen[i].chopped(1) : zeilen[i];
        const qsizetype doppelpunkt = zeile.indexOf(':');
        if (doppelpunkt <= 0 || !istToken(zeile.left(doppelpunkt)))
            return std::nullopt;
        anfrage.felder.insert(zeile.left(doppelpunkt).toLower(), zeile.mid(doppelpunkt + 1).trimmed());
    }
    return anfrage;
}
