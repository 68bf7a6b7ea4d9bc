#pragma once

#include "cli/firmwarebild.h"
#include "cli/portangabe.h"
#include "core/dialoge.h"
#include "serial/portauswahl.h"
#include "serial/qtcomport.h"
#include "update/updatedatei.h"
#include "update/uploadablauf.h"
#include "update/uploadanzeige.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <utility>

class Crc32;
struct Seriennummernfeld;
class Seriennummernzaehler;

// How one board's run ended, with what a script needs to know about it.
struct Ergebnis
{
    // In the order of the exit statuses' meaning; see exitStatus().
    enum Art { ok, datei, nicht_gefunden, port, zeitueberschreitung, protokoll, zaehler, abgebrochen };

    Art art = ok;
    QString meldung;       // the window's text for the outcome
    QString erlaeuterung;  // what the port message adds, if anything
    int seiten = 0;
    int seitenGesendet = 0;  // pages the board has taken in the last attempt
    QByteArray crc;        // the image's CRC string
    QByteArray sha256;     // of the image's file as it was read
    QByteArray boardCrc;   // the board's answer to "$", when it came
    double sekunden = 0;
    int versuche = 0;
    bool bootloaderGefunden = false;  // in some attempt
    bool verbindungVerloren = false;  // the board went away during the last attempt
    bool uploadBegonnen = false;      // in the last attempt: the board may be left mid-update
    // The serial number each attempt wrote, and how that attempt ended.
    QList<std::pair<quint64, Art>> seriennummern;
};

// One board on one port, flashed the way the window flashes it: the same
// detection and the same upload, driven without a window. Unlike the window
// it gives up when the board stays silent, and it may try again.
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
            const Crc32 &crc, QObject *parent = nullptr);

    void starten();
    // Ctrl+C: a board still at work is returned to rest.
    void abbrechen();

    const Portangabe &port() const { return m_port; }
    bool laeuft() const { return m_laeuft; }
    const Ergebnis &ergebnis() const { return m_ergebnis; }
    // Upload progress: the page handed over last and the image's page count.
    int seite() const { return upload.seite; }
    int seitenzahl() const { return datei.seitenzahl(); }
    // Seconds since the upload of this attempt began, 0 before.
    double uploadSekunden() const;

signals:
    void schritt(const QString &text);
    void fortschritt();
    void fertig();

private:
    void versuchen();
    void uploadStarten();
    void irda_OnComm();
    void irda_PortVerloren();
    void wachhundStellen();
    void zurRuhe();
    std::optional<QByteArray> bildMitSeriennummer();
    void versuchEnde(Ergebnis::Art art);
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
    Ergebnis m_ergebnis;
};
