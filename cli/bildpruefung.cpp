#include "cli/bildpruefung.h"

#include "core/dialoge.h"
#include "update/dateiinhalt.h"
#include "update/updatedatei.h"
#include "update/uploadanzeige.h"

namespace {

// There is no window to show anything in: the message is kept, and the
// file comes from the command line, not from a dialog.
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

} // namespace

QString Bildpruefung::begruendung() const
{
    return erlaeuterung.isEmpty() ? meldung : meldung + QLatin1Char(' ') + erlaeuterung.simplified();
}

Bildpruefung Bildpruefung::pruefen(const QString &pfad, const Crc32 &crc, bool roh)
{
    return pruefen(Dateiinhalt::lesen(pfad, Updatedatei::groessteLesbareDatei), pfad, crc, roh);
}

Bildpruefung Bildpruefung::pruefen(const Dateiinhalt &inhalt, const QString &pfad, const Crc32 &crc, bool roh)
{
    OhneFenster ohneFenster;
    Updatedatei datei(crc, ohneFenster, ohneFenster);
    datei.alsRohdaten = roh;
    Bildpruefung ergebnis;
    ergebnis.geladen = datei.aufbereiten(inhalt, pfad) == Updatedatei::geladen;
    ergebnis.meldung = ohneFenster.letzteMeldung;
    ergebnis.erlaeuterung = ohneFenster.letzteErlaeuterung;
    ergebnis.seiten = datei.seitenzahl();
    ergebnis.crc = datei.crcwert;
    ergebnis.angaben = datei.angaben;
    return ergebnis;
}
