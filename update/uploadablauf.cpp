#include "update/uploadablauf.h"

#include "serial/comport.h"
#include "core/dialoge.h"
#include "core/texte.h"
#include "update/updatedatei.h"
#include "update/uploadanzeige.h"

namespace {

constexpr char CR = '\r';
constexpr int paketeJeSeite = Updatedatei::seitengroesse / Uploadablauf::paketgroesse;

} // namespace

Uploadablauf::Uploadablauf(ComPort &irda, Updatedatei &datei, UploadAnzeige &anzeige, Dialoge &dialoge)
    : irda(irda), m_datei(datei), m_anzeige(anzeige), m_dialoge(dialoge)
{
}

void Uploadablauf::Upload_Click()
{
    m_anzeige.setUploadstatus(QString());
    if (m_datei.dateilesen() > 0)
        return;
    uploadBeginnen();
}

void Uploadablauf::uploadBeginnen()
{
    m_anzeige.setUploadEnabled(false);
    m_anzeige.setUploadfortschritt(0);
    uploadstatus = warte_programmiermodus;
    m_anzeige.setUploadstatus(Texte::hochladen());
    irda.setRThreshold(1);
    irda.setInBufferCount(0);
    irda.Output("P");
}

void Uploadablauf::irda_OnComm()
{
    if (uploadstatus == kein_upload)
        return;
    if (irda.CommEvent() == ComPort::comEvSend)
        sendeschritt();
    if (irda.CommEvent() == ComPort::comEvReceive)
        empfangsschritt();
}

void Uploadablauf::sendeschritt()
{
    ++paket;
    irda.Output(stueck(paket));
    if (paket == paketeJeSeite - 1)
        irda.setSThreshold(0);
}

void Uploadablauf::empfangsschritt()
{
    empfangsdaten = irda.Input();

    // While a page is still being handed over, an answer cannot be the
    // board's acknowledgement of it; taking it as one would leave the rest
    // of the page unsent and the flash corrupt.
    if (irda.SThreshold() > 0)
        return;

    const quint8 s = uploadstatus;
    const bool beginntMitCR = !empfangsdaten.isEmpty() && empfangsdaten.at(0) == CR;
    if (!beginntMitCR && (s == warte_loeschen || s == warte_letzte_seite || s == upload_fertig)) {
        m_dialoge.meldung(Texte::fehlerAufgetreten(), Texte::programmTitel());
        return;
    }

    switch (s) {
    case warte_programmiermodus:
        uploadstatus = warte_loeschen;
        irda.setInBufferCount(0);
        irda.Output("e");
        break;
    case warte_loeschen:
        uploadstatus = warte_seite;
        paket = 0;
        seite = 0;
        irda.setInBufferCount(0);
        adresse = 0;
        irda.Output(adressbefehl());
        break;
    case warte_seite:
        seitenschritt();
        break;
    case warte_letzte_seite:
        m_anzeige.setUploadfortschritt(0);
        m_anzeige.setUploadstatus(Texte::pruefen());
        uploadstatus = warte_crc;
        irda.setRThreshold(4);
        irda.setInBufferCount(0);
        irda.Output("$");
        break;
    case warte_crc:
        crcantwort = empfangsdaten;
        uploadstatus = upload_fertig;
        m_anzeige.setUploadstatus(crcantwort == m_datei.crcwert ? Texte::updateErfolgreich()
                                                          : Texte::updateFehlgeschlagen());
        m_anzeige.setUploadEnabled(true);
        break;
    default:
        break;
    }
}

void Uploadablauf::seitenschritt()
{
    ++seite;
    paket = 0;
    m_anzeige.setUploadfortschritt(seite);
    if (m_datei.seitenzahl() <= seite)
        uploadstatus = warte_letzte_seite;
    irda.setInBufferCount(0);
    irda.setSThreshold(1);
    irda.Output(QByteArray("#") + stueck(0));
}

// Piece `nummer` (0 to 15) of the current page; shorter where the image ends.
QByteArray Uploadablauf::stueck(int nummer) const
{
    const qsizetype anfang = qsizetype(seite - 1) * Updatedatei::seitengroesse + qsizetype(nummer) * paketgroesse;
    return m_datei.dateipuffer.mid(anfang, paketgroesse);
}

// "A" and the start address in 2-byte words, high byte first.
QByteArray Uploadablauf::adressbefehl() const
{
    QByteArray befehl("A");
    befehl.append(static_cast<char>((adresse / 512) % 256));
    befehl.append(static_cast<char>((adresse / 2) % 256));
    return befehl;
}

void Uploadablauf::zurRuhe()
{
    if (laeuft()) {
        m_anzeige.setUploadfortschritt(0);
        m_anzeige.setUploadstatus(Texte::updateAbgebrochen());
    }
    ruhezustand();
}

void Uploadablauf::portVerloren()
{
    if (laeuft()) {
        m_anzeige.setUploadfortschritt(0);
        m_anzeige.setUploadstatus(Texte::updateFehlgeschlagen());
    }
    ruhezustand();
    m_anzeige.setUploadEnabled(false);
}

void Uploadablauf::ruhezustand()
{
    uploadstatus = kein_upload;
    irda.setRThreshold(0);
    irda.setSThreshold(0);
}
