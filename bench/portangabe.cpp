#include "bench/portangabe.h"

#include "bench/werkbanktexte.h"
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
    return Portangabe{comNummerFuer(geraet), geraet, QString(), QString()};
}

QJsonObject Portangabe::felder() const
{
    return {{QStringLiteral("port"), name()}, {QStringLiteral("device"), geraet},
            {QStringLiteral("serial"), seriennummer}, {QStringLiteral("usb"), usb}};
}

Portangabe Portangabe::ausFeldern(const QJsonObject &felder)
{
    static const QRegularExpression comName(QStringLiteral("^COM([0-9]+)$"));
    const QString name = felder.value(QStringLiteral("port")).toString();
    const QString geraet = felder.value(QStringLiteral("device")).toString();
    return Portangabe{comName.match(name).captured(1).toInt(), geraet.isEmpty() ? name : geraet,
                      felder.value(QStringLiteral("serial")).toString(), felder.value(QStringLiteral("usb")).toString()};
}

std::optional<Portangabe> portangabeLesen(const QString &text, QString &fehler)
{
    static const QRegularExpression comNummer(QStringLiteral("^(?:COM)?([0-9]+)$"),
                                              QRegularExpression::CaseInsensitiveOption);
    if (text.isEmpty()) {
        fehler = Werkbanktexte::leererPort();
        return std::nullopt;
    }
    const QRegularExpressionMatch treffer = comNummer.match(text);
    // A path is taken from the working folder; a bare name is a device's
    // name, as the serial port takes it.
    if (!treffer.hasMatch())
        return Portangabe::fuerGeraet(text.contains(QLatin1Char('/')) ? QFileInfo(text).absoluteFilePath() : text);
    bool gueltig = false;
    const int nummer = treffer.captured(1).toInt(&gueltig);
    if (!gueltig || nummer < 1 || nummer > 20) {
        fehler = Werkbanktexte::portAusserhalb(text);
        return std::nullopt;
    }
    return Portangabe{nummer, systemPortName(nummer), QString(), QString()};
}
