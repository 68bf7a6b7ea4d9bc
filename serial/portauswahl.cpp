#include "serial/portauswahl.h"

#include "serial/comport.h"
#include "serial/zahlenwert.h"
#include "core/dialoge.h"
#include "core/texte.h"

#include <cmath>

namespace {

constexpr qint16 backspace = 8;
constexpr qint16 enter = 13;
const QByteArray bootloaderKennung = QByteArrayLiteral("AVRB128");

} // namespace

Portauswahl::Portauswahl(ComPort &irda, PortauswahlAnzeige &anzeige, Dialoge &dialoge,
                         std::function<void()> vorNeuerSuche)
    : irda(irda), m_anzeige(anzeige), m_dialoge(dialoge), m_vorNeuerSuche(std::move(vorNeuerSuche))
{
    Timer1.setInterval(tickMillisekunden);
    connect(&Timer1, &QTimer::timeout, this, &Portauswahl::Timer1_Timer);
}

void Portauswahl::port_nummer_KeyPress(qint16 &KeyAscii)
{
    if (KeyAscii == enter)
        eingabeUebernehmen();
    else if (KeyAscii != backspace && (KeyAscii < '0' || KeyAscii > '9'))
        KeyAscii = 0;
}

void Portauswahl::eingabeUebernehmen()
{
    const double wert = zahlenwert(m_anzeige.portFeld());
    if (!(wert >= 1 && wert <= 20)) {
        m_dialoge.meldung(Texte::wertausserhalb(), Texte::programmTitel());
        m_anzeige.setPortFeld(QString());
        return;
    }

    m_vorNeuerSuche();
    // Only pasted text can carry a fraction; it rounds half to even.
    sucheStarten(static_cast<quint8>(std::nearbyint(wert)));
}

bool Portauswahl::sucheStarten(quint8 nummer)
{
    if (irda.PortOpen())
        irda.setPortOpen(false);
    portnr = nummer;
    m_anzeige.setPortFeld(QString());
    irda.setCommPort(portnr);
    if (portöffnen() == 0)
        return false;
    m_anzeige.setSuchstatus(Texte::sucheBootloader());
    irda.setInBufferCount(0);
    irda.Output("S");
    m_anzeige.setSuchfortschritt(0);
    Timer1.start();
    return true;
}

qint16 Portauswahl::portöffnen()
{
    try {
        if (!irda.PortOpen())
            irda.setPortOpen(true);
        W32Comms::SetPortBaudRate(irda, bitrate);
        m_anzeige.setPortFeld(Texte::zahl(portnr));
        return 1;
    } catch (const CommError &) {
        portmeldung();
        return 0;
    }
}

void Portauswahl::Timer1_Timer()
{
    ++tickzaehler;
    if (tickzaehler > ticksJeSuche)
        tickzaehler = 1;
    m_anzeige.setSuchfortschritt(tickzaehler);
    if (tickzaehler != ticksJeSuche)
        return;

    Timer1.stop();
    m_anzeige.setSuchfortschritt(0);
    // A port that failed during the search has nothing waiting: not found.
    if (irda.PortOpen() && irda.InBufferCount() == bootloaderKennung.size()) {
        empfangsdaten = irda.Input();
        if (empfangsdaten == bootloaderKennung) {
            m_anzeige.setSuchstatus(Texte::bootloaderGefunden());
            m_anzeige.setUploadEnabled(true);
            return;
        }
    }
    m_anzeige.setSuchstatus(Texte::bootloaderNichtGefunden());
}

void Portauswahl::portmeldung()
{
    // The port stays open only when setting the bit rate failed; a lost port
    // has been closed already.
    const Portfehler fehler = irda.PortOpen() ? Portfehler::bitrate : irda.fehlerart();
    m_dialoge.meldung(Texte::portNichtVerfuegbar(portnr), Texte::portTitel(),
                      porterlaeuterung(irda.geraet(), fehler, vorhandenePorts()));
}
