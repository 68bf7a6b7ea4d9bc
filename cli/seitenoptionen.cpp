#include "cli/seitenoptionen.h"

#include "cli/optionen.h"

Seitenoptionen::Seitenoptionen()
    : m_serve("serve", Optionen::tr("Die Werkbank-Seite im Browser zeigen, auf PORT (0: ein freier) an ADRESSE "
                                    "(Vorgabe 127.0.0.1, nur dieser Rechner)."),
              Optionen::tr("[ADRESSE:]PORT"))
{
}

bool Seitenoptionen::lesen(const QCommandLineParser &parser, std::optional<Seitenangabe> &seite, QString &fehler) const
{
    if (!parser.isSet(m_serve))
        return true;
    seite = seitenangabeLesen(parser.value(m_serve));
    if (!seite)
        fehler = Optionen::tr("--serve nimmt [ADRESSE:]PORT, z. B. 8080 oder 0.0.0.0:8080: %1").arg(parser.value(m_serve));
    return seite.has_value();
}

// "8080", "0.0.0.0:8080", "[::1]:8080"; a name is no address.
std::optional<Seitenangabe> Seitenoptionen::seitenangabeLesen(const QString &text)
{
    const qsizetype doppelpunkt = text.lastIndexOf(QLatin1Char(':'));
    QString adresse = doppelpunkt < 0 ? QStringLiteral("127.0.0.1") : text.left(doppelpunkt);
    if (adresse.startsWith(QLatin1Char('[')) && adresse.endsWith(QLatin1Char(']')))
        adresse = adresse.mid(1, adresse.size() - 2);
    bool gueltig = false;
    const uint port = text.mid(doppelpunkt + 1).toUInt(&gueltig);
    Seitenangabe angabe;
    if (!gueltig || port > 0xFFFF || !angabe.adresse.setAddress(adresse))
        return std::nullopt;
    angabe.port = quint16(port);
    return angabe;
}
