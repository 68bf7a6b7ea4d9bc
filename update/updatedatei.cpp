#include "update/updatedatei.h"

#include "core/dialoge.h"
#include "core/texte.h"
#include "update/dateiinhalt.h"
#include "update/crc32.h"
#include "update/uploadanzeige.h"

#include <limits>

namespace {

constexpr char fuellbyte = '\xFF';

qint64 seitenFuer(qint64 bytes)
{
    return (bytes + Updatedatei::seitengroesse - 1) / Updatedatei::seitengroesse;
}

} // namespace

Updatedatei::Updatedatei(const Crc32 &crc, Dialoge &dialoge, UploadAnzeige &anzeige)
    : m_crc(crc), m_dialoge(dialoge), m_anzeige(anzeige)
{
}

qint16 Updatedatei::dateilesen()
{
    CommonDialogSettings CommonDialog1;
    CommonDialog1.CancelError = true;
    CommonDialog1.Flags = 0x1000 | 0x4;
    CommonDialog1.Filter = Texte::dateiFilter();
    CommonDialog1.DefaultExt = QStringLiteral(".dwq");
    CommonDialog1.FileName.clear();
    CommonDialog1.FilterIndex = 1;

    const std::optional<QString> pfad = m_dialoge.ShowOpen(CommonDialog1);
    if (!pfad)
        return ablehnen(nichtGelesen, Texte::dateiNichtGelesen());
    return aufbereiten(Dateiinhalt::lesen(*pfad, groessteLesbareDatei), *pfad);
}

qint16 Updatedatei::aufbereiten(const Dateiinhalt &inhalt, const QString &pfad)
{
    if (!inhalt.gelesen())
        return ablehnen(nichtGelesen, Texte::dateiNichtGelesen(), Texte::versucht(pfad, inhalt.grund));
    // A size beyond 32 bits is one the window cannot take.
    if (inhalt.groesse > std::numeric_limits<qint32>::max())
        return ablehnen(nichtGelesen, Texte::dateiNichtGelesen());
    if (inhalt.groesse == 0)
        return ablehnen(leer, Texte::dateiLeer());

    // Too large is known from the size alone.
    const qint64 seiten = seitenFuer(inhalt.groesse);
    if (seiten > hoechsteSeitenzahl) {
        m_anzeige.setSeitenzahl(static_cast<int>(seiten));
        return ablehnen(zuGross, Texte::dateiZuGross(inhalt.groesse));
    }

    // The odd-length byte and the page padding together: the fewest 0xFF
    // bytes that make whole pages.
    QByteArray gepolstert = inhalt.bytes;
    gepolstert.append(static_cast<qsizetype>(seiten * seitengroesse - inhalt.groesse), fuellbyte);
    bildUebernehmen(gepolstert);
    dateigroesse = static_cast<qint32>(inhalt.groesse);
    m_anzeige.setSeitenzahl(seitenzahl());
    return geladen;
}

void Updatedatei::bildUebernehmen(const QByteArray &gepolstert)
{
    dateipuffer = gepolstert;
    dateigroesse = pufferlaenge = static_cast<qint32>(dateipuffer.size());
    crcwert = m_crc.crc32(dateipuffer);
}

qint16 Updatedatei::ablehnen(Ergebnis ergebnis, const QString &meldung, const QString &erlaeuterung)
{
    m_dialoge.meldung(meldung, Texte::programmTitel(), erlaeuterung);
    return ergebnis;
}
