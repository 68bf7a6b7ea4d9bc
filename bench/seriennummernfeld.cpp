#include "bench/seriennummernfeld.h"

#include "bench/werkbanktexte.h"

#include <QStringList>

#include <limits>

std::optional<Seriennummernfeld> Seriennummernfeld::lesen(const QString &text, QString &fehler)
{
    const QStringList teile = text.split(QLatin1Char(':'));
    Seriennummernfeld feld;
    bool adresseGueltig = false;
    bool groesseGueltig = false;
    if (teile.size() == 2 || teile.size() == 3) {
        feld.adresse = teile[0].startsWith(QStringLiteral("0x"), Qt::CaseInsensitive)
                     ? teile[0].mid(2).toLongLong(&adresseGueltig, 16) : teile[0].toLongLong(&adresseGueltig, 10);
        feld.groesse = teile[1].toInt(&groesseGueltig);
    }
    const QString form = teile.size() == 3 ? teile[2] : QStringLiteral("le");
    const QStringList formen{QStringLiteral("le"), QStringLiteral("be"), QStringLiteral("ascii")};
    if (!adresseGueltig || feld.adresse < 0 || !groesseGueltig || feld.groesse < 1 || feld.groesse > 16
        || !formen.contains(form)) {
        fehler = Werkbanktexte::snFeldUngueltig(text);
        return std::nullopt;
    }
    feld.form = Form(formen.indexOf(form));
    return feld;
}

quint64 Seriennummernfeld::hoechsteNummer() const
{
    quint64 hoechste = 0;
    for (int i = 0; i < groesse; ++i) {
        const quint64 basis = form == ascii ? 10 : 256;
        if (hoechste > (std::numeric_limits<quint64>::max() - (basis - 1)) / basis)
            return std::numeric_limits<quint64>::max();
        hoechste = hoechste * basis + (basis - 1);
    }
    return hoechste;
}

bool Seriennummernfeld::passtIn(qint64 bildgroesse) const
{
    return adresse <= bildgroesse - groesse;
}

QByteArray Seriennummernfeld::einsetzen(const QByteArray &bild, quint64 nummer) const
{
    QByteArray bytes(groesse, '\0');
    if (form == ascii) {
        bytes = QByteArray::number(nummer).rightJustified(groesse, '0');
    } else {
        // Beyond 64 bits the number's bytes are zero.
        for (int i = 0; i < groesse && i < 8; ++i)
            bytes[form == le ? i : groesse - 1 - i] = char((nummer >> (8 * i)) & 0xFF);
    }
    QByteArray ergebnis = bild;
    ergebnis.replace(adresse, groesse, bytes);
    return ergebnis;
}
