#include "update/updatedatei.h"

#include "core/dialoge.h"
#include "core/texte.h"
#include "update/crc32.h"
#include "update/uploadanzeige.h"

#include <QFile>
#include <QFileInfo>

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
    CommonDialog1.Filter = Texte::dateiFilter;
    CommonDialog1.DefaultExt = QStringLiteral(".dwq");
    CommonDialog1.FileName.clear();
    CommonDialog1.FilterIndex = 1;

    const std::optional<QString> pfad = m_dialoge.ShowOpen(CommonDialog1);
    if (!pfad)
        return ablehnen(nichtGelesen, Texte::dateiNichtGelesen);

    // Only a regular file is read: a directory, a device or a FIFO would
    // have no size or block the window.
    const QFileInfo info(*pfad);
    if (!info.isFile() || info.size() > std::numeric_limits<qint32>::max())
        return ablehnen(nichtGelesen, Texte::dateiNichtGelesen);
    const qint32 groesse = static_cast<qint32>(info.size());
    if (groesse == 0)
        return ablehnen(leer, Texte::dateiLeer);

    // Too large is known from the size alone; such a file is not read.
    if (seitenFuer(groesse) > hoechsteSeitenzahl) {
        m_anzeige.setSeitenzahl(static_cast<int>(seitenFuer(groesse)));
        return ablehnen(zuGross, Texte::dateiZuGross(groesse));
    }

    QFile datei(*pfad);
    if (!datei.open(QIODevice::ReadOnly))
        return ablehnen(nichtGelesen, Texte::dateiNichtGelesen);
    QByteArray inhalt = datei.read(groesse);
    datei.close();
    if (inhalt.size() != groesse)
        return ablehnen(nichtGelesen, Texte::dateiNichtGelesen);

    // The odd-length byte and the page padding together: the fewest 0xFF
    // bytes that make whole pages.
    inhalt.append(static_cast<qsizetype>(seitenFuer(groesse) * seitengroesse - groesse), fuellbyte);

    dateipuffer = inhalt;
    dateigroesse = groesse;
    pufferlaenge = static_cast<qint32>(dateipuffer.size());
    m_anzeige.setSeitenzahl(seitenzahl());
    crcwert = m_crc.crc32(dateipuffer);
    return geladen;
}

qint16 Updatedatei::ablehnen(Ergebnis ergebnis, const QString &meldung)
{
    m_dialoge.meldung(meldung, Texte::programmTitel);
    return ergebnis;
}
