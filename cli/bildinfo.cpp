#include "cli/bildinfo.h"

#include "bench/ergebnis.h"
#include "cli/ausgabe.h"
#include "bench/firmwarebild.h"
#include "cli/optionen.h"
#include "core/texte.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace {

// By Abbildangaben::Format: the name people know.
const char *const formatbezeichnungen[] = {nullptr, "Intel HEX", "Motorola S-Record", "ELF"};

} // namespace

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
        QJsonObject objekt{
            {QStringLiteral("file"), bild.pfad},
            {QStringLiteral("format"), bild.formatname()},
            {QStringLiteral("first_address"), qint64(angaben.ersteAdresse)},
            {QStringLiteral("last_address"), qint64(angaben.letzteAdresse)},
            {QStringLiteral("data_bytes"), angaben.datenbytes},
            {QStringLiteral("pages"), bild.seiten()},
            {QStringLiteral("crc"), crcHex},
            {QStringLiteral("sha256"), sha256},
        };
        if (angaben.koepfeGeladen)
            objekt.insert(QStringLiteral("headers_loaded"), true);
        aus.schreiben(QString::fromUtf8(QJsonDocument(objekt).toJson(QJsonDocument::Compact)) + QLatin1Char('\n'));
    } else {
        const QString format = angaben.format == Abbildangaben::roh
                             ? Texte::rohdaten() : QString::fromLatin1(formatbezeichnungen[angaben.format]);
        aus.schreiben(Texte::bildinfo(bild.pfad, format, Texte::adresse(angaben.ersteAdresse),
                                      Texte::adresse(angaben.letzteAdresse), angaben.datenbytes, bild.seiten(),
                                      crcHex, sha256)
                      + QLatin1Char('\n')
                      + (angaben.koepfeGeladen ? Texte::koepfeGeladen() + QLatin1Char('\n') : QString()));
    }
    return aus.fehlgeschlagen() ? schreibfehlerStatus : 0;
}
