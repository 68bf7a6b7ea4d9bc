#include "bench/firmwarebild.h"

#include "core/dialoge.h"
#include "update/dateiinhalt.h"
#include "update/updatedatei.h"
#include "update/uploadanzeige.h"

#include <QCryptographicHash>

namespace {

// There is no window to show anything in: a refusal is kept for the report.
class OhneFenster : public Dialoge, public UploadAnzeige
{
public:
    void meldung(const QString &text, const QString &, const QString &erlaeuterung) override
    {
        letzteMeldung = text;
        letzteErlaeuterung = erlaeuterung;
    }
    std::optional<QString> ShowOpen(const CommonDialogSettings &) override { return std::nullopt; }
    void setUploadstatus(const QString &) override {}
    void setUploadfortschritt(int) override {}
    void setSeitenzahl(int) override {}
    void setUploadEnabled(bool) override {}

    QString letzteMeldung;
    QString letzteErlaeuterung;
};

// By Abbildangaben::Format.
const char *const formatnamen[] = {"raw", "ihex", "srec", "elf"};

} // namespace

int Firmwarebild::seiten() const
{
    return int(bild.size() / Updatedatei::seitengroesse);
}

QString Firmwarebild::formatname() const
{
    return QString::fromLatin1(formatnamen[angaben.format]);
}

QJsonObject Firmwarebild::felder() const
{
    return {{QStringLiteral("file"), pfad}, {QStringLiteral("format"), formatname()},
            {QStringLiteral("pages"), seiten()}, {QStringLiteral("crc"), QString::fromLatin1(crc.toHex())},
            {QStringLiteral("sha256"), QString::fromLatin1(sha256.toHex())}};
}

Firmwarebild Firmwarebild::laden(const QString &pfad, const Crc32 &crc, bool roh)
{
    OhneFenster ohneFenster;
    Updatedatei datei(crc, ohneFenster, ohneFenster);
    datei.alsRohdaten = roh;
    const Dateiinhalt inhalt = Dateiinhalt::lesen(pfad, Updatedatei::groessteLesbareDatei);
    Firmwarebild ergebnis;
    ergebnis.pfad = pfad;
    ergebnis.geladen = datei.aufbereiten(inhalt, pfad) == Updatedatei::geladen;
    ergebnis.meldung = ohneFenster.letzteMeldung;
    ergebnis.erlaeuterung = ohneFenster.letzteErlaeuterung;
    if (ergebnis.geladen) {
        ergebnis.bild = datei.dateipuffer;
        ergebnis.crc = datei.crcwert;
        ergebnis.angaben = datei.angaben;
        ergebnis.sha256 = QCryptographicHash::hash(inhalt.bytes, QCryptographicHash::Sha256);
    }
    return ergebnis;
}
