#pragma once

#include "bench/ergebnis.h"
#include "bench/firmwarebild.h"
#include "bench/portangabe.h"
#include "core/dialoge.h"
#include "serial/portauswahl.h"
#include "serial/qtcomport.h"
#include "update/updatedatei.h"
#include "update/uploadablauf.h"
#include "update/uploadanzeige.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

class Crc32;
class Ereignisstrom;
struct Seriennummernfeld;
class Seriennummernzaehler;

// One board on one port, flashed the way the window flashes it: the same
// detection and the same upload, driven without a window. Unlike the window
// it gives up when the board stays silent, and it may try again. What
// happens is said on the bench's event stream, each event naming the port.
class Platine : public QObject, private PortauswahlAnzeige, private UploadAnzeige, private Dialoge
{
    Q_OBJECT
public:
    struct Einstellungen
    {
        int zeitlimitMs = 5000;   // longest wait for an answer after a command
        int wiederholungen = 0;   // further attempts after a failure
        bool nurErkennen = false; // stop once the bootloader has answered
        // Each attempt writes a new number from the counter into its image.
        const Seriennummernfeld *snFeld = nullptr;
        Seriennummernzaehler *snZaehler = nullptr;
    };

    Platine(const Portangabe &port, const Firmwarebild &bild, const Einstellungen &einstellungen,
            const Crc32 &crc, Ereignisstrom &strom, QObject *parent = nullptr);

    void starten();
    // Ctrl+C: a board still at work is returned to rest.
    void abbrechen();

    const Portangabe &port() const { return m_port; }
    bool laeuft() const { return m_laeuft; }
    const Ergebnis &ergebnis() const { return m_ergebnis; }

signals:
    void fertig();

private:
    void versuchen();
    void uploadStarten();
    void irda_OnComm();
    void irda_PortVerloren();
    void wachhundStellen();
    void zurRuhe();
    std::optional<QByteArray> bildMitSeriennummer();
    void versuchEnde(Ergebnis::Art art, const QString &meldung);
    void melden(const QString &typ, QJsonObject felder = {});
    void schritt(const QString &text);
    void scheitern(Ergebnis::Art art, const QString &meldung, const QString &erlaeuterung = QString());
    void beenden(Ergebnis::Art art, const QString &meldung, const QString &erlaeuterung);

    // PortauswahlAnzeige: the port number is given, the field is not needed.
    QString portFeld() const override { return QString(); }
    void setPortFeld(const QString &) override {}
    void setSuchstatus(const QString &text) override;
    void setSuchfortschritt(int) override {}
    // UploadAnzeige
    void setUploadstatus(const QString &text) override;
    void setUploadfortschritt(int seite) override;
    void setSeitenzahl(int) override {}
    void setUploadEnabled(bool) override {}
    // Dialoge: messages are kept for the report; the image is given, so no
    // file is asked for.
    void meldung(const QString &text, const QString &titel, const QString &erlaeuterung) override;
    std::optional<QString> ShowOpen(const CommonDialogSettings &) override { return std::nullopt; }

    const Portangabe m_port;
    const Firmwarebild m_bild;
    const Einstellungen m_einstellungen;
    Ereignisstrom &m_strom;
    QtComPort irda;
    Portauswahl portauswahl;
    Updatedatei datei;
    Uploadablauf upload;

    QTimer m_wachhund;
    QElapsedTimer m_gesamtzeit;
    QElapsedTimer m_uploadzeit;
    QString m_meldung;
    QString m_erlaeuterung;
    bool m_laeuft = false;
    bool m_snOffen = false;  // the last serial number's attempt has not ended
    bool m_erkannt = false;  // the bootloader answered in this attempt
    bool m_ruhig = false;    // while returning to rest, nothing is news
    Ergebnis m_ergebnis;
};
