#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTimer>

#include <cstdint>
#include <functional>

class ComPort;
class Dialoge;

// What port selection and detection show in the window.
class PortauswahlAnzeige
{
public:
    virtual ~PortauswahlAnzeige() = default;

    virtual QString portFeld() const = 0;                  // port_nummer
    virtual void setPortFeld(const QString &text) = 0;
    virtual void setSuchstatus(const QString &text) = 0;   // Label1
    virtual void setSuchfortschritt(int tick) = 0;         // ProgressBar1 value
    virtual void setUploadEnabled(bool enabled) = 0;
};

// The port field's key filter and Enter handling, the opening of the port
// and the timed bootloader detection: "S" is sent, and ten ticks of 50 ms
// later exactly "AVRB128" must be waiting.
class Portauswahl : public QObject
{
    Q_OBJECT
public:
    static constexpr qint16 ticksJeSuche = 10;
    static constexpr int tickMillisekunden = 50;
    static constexpr std::int32_t bitrate = 115200;

    // `vorNeuerSuche` runs when a valid port number has been entered, before
    // the port is touched.
    Portauswahl(ComPort &irda, PortauswahlAnzeige &anzeige, Dialoge &dialoge,
                std::function<void()> vorNeuerSuche);

    void port_nummer_KeyPress(qint16 &KeyAscii);
    // The Enter handling from step 3 on, for a number already accepted:
    // reopens the port and starts a detection. False when the port failed
    // and the port message has been shown.
    bool sucheStarten(quint8 nummer);
    qint16 portöffnen();
    void Timer1_Timer();

    // The port message for the port last accepted, with the device tried,
    // why it failed and the other ports present.
    void portmeldung();

    QTimer Timer1;
    quint8 portnr = 0;
    qint16 tickzaehler = 0;
    QByteArray empfangsdaten;

private:
    void eingabeUebernehmen();

    ComPort &irda;
    PortauswahlAnzeige &m_anzeige;
    Dialoge &m_dialoge;
    std::function<void()> m_vorNeuerSuche;
};
