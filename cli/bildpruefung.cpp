#include "cli/bildpruefung.h"

#include "core/dialoge.h"
#include "update/updatedatei.h"
#include "update/uploadanzeige.h"

namespace {

// The file dialog answers with the file named on the command line; there is
// no window to show anything in.
class OhneFenster : public Dialoge, public UploadAnzeige
{
public:
    explicit OhneFenster(const QString &pfad) : m_pfad(pfad) {}

    void meldung(const QString &text, const QString &, const QString &) override { letzteMeldung = text; }
    std::optional<QString> ShowOpen(const CommonDialogSettings &) override { return m_pfad; }
    void setUploadstatus(const QString &) override {}
    void setUploadfortschritt(int) override {}
    void setSeitenzahl(int) override {}
    void setUploadEnabled(bool) override {}

    QString letzteMeldung;

private:
    const QString m_pfad;
};

} // namespace

Bildpruefung Bildpruefung::pruefen(const QString &pfad, const Crc32 &crc)
{
    OhneFenster ohneFenster(pfad);
    Updatedatei datei(crc, ohneFenster, ohneFenster);
    Bildpruefung ergebnis;
    ergebnis.geladen = datei.dateilesen() == Updatedatei::geladen;
    ergebnis.meldung = ohneFenster.letzteMeldung;
    ergebnis.seiten = datei.seitenzahl();
    ergebnis.crc = datei.crcwert;
    return ergebnis;
}
