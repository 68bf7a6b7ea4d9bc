#include "cli/bildinfo.h"

#include "cli/bildpruefung.h"
#include "cli/flashlauf.h"
#include "cli/optionen.h"
#include "core/texte.h"
#include "update/dateiinhalt.h"
#include "update/updatedatei.h"

#include <QCryptographicHash>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>

namespace {

// By Abbildangaben::Format: the name for scripts, and the one people know.
const char *const formatnamen[] = {"raw", "ihex", "srec", "elf"};
const char *const formatbezeichnungen[] = {nullptr, "Intel HEX", "Motorola S-Record", "ELF"};

} // namespace

int bildinfo(const Optionen &optionen, QTextStream &aus, const Crc32 &crc)
{
    const QString &pfad = optionen.einstellungen.bildpfad;
    // The hash is of the very bytes the image is made of.
    const Dateiinhalt inhalt = Dateiinhalt::lesen(pfad, Updatedatei::groessteLesbareDatei);
    const Bildpruefung bild = Bildpruefung::pruefen(inhalt, pfad, crc, optionen.einstellungen.roh);
    if (!bild.geladen) {
        QTextStream(stderr) << "kvxflash: " << pfad << ": " << bild.begruendung() << '\n';
        return exitStatus(Ergebnis::datei);
    }
    const Abbildangaben &angaben = bild.angaben;
    const QString crcHex = QString::fromLatin1(bild.crc.toHex());
    const QString sha256 = QString::fromLatin1(QCryptographicHash::hash(inhalt.bytes, QCryptographicHash::Sha256).toHex());
    if (optionen.json) {
        const QJsonObject objekt{
            {QStringLiteral("file"), pfad},
            {QStringLiteral("format"), QString::fromLatin1(formatnamen[angaben.format])},
            {QStringLiteral("first_address"), qint64(angaben.ersteAdresse)},
            {QStringLiteral("last_address"), qint64(angaben.letzteAdresse)},
            {QStringLiteral("data_bytes"), angaben.datenbytes},
            {QStringLiteral("pages"), bild.seiten},
            {QStringLiteral("crc"), crcHex},
            {QStringLiteral("sha256"), sha256},
        };
        aus << QJsonDocument(objekt).toJson(QJsonDocument::Compact) << '\n';
        return 0;
    }
    const QString format = angaben.format == Abbildangaben::roh ? Texte::rohdaten()
                                                                : QString::fromLatin1(formatbezeichnungen[angaben.format]);
    aus << Texte::bildinfo(pfad, format, Texte::adresse(angaben.ersteAdresse), Texte::adresse(angaben.letzteAdresse),
                           angaben.datenbytes, bild.seiten, crcHex, sha256)
        << '\n';
    return 0;
}
