#include "broker/brokeradresse.h"

#include <QRegularExpression>
#include <QUrl>

std::optional<Brokeradresse> Brokeradresse::lesen(const QString &url, QString &fehler)
{
    static const QRegularExpression form(QStringLiteral(
        R"(^([a-z][a-z0-9+.-]*)://(?:([^@/]*)@)?([^@:/\[\]]+|\[[0-9a-fA-F:.]+\])(?::([0-9]*))?(?:/(.*))?$)"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch teile = form.match(url);
    if (!teile.hasMatch()) {
        fehler = tr("--mqtt nimmt mqtt://[BENUTZER@]HOST[:PORT][/PRÄFIX] oder mqtts://…: %1").arg(url);
        return std::nullopt;
    }
    Brokeradresse adresse;
    const QString schema = teile.captured(1).toLower();
    if (schema != QStringLiteral("mqtt") && schema != QStringLiteral("mqtts")) {
        fehler = tr("--mqtt kennt nur mqtt:// und mqtts://: %1").arg(url);
        return std::nullopt;
    }
    adresse.tls = schema == QStringLiteral("mqtts");
    adresse.port = adresse.tls ? 8883 : 1883;
    // A password on the command line would be in every process list.
    if (teile.captured(2).contains(QLatin1Char(':'))) {
        fehler = tr("Das Passwort gehört nicht in die URL: KVXFLASH_MQTT_PASSWORD oder --mqtt-password-file.");
        return std::nullopt;
    }
    adresse.benutzer = QUrl::fromPercentEncoding(teile.captured(2).toUtf8());
    adresse.host = teile.captured(3);
    if (adresse.host.startsWith(QLatin1Char('[')))
        adresse.host = adresse.host.mid(1, adresse.host.size() - 2);
    if (teile.hasCaptured(4)) {
        bool gueltig = false;
        adresse.port = teile.captured(4).toInt(&gueltig);
        if (!gueltig || adresse.port < 1 || adresse.port > 65535) {
            fehler = tr("Der Port in --mqtt muss zwischen 1 und 65535 liegen: %1").arg(url);
            return std::nullopt;
        }
    }
    QString praefix = teile.captured(5);
    while (praefix.endsWith(QLatin1Char('/')))
        praefix.chop(1);
    // Wildcards are for subscribers: a topic to publish to must not have them.
    if (praefix.contains(QLatin1Char('+')) || praefix.contains(QLatin1Char('#'))) {
        fehler = tr("Das Präfix in --mqtt darf kein + oder # enthalten: %1").arg(url);
        return std::nullopt;
    }
    if (!praefix.isEmpty())
        adresse.praefix = praefix;
    return adresse;
}
