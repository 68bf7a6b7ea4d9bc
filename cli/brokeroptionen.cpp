#include "cli/brokeroptionen.h"

#include "cli/optionen.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

bool lesbar(const QString &pfad)
{
    return QFileInfo(pfad).isFile() && QFileInfo(pfad).isReadable();
}

} // namespace

Brokeroptionen::Brokeroptionen()
    : mqtt("mqtt", Optionen::tr("Jeden Eintrag auch an diesen MQTT-Broker senden, über einen Postausgang auf der "
                                "Platte."), "URL")
    , ca("mqtt-ca", Optionen::tr("Mit mqtts://: die Zertifizierungsstelle des Brokers."), Optionen::tr("DATEI"))
    , passwortdatei("mqtt-password-file", Optionen::tr("Das Passwort für den Broker aus DATEI (sonst aus "
                                                       "KVXFLASH_MQTT_PASSWORD)."), Optionen::tr("DATEI"))
    , postausgang("mqtt-outbox", Optionen::tr("Der Postausgang (Vorgabe: neben dem Protokoll DATEI.outbox, ohne "
                                              "--log ~/.local/share/kvxflash/outbox)."), Optionen::tr("DATEI"))
    , warten("mqtt-wait", Optionen::tr("Am Ende höchstens so lange auf die Bestätigung des Brokers warten "
                                       "(Vorgabe 10)."), Optionen::tr("SEK"), "10")
{
}

QList<QCommandLineOption> Brokeroptionen::alle() const
{
    return {mqtt, ca, passwortdatei, postausgang, warten};
}

bool Brokeroptionen::lesen(const QCommandLineParser &parser, const QString &protokoll, const QString &werkbank,
                           std::optional<Brokereinstellungen> &einstellungen, QString &fehler) const
{
    if (!parser.isSet(mqtt)) {
        if (parser.isSet(ca) || parser.isSet(passwortdatei) || parser.isSet(postausgang) || parser.isSet(warten)) {
            fehler = Optionen::tr("--mqtt-ca, --mqtt-password-file, --mqtt-outbox und --mqtt-wait gehören zu --mqtt.");
            return false;
        }
        return true;
    }
    Brokereinstellungen e;
    const std::optional<Brokeradresse> adresse = Brokeradresse::lesen(parser.value(mqtt), fehler);
    if (!adresse)
        return false;
    e.adresse = *adresse;
    if (e.adresse.tls && !parser.isSet(ca)) {
        fehler = Optionen::tr("mqtts:// braucht --mqtt-ca DATEI.");
        return false;
    }
    e.caDatei = parser.value(ca);
    if (parser.isSet(ca) && !lesbar(e.caDatei)) {
        fehler = Optionen::tr("Die CA-Datei lässt sich nicht lesen: %1").arg(e.caDatei);
        return false;
    }
    if (parser.isSet(passwortdatei)) {
        QFile datei(parser.value(passwortdatei));
        if (!lesbar(datei.fileName()) || !datei.open(QIODevice::ReadOnly)) {
            fehler = Optionen::tr("Die Passwortdatei lässt sich nicht lesen: %1").arg(datei.fileName());
            return false;
        }
        e.passwort = QString::fromUtf8(datei.readLine()).remove(QLatin1Char('\n')).remove(QLatin1Char('\r'));
    } else {
        e.passwort = qEnvironmentVariable("KVXFLASH_MQTT_PASSWORD");
    }
    bool gueltig = false;
    e.warteSekunden = parser.value(warten).toInt(&gueltig);
    if (!gueltig || e.warteSekunden < 0 || e.warteSekunden > 3600) {
        fehler = Optionen::tr("--mqtt-wait muss zwischen 0 und 3600 Sekunden liegen: %1").arg(parser.value(warten));
        return false;
    }
    e.werkbank = werkbank;
    if (parser.isSet(postausgang)) {
        e.postausgang = parser.value(postausgang);
    } else if (!protokoll.isEmpty()) {
        e.postausgang = protokoll + QStringLiteral(".outbox");
    } else {
        const QString ordner = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
        QDir().mkpath(ordner);
        e.postausgang = QDir(ordner).filePath(QStringLiteral("outbox"));
    }
    einstellungen = e;
    return true;
}
