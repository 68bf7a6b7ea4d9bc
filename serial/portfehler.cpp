#include "serial/portfehler.h"

#include "core/texte.h"

#include <QStringList>

namespace {

QString grund(Portfehler fehler)
{
    switch (fehler) {
    case Portfehler::nichtVorhanden:
        return Texte::nichtVorhanden();
    case Portfehler::keineBerechtigung:
#ifdef Q_OS_LINUX
        return Texte::keineBerechtigung() + QLatin1Char('\n') + Texte::berechtigungLinux();
#else
        return Texte::keineBerechtigung();
#endif
    case Portfehler::belegt:
        return Texte::portBelegt();
    case Portfehler::verloren:
        return Texte::portVerloren();
    case Portfehler::bitrate:
        return Texte::portBitrate();
    case Portfehler::sonstiger:
        break;
    }
    return Texte::portNichtZuOeffnen();
}

} // namespace

QString porterlaeuterung(const QString &geraet, Portfehler fehler, const QList<VorhandenerPort> &vorhanden)
{
    QStringList andere;
    for (const VorhandenerPort &port : vorhanden) {
        if (port.comNummer > 0 && port.geraet != geraet)
            andere << Texte::vorhandenerPort(port.comNummer, port.geraet, port.beschreibung);
    }
    const QString zweiteZeile = andere.isEmpty() ? Texte::keineAnderenPorts()
                                                 : Texte::vorhandenePortsZeile() + andere.join(QStringLiteral(", "));
    return Texte::versucht(geraet, grund(fehler)) + QLatin1Char('\n') + zweiteZeile;
}
