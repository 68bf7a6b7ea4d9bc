#include "cli/bildinfo.h"

#include "cli/ausgabe.h"
#include "cli/firmwarebild.h"
#include "cli/flashlauf.h"
#include "cli/optionen.h"
#include "core/texte.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace {

// By Abbildangaben::Format: the name for scripts, and the one people know.
const char *const formatnamen[] = {"raw", "ihex", "srec", "elf"};
const char *const formatbezeichnungen[] = {nullptr, "Intel HEX", "Motorola S-Record", "ELF"};

} // namespace

QJsonObject bildkennung(const Firmwarebild &bild)
{
    return QJsonObject{
        {QStringLiteral("file"), bild.pfad},
        {QStringLiteral("format"), QString::fromLatin1(formatnamen[bild.angaben.format])},
        {QStringLiteral("pages"), bild.seiten()},
        {QStringLiteral("crc"), QString::fromLatin1(bild.crc.toHex())},
        {QStringLiteral("sha256"), QString::fromLatin1(bild.sha256.toHex())},
    };
}

int bildinfo(const Optionen &optionen, const Firmwarebild &bild, Ausgabe &aus)
{
    if (!bild.geladen) {
        fehlermeldung(bild.pfad + QStringLiteral(": ") + bild.meldung
                      + (bild.erlaeuterung.isEmpty() ? QString() : QLatin1Char(' ') + bild.erlaeuterung.simplified()));
        return exitStatus(Ergebnis::datei);
    }
    const Abbildangaben &angaben = bild.angaben;
    const QString crcHex = QString::fromLatin1(bild.crc.toHex());
    const QString sha256 = QString::fromLatin1(bild.sha256.toHex());
    if (optionen.json) {
        QJsonObject objekt = bildkennung(bild);
        objekt.insert(QStringLiteral("first_address"), qint64(angaben.ersteAdresse));
        objekt.insert(QStringLiteral("last_address"), qint64(angaben.letzteAdresse));
        objekt.insert(QStringLiteral("data_bytes"), angaben.datenbytes);
        aus.schreiben(QString::fromUtf8(QJsonDocument(objekt).toJson(QJsonDocument::Compact)) + QLatin1Char('\n'));
    } else {
        const QString format = angaben.format == Abbildangaben::roh
                             ? Texte::rohdaten() : QString::fromLatin1(formatbezeichnungen[angaben.format]);
        aus.schreiben(Texte::bildinfo(bild.pfad, format, Texte::adresse(angaben.ersteAdresse),
                                      Texte::adresse(angaben.letzteAdresse), angaben.datenbytes, bild.seiten(),
                                      crcHex, sha256)
                      + QLatin1Char('\n'));
    }
    return aus.fehlgeschlagen() ? Flashlauf::schreibfehlerStatus : 0;
}
