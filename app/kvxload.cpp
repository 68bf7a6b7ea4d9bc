#include "app/kvxload.h"

#include "serial/comport.h"
#include "ui/about.h"
#include "ui/hilfe.h"
#include "core/texte.h"
#include "ui/twips.h"

#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>

namespace {

void platziere(QWidget *control, int left, int top, int width, int height)
{
    control->setGeometry(twips(left), twips(top), twips(width), twips(height));
}

QProgressBar *fortschrittsbalken(QWidget *parent)
{
    auto *balken = new QProgressBar(parent);
    balken->setTextVisible(false);
    balken->setValue(0);
    return balken;
}

// The character code the port field's key filter sees, or nothing for keys
// that type no character (cursor keys, Delete) and for focus changes.
std::optional<qint16> zeichencode(const QKeyEvent *taste)
{
    switch (taste->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return qint16(13);
    case Qt::Key_Backspace:
        return qint16(8);
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Delete:        // comes with the text U+007F on Windows and with xkb
        return std::nullopt;
    default:
        if (taste->text().isEmpty())
            return std::nullopt;
        return static_cast<qint16>(taste->text().at(0).unicode());
    }
}

} // namespace

KVXLoad::KVXLoad(ComPort &irda, Dialoge &dialoge, QWidget *parent)
    : QMainWindow(parent)
    , irda(irda)
    , portauswahl(irda, *this, dialoge, [this] { upload.zurRuhe(); })
    , datei(m_crc, dialoge, *this)
    , upload(irda, datei, *this, dialoge)
{
    setWindowTitle(Texte::programmTitel());

    auto *client = new QWidget(this);
    client->setFixedSize(twips(5355), twips(3360));
    setCentralWidget(client);
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    Frame1 = new QGroupBox(Texte::rahmenPort(), client);
    platziere(Frame1, 120, 120, 4815, 1215);
    port_nummer = new QLineEdit(Texte::standardPortnummer(), Frame1);
    platziere(port_nummer, 240, 360, 975, 615);
    QFont grosseZiffern(QStringLiteral("MS Sans Serif"));
    grosseZiffern.setStyleHint(QFont::SansSerif);
    grosseZiffern.setPointSizeF(13.5);
    grosseZiffern.setBold(true);
    port_nummer->setFont(grosseZiffern);
    port_nummer->installEventFilter(this);
    ProgressBar1 = fortschrittsbalken(Frame1);
    platziere(ProgressBar1, 1440, 720, 3135, 255);
    Label1 = new QLabel(Frame1);
    platziere(Label1, 1440, 360, 3135, 255);

    Frame2 = new QGroupBox(Texte::rahmenUpdate(), client);
    platziere(Frame2, 120, 1560, 4815, 1575);
    Upload = new QPushButton(Texte::uploadKnopf(), Frame2);
    platziere(Upload, 240, 360, 4335, 375);
    Upload->setEnabled(false);
    Upload->setAutoDefault(false);
    ProgressBar2 = fortschrittsbalken(Frame2);
    platziere(ProgressBar2, 240, 840, 4335, 255);
    Label3 = new QLabel(Frame2);
    platziere(Label3, 240, 1200, 4335, 255);

    setTabOrder(port_nummer, Upload);
    port_nummer->setFocus();

    Hilfebutton = menuBar()->addAction(Texte::menueHilfe());
    Info = menuBar()->addAction(Texte::menueInfo());

    connect(Upload, &QPushButton::clicked, this, &KVXLoad::Upload_Click);
    connect(Hilfebutton, &QAction::triggered, this, &KVXLoad::Hilfebutton_Click);
    connect(Info, &QAction::triggered, this, &KVXLoad::Info_Click);
    connect(&irda, &ComPort::OnComm, this, &KVXLoad::irda_OnComm);
    connect(&irda, &ComPort::portFailed, this, &KVXLoad::irda_PortVerloren);
}

KVXLoad::~KVXLoad() = default;

void KVXLoad::Form_Load()
{
    ProgressBar1->setMaximum(Portauswahl::ticksJeSuche);
    ProgressBar1->setMinimum(0);
    ProgressBar2->setMaximum(16);
    ProgressBar2->setMinimum(0);
    Label1->clear();
    Label3->clear();
    upload.uploadstatus = Uploadablauf::kein_upload;
    m_crc.CRCInit(Crc32::standardPolynomial);
    qint16 KeyAscii = 13;
    portauswahl.port_nummer_KeyPress(KeyAscii);
}

void KVXLoad::Upload_Click()
{
    upload.Upload_Click();
}

void KVXLoad::irda_OnComm()
{
    upload.irda_OnComm();
}

// Not in the classic control's repertoire: the port vanished or failed while
// open. The upload cannot go on, and the button waits for a new detection.
void KVXLoad::irda_PortVerloren()
{
    upload.portVerloren();
    Label1->clear();
    portauswahl.portmeldung();
}

void KVXLoad::Hilfebutton_Click()
{
    if (!m_hilfe)
        m_hilfe = std::make_unique<Hilfe>();
    m_hilfe->zeigen();
}

void KVXLoad::Info_Click()
{
    if (!m_about)
        m_about = new About(this);
    m_about->exec();
}

// The help window is a window of its own, so it does not go with the main
// window by itself; closing the main window ends the program.
void KVXLoad::closeEvent(QCloseEvent *event)
{
    if (m_hilfe)
        m_hilfe->close();
    QMainWindow::closeEvent(event);
}

bool KVXLoad::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == port_nummer && event->type() == QEvent::KeyPress) {
        if (const std::optional<qint16> code = zeichencode(static_cast<QKeyEvent *>(event))) {
            qint16 KeyAscii = *code;
            portauswahl.port_nummer_KeyPress(KeyAscii);
            return KeyAscii == 0;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

QString KVXLoad::portFeld() const
{
    return port_nummer->text();
}

void KVXLoad::setPortFeld(const QString &text)
{
    port_nummer->setText(text);
}

void KVXLoad::setSuchstatus(const QString &text)
{
    Label1->setText(text);
}

void KVXLoad::setSuchfortschritt(int tick)
{
    ProgressBar1->setValue(tick);
}

void KVXLoad::setUploadstatus(const QString &text)
{
    Label3->setText(text);
    Label3->repaint();
}

void KVXLoad::setUploadfortschritt(int seite)
{
    ProgressBar2->setValue(seite);
    ProgressBar2->repaint();
}

void KVXLoad::setSeitenzahl(int seiten)
{
    ProgressBar2->setMaximum(seiten);
}

void KVXLoad::setUploadEnabled(bool enabled)
{
    Upload->setEnabled(enabled);
}
