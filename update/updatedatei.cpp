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
    return bytes / Updatedatei::seitengroesse + (bytes % Updatedatei::seitengroesse != 0);
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

    const Firmwareabbild::Format format = alsRohdaten ? Firmwareabbild::roh : Firmwareabbild::erkennen(inhalt.bytes);
    // A raw file too large is known from its size alone, read or not.
    if (format == Firmwareabbild::roh && seitenFuer(inhalt.groesse) > hoechsteSeitenzahl)
        return zuGrossAblehnen(quint64(inhalt.groesse) - 1);
    const Firmwareabbild abbild = Firmwareabbild::lesen(inhalt.bytes, format, flashgroesse);
    if (!abbild.fehler.isEmpty())
        return ablehnen(nichtGelesen, Texte::dateiNichtGelesen(), abbild.fehler);
    if (abbild.letzteAdresse >= flashgroesse)
        return zuGrossAblehnen(abbild.letzteAdresse, Texte::hoechsteAdresse(abbild.letzteAdresse));

    // The odd-length byte and the page padding together: the fewest 0xFF
    // bytes that make whole pages.
    QByteArray gepolstert = abbild.bytes;
    const qint64 groesse = gepolstert.size();
    gepolstert.append(static_cast<qsizetype>(seitenFuer(groesse) * seitengroesse - groesse), fuellbyte);
    bildUebernehmen(gepolstert);
    dateigroesse = static_cast<qint32>(groesse);
    angaben = abbild;
    m_anzeige.setSeitenzahl(seitenzahl());
    return geladen;
}

void Updatedatei::bildUebernehmen(const QByteArray &gepolstert)
{
    dateipuffer = gepolstert;
    dateigroesse = pufferlaenge = static_cast<qint32>(dateipuffer.size());
    crcwert = m_crc.crc32(dateipuffer);
}

// The message names the bytes from address 0 up to the highest one, as many
// as a raw file would need; the progress bar shows their pages.
qint16 Updatedatei::zuGrossAblehnen(quint64 letzteAdresse, const QString &erlaeuterung)
{
    // Up to the last address there are 2^64 bytes, one more than the type holds.
    const QString bytes = letzteAdresse == std::numeric_limits<quint64>::max() ? QStringLiteral("18446744073709551616")
                                                                               : QString::number(letzteAdresse + 1);
    const quint64 seiten = letzteAdresse / seitengroesse + 1;
    m_anzeige.setSeitenzahl(int(qMin<quint64>(seiten, std::numeric_limits<int>::max())));
    return ablehnen(zuGross, Texte::dateiZuGross(bytes), erlaeuterung);
}

qint16 Updatedatei::ablehnen(Ergebnis ergebnis, const QString &meldung, const QString &erlaeuterung)
{
    m_dialoge.meldung(meldung, Texte::programmTitel(), erlaeuterung);
    return ergebnis;
}
