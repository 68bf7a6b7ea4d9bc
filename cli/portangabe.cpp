#include "cli/portangabe.h"

#include "cli/meldungen.h"
#include "core/texte.h"
#include "serial/portnamen.h"

#include <QFileInfo>
#include <QRegularExpression>

QString Portangabe::name() const
{
    return comNummer > 0 ? QStringLiteral("COM%1").arg(comNummer) : geraet;
}

QString Portangabe::bezeichnung() const
{
    if (comNummer == 0 || name() == geraet)
        return geraet;
    return QStringLiteral("%1 (%2)").arg(name(), geraet);
}

QString Portangabe::anzeigename() const
{
    return comNummer > 0 ? QStringLiteral("COM") + Texte::zahl(comNummer) : geraet;
}

QString Portangabe::schluessel() const
{
    const QString kanonisch = QFileInfo(geraet).canonicalFilePath();
    return kanonisch.isEmpty() ? geraet : kanonisch;
}

Portangabe Portangabe::fuerGeraet(const QString &geraet)
{
    return Portangabe{comNummerFuer(geraet), geraet, QString()};
}

std::optional<Portangabe> portangabeLesen(const QString &text, QString &fehler)
{
    static const QRegularExpression comNummer(QStringLiteral("^(?:COM)?([0-9]+)$"),
                                              QRegularExpression::CaseInsensitiveOption);
    if (text.isEmpty()) {
        fehler = Meldungen::leererPort();
        return std::nullopt;
    }
    const QRegularExpressionMatch treffer = comNummer.match(text);
    if (!treffer.hasMatch())
        return Portangabe::fuerGeraet(text);
    bool gueltig = false;
    const int nummer = treffer.captured(1).toInt(&gueltig);
    if (!gueltig || nummer < 1 || nummer > 20) {
        fehler = Meldungen::portAusserhalb(text);
        return std::nullopt;
    }
    return Portangabe{nummer, systemPortName(nummer), QString()};
}
