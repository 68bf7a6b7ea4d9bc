#pragma once

#include "serial/portauswahl.h"
#include "update/crc32.h"
#include "update/updatedatei.h"
#include "update/uploadablauf.h"
#include "update/uploadanzeige.h"

#include <QMainWindow>

#include <memory>

class About;
class ComPort;
class Dialoge;
class Hilfe;
class QAction;
class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

// The main window: its controls, its start-up and the routing of every event
// to the logic that handles it.
class KVXLoad : public QMainWindow, private PortauswahlAnzeige, private UploadAnzeige
{
    Q_OBJECT
public:
    KVXLoad(ComPort &irda, Dialoge &dialoge, QWidget *parent = nullptr);
    ~KVXLoad() override;

    // Runs once, before the window is first shown.
    void Form_Load();

    void Upload_Click();
    void irda_OnComm();
    void Hilfebutton_Click();
    void Info_Click();

    QGroupBox *Frame1;
    QLineEdit *port_nummer;
    QProgressBar *ProgressBar1;
    QGroupBox *Frame2;
    QPushButton *Upload;
    QProgressBar *ProgressBar2;
    QLabel *Label1;
    QLabel *Label3;
    QAction *Hilfebutton;
    QAction *Info;

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void irda_PortVerloren();

    // PortauswahlAnzeige
    QString portFeld() const override;
    void setPortFeld(const QString &text) override;
    void setSuchstatus(const QString &text) override;
    void setSuchfortschritt(int tick) override;
    // UploadAnzeige
    void setUploadstatus(const QString &text) override;
    void setUploadfortschritt(int seite) override;
    void setSeitenzahl(int seiten) override;
    // both
    void setUploadEnabled(bool enabled) override;

    ComPort &irda;
    Crc32 m_crc;
    std::unique_ptr<Hilfe> m_hilfe;
    About *m_about = nullptr;

public:
    // The logic behind the controls, declared after what it refers to.
    Portauswahl portauswahl;
    Updatedatei datei;
    Uploadablauf upload;
};
