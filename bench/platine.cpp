#include "bench/platine.h"

#include "bench/ereignis.h"
#include "bench/seriennummernfeld.h"
#include "bench/seriennummernzaehler.h"
#include "bench/werkbanktexte.h"
#include "core/texte.h"

#include <QScopedValueRollback>
#include <QSignalBlocker>

namespace {

// A page of 8193 bytes needs this long on the line at 115200 bit/s, 8N1.
constexpr int seiteAufDerLeitungMs = 711;
// Before another attempt the board and its port get a moment to recover.
constexpr int wiederholpauseMs = 500;

} // namespace

Platine::Platine(const Portangabe &port, const Firmwarebild &bild, const Einstellungen &einstellungen,
                 const Crc32 &crc, Ereignisstrom &strom, QObject *parent)
    : QObject(parent)
    , m_port(port)
    , m_bild(bild)
    , m_einstellungen(einstellungen)
    , m_strom(strom)
    , portauswahl(irda, *this, *this, [] {})
    , datei(crc, *this, *this)
    , upload(irda, datei, *this, *this)
{
    irda.setGeraet(port.geraet);
    m_wachhund.setSingleShot(true);
    connect(&m_wachhund, &QTimer::timeout, this, [this] {
        scheitern(Ergebnis::zeitueberschreitung, Texte::keineAntwort(m_einstellungen.zeitlimitMs / 1000.0));
    });
    connect(&irda, &ComPort::OnComm, this, &Platine::irda_OnComm);
    connect(&irda, &ComPort::portFailed, this, &Platine::irda_PortVerloren);
}

void Platine::starten()
{
    m_laeuft = true;
    m_gesamtzeit.start();
    versuchen();
}

void Platine::abbrechen()
{
    if (!m_laeuft)
        return;
    zurRuhe();
    beenden(Ergebnis::abgebrochen, Texte::updateAbgebrochen(), QString());
}

void Platine::melden(const QString &typ, QJsonObject felder)
{
    if (m_ruhig)
        return;
    felder.insert(QStringLiteral("port"), m_port.name());
    m_strom.senden(typ, felder);
}

// A step in the words the window shows, for those who read along.
void Platine::schritt(const QString &text)
{
    melden(QStringLiteral("step"), {{QStringLiteral("text"), text}});
}

// Each attempt starts as Enter in the port field does: the port is reopened
// and the bootloader asked again.
void Platine::versuchen()
{
    if (!m_laeuft)
        return;
    ++m_ergebnis.versuche;
    if (m_ergebnis.versuche > 1)
        schritt(Texte::versuch(m_ergebnis.versuche, m_einstellungen.wiederholungen + 1));
    m_erkannt = false;
    melden(QStringLiteral("detect_begin"), {{QStringLiteral("attempt"), m_ergebnis.versuche}});
    m_uploadzeit.invalidate();
    m_ergebnis.seitenGesendet = 0;
    m_ergebnis.verbindungVerloren = false;
    upload.crcantwort.clear();
    m_meldung.clear();
    if (!portauswahl.sucheStarten(static_cast<quint8>(m_port.comNummer)))
        scheitern(Ergebnis::port, m_meldung, m_erlaeuterung);
}

void Platine::setSuchstatus(const QString &text)
{
    if (!m_laeuft)
        return;
    if (text == Texte::bootloaderNichtGefunden()) {
        scheitern(Ergebnis::nicht_gefunden, text);
        return;
    }
    schritt(text);
    // The detection's last tick is still running: the upload follows it.
    if (text == Texte::bootloaderGefunden()) {
        m_ergebnis.bootloaderGefunden = true;
        m_erkannt = true;
        melden(QStringLiteral("detect_end"), {{QStringLiteral("ok"), true}, {QStringLiteral("answer"), text}});
        if (m_einstellungen.nurErkennen) {
            irda.setPortOpen(false);
            beenden(Ergebnis::ok, text, QString());
        } else {
            QTimer::singleShot(0, this, &Platine::uploadStarten);
        }
    }
}

void Platine::uploadStarten()
{
    if (!m_laeuft)
        return;
    const std::optional<QByteArray> bild = bildMitSeriennummer();
    if (!bild)
        return;
    datei.bildUebernehmen(*bild);
    upload.uploadBeginnen();
    m_ergebnis.seiten = datei.seitenzahl();
    m_ergebnis.crc = datei.crcwert;
    m_ergebnis.sha256 = m_bild.sha256;
    m_uploadzeit.start();
    QJsonObject felder{{QStringLiteral("pages"), m_ergebnis.seiten}};
    if (!m_ergebnis.seriennummern.isEmpty())
        felder.insert(QStringLiteral("sn"), QString::number(m_ergebnis.seriennummern.last().first));
    melden(QStringLiteral("upload_begin"), felder);
    wachhundStellen();
}

// The image with this attempt's serial number, taken from the counter
// before the first byte of the update is sent. A number the field cannot
// hold, or a counter that cannot be written, ends the board unflashed.
std::optional<QByteArray> Platine::bildMitSeriennummer()
{
    const Seriennummernfeld *feld = m_einstellungen.snFeld;
    if (!feld)
        return m_bild.bild;
    QString fehler;
    std::optional<quint64> nummer;
    if (m_einstellungen.snZaehler->naechste() > feld->hoechsteNummer())
        fehler = Werkbanktexte::snZuGross(m_einstellungen.snZaehler->naechste(), feld->groesse);
    else
        nummer = m_einstellungen.snZaehler->nehmen(fehler);
    if (!nummer) {
        irda.setPortOpen(false);
        beenden(Ergebnis::datei, fehler, QString());
        return std::nullopt;
    }
    m_ergebnis.seriennummern << std::make_pair(*nummer, Ergebnis::ok);
    m_snOffen = true;
    return feld->einsetzen(m_bild.bild, *nummer);
}

void Platine::versuchEnde(Ergebnis::Art art, const QString &meldung)
{
    if (!m_erkannt)
        melden(QStringLiteral("detect_end"), {{QStringLiteral("ok"), false}, {QStringLiteral("message"), meldung}});
    melden(QStringLiteral("attempt_end"), {{QStringLiteral("attempt"), m_ergebnis.versuche},
                                           {QStringLiteral("result"), ergebnisname(art)},
                                           {QStringLiteral("message"), meldung}});
    if (m_snOffen)
        m_ergebnis.seriennummern.last().second = art;
    m_snOffen = false;
}

void Platine::irda_OnComm()
{
    const auto schrittVorher = std::make_pair(upload.uploadstatus, upload.seite);
    m_meldung.clear();
    upload.irda_OnComm();
    if (upload.uploadstatus >= Uploadablauf::warte_crc)
        m_ergebnis.seitenGesendet = datei.seitenzahl();
    else if (upload.uploadstatus >= Uploadablauf::warte_seite)
        m_ergebnis.seitenGesendet = qMax(0, upload.seite - 1);
    if (!m_meldung.isEmpty())
        scheitern(Ergebnis::protokoll, m_meldung);
    else if (upload.laeuft() && std::make_pair(upload.uploadstatus, upload.seite) != schrittVorher)
        wachhundStellen();
}

void Platine::irda_PortVerloren()
{
    if (!m_laeuft)
        return;
    m_meldung.clear();
    upload.portVerloren();
    portauswahl.portmeldung();
    m_ergebnis.verbindungVerloren = true;
    scheitern(Ergebnis::port, m_meldung, m_erlaeuterung);
}

// The next answer is due within the time limit, and a page first has to
// travel down the line.
void Platine::wachhundStellen()
{
    const bool seiteUnterwegs = upload.seite > 0
        && (upload.uploadstatus == Uploadablauf::warte_seite || upload.uploadstatus == Uploadablauf::warte_letzte_seite);
    m_wachhund.start(m_einstellungen.zeitlimitMs + (seiteUnterwegs ? seiteAufDerLeitungMs : 0));
}

// As Enter in the port field does; what the upload shows then is not news.
void Platine::zurRuhe()
{
    const QSignalBlocker still(this);
    const QScopedValueRollback<bool> ruhig(m_ruhig, true);
    m_wachhund.stop();
    portauswahl.Timer1.stop();
    upload.zurRuhe();
}

void Platine::scheitern(Ergebnis::Art art, const QString &meldung, const QString &erlaeuterung)
{
    if (!m_laeuft)
        return;
    zurRuhe();
    if (m_ergebnis.versuche <= m_einstellungen.wiederholungen) {
        const QString text = erlaeuterung.isEmpty() ? meldung : meldung + QLatin1Char(' ') + erlaeuterung.simplified();
        versuchEnde(art, text);
        schritt(text);
        QTimer::singleShot(wiederholpauseMs, this, &Platine::versuchen);
        return;
    }
    if (irda.PortOpen())
        irda.setPortOpen(false);
    beenden(art, meldung, erlaeuterung);
}

void Platine::beenden(Ergebnis::Art art, const QString &meldung, const QString &erlaeuterung)
{
    m_laeuft = false;
    versuchEnde(art, meldung);
    m_ergebnis.art = art;
    m_ergebnis.meldung = meldung;
    m_ergebnis.erlaeuterung = erlaeuterung;
    m_ergebnis.boardCrc = upload.crcantwort;
    m_ergebnis.uploadBegonnen = m_uploadzeit.isValid();
    m_ergebnis.sekunden = m_gesamtzeit.elapsed() / 1000.0;
    melden(QStringLiteral("result"), ergebnisfelder(m_port, m_ergebnis));
    emit fertig();
}

void Platine::setUploadstatus(const QString &text)
{
    if (!m_laeuft || text.isEmpty())
        return;
    if (upload.uploadstatus != Uploadablauf::upload_fertig) {
        schritt(text);
    } else if (text == Texte::updateErfolgreich()) {
        m_wachhund.stop();
        irda.setPortOpen(false);
        beenden(Ergebnis::ok, text, QString());
    } else {
        scheitern(Ergebnis::protokoll, text);
    }
}

// A page has been handed over; 0 only resets the bar.
void Platine::setUploadfortschritt(int seite)
{
    if (m_laeuft && seite > 0)
        melden(QStringLiteral("page"), {{QStringLiteral("page"), seite}, {QStringLiteral("pages"), datei.seitenzahl()}});
}

void Platine::meldung(const QString &text, const QString &titel, const QString &erlaeuterung)
{
    // A device the window has no number for is named as it is.
    m_meldung = (titel == Texte::portTitel() && m_port.comNummer == 0) ? Texte::geraetNichtVerfuegbar(m_port.geraet)
                                                                     : text;
    m_erlaeuterung = erlaeuterung;
}
