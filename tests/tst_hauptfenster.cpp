// The main window after start-up, the port field and the bootloader detection
// over a real pseudo-terminal.

#include "fakecomport.h"
#include "prueffenster.h"
#include "ui/about.h"
#include "ui/hilfe.h"
#include "core/texte.h"

#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QWindow>

#include <linux/capability.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

QRect px(int l, int t, int w, int h) { return QRect(l / 15, t / 15, w / 15, h / 15); }

double cpuSekunden()
{
    rusage r{};
    getrusage(RUSAGE_SELF, &r);
    return r.ru_utime.tv_sec + r.ru_stime.tv_sec + (r.ru_utime.tv_usec + r.ru_stime.tv_usec) / 1e6;
}

// Root opens any device whatever its rights; without these two capabilities
// this thread is held to them like any user.
struct OhneDateirechte
{
    OhneDateirechte()
    {
        syscall(SYS_capget, &kopf, vorher);
        __user_cap_data_struct ohne[2] = {vorher[0], vorher[1]};
        ohne[0].effective &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH));
        syscall(SYS_capset, &kopf, ohne);
    }
    ~OhneDateirechte() { syscall(SYS_capset, &kopf, vorher); }

    __user_cap_header_struct kopf{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct vorher[2]{};
};

} // namespace

class TestHauptfenster : public QObject
{
    Q_OBJECT

private slots:
    void fensterNachDemStartOhnePort()
    {
        Pruefstand p;
        KVXLoad &w = p.fenster;
        w.Form_Load();
        // The port message comes before the window is shown.
        QCOMPARE(p.dialoge.meldungen, QStringList{"COM 3 nicht verfügbar !"});
        QCOMPARE(p.dialoge.titel_, QStringList{"Portproblem"});
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));

        QCOMPARE(w.windowTitle(), QString("KVXLoader"));
        QCOMPARE(w.centralWidget()->size(), QSize(357, 224));
        QCOMPARE(w.minimumSize(), w.maximumSize());
        QCOMPARE(w.Frame1->title(), QString("Com-Port"));
        QCOMPARE(w.Frame2->title(), QString("DWQ Update"));
        QCOMPARE(w.Upload->text(), QString("&Update-Datei wählen und senden"));
        QCOMPARE(w.Frame1->geometry(), px(120, 120, 4815, 1215));
        QCOMPARE(w.port_nummer->geometry(), px(240, 360, 975, 615));
        QCOMPARE(w.ProgressBar1->geometry(), px(1440, 720, 3135, 255));
        QCOMPARE(w.Label1->geometry(), px(1440, 360, 3135, 255));
        QCOMPARE(w.Frame2->geometry(), px(120, 1560, 4815, 1575));
        QCOMPARE(w.Upload->geometry(), px(240, 360, 4335, 375));
        QCOMPARE(w.ProgressBar2->geometry(), px(240, 840, 4335, 255));
        QCOMPARE(w.Label3->geometry(), px(240, 1200, 4335, 255));
        QVERIFY(w.port_nummer->font().bold());
        QCOMPARE(w.port_nummer->font().pointSizeF(), 13.5);

        QCOMPARE(w.port_nummer->text(), QString());
        QCOMPARE(w.Label1->text(), QString());
        QCOMPARE(w.Label3->text(), QString());
        QVERIFY(!w.Upload->isEnabled());
        QCOMPARE(w.ProgressBar1->maximum(), 10);
        QCOMPARE(w.ProgressBar2->value(), 0);
        QCOMPARE(w.ProgressBar2->maximum(), 16);
        QCOMPARE(w.menuBar()->actions().size(), 2);
        QCOMPARE(w.Hilfebutton->text(), QString("Hilfe"));
        QCOMPARE(w.Info->text(), QString("Info"));
        QVERIFY(w.port_nummer->hasFocus());
        // Tab moves between the field and, while it is enabled, the button only.
        w.Upload->setEnabled(true);
        QTest::keyClick(w.port_nummer, Qt::Key_Tab);
        QVERIFY(w.Upload->hasFocus());
        QTest::keyClick(w.Upload, Qt::Key_Tab);
        QVERIFY(w.port_nummer->hasFocus());
        QVERIFY(!w.Upload->isDefault());
    }

    void tastenfilterUndBereich()
    {
        Pruefstand p;
        auto board = p.board(3);
        p.fenster.Form_Load();
        QCOMPARE(p.fenster.port_nummer->text(), QString(" 3"));
        QCOMPARE(p.fenster.Label1->text(), Texte::sucheBootloader);

        p.fenster.port_nummer->clear();
        QTest::keyClicks(p.fenster.port_nummer, "a1 -.,x2+");
        QCOMPARE(p.fenster.port_nummer->text(), QString("12"));
        QTest::keyClick(p.fenster.port_nummer, Qt::Key_Backspace);
        QCOMPARE(p.fenster.port_nummer->text(), QString("1"));
        // Delete as Windows and xkb deliver it, with the text U+007F: it deletes.
        p.fenster.port_nummer->setText("12");
        p.fenster.port_nummer->setCursorPosition(0);
        QKeyEvent entf(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier, QStringLiteral("\x7f"));
        QApplication::sendEvent(p.fenster.port_nummer, &entf);
        QCOMPARE(p.fenster.port_nummer->text(), QString("2"));

        // Out of range while the detection runs: message, field emptied, the detection goes on.
        for (const char *falsch : {"0", "21", ""}) {
            p.waehle(falsch);
            QCOMPARE(p.dialoge.meldungen.takeLast(), QString("Wert muß zwischen 1 und 20 liegen !"));
            QCOMPARE(p.dialoge.titel_.takeLast(), QString("KVXLoader"));
            QCOMPARE(p.fenster.port_nummer->text(), QString());
        }
        QTRY_COMPARE(p.fenster.Label1->text(), Texte::bootloaderGefunden);

        // A pasted fraction rounds half to even: 2.5 opens COM 2, which is missing.
        p.fenster.port_nummer->setText("2.5");
        QTest::keyClick(p.fenster.port_nummer, Qt::Key_Return);
        QCOMPARE(p.dialoge.meldungen.takeLast(), QString("COM 2 nicht verfügbar !"));
        QCOMPARE(p.dialoge.titel_.takeLast(), QString("Portproblem"));
        QCOMPARE(p.fenster.port_nummer->text(), QString());
        QVERIFY(p.fenster.Upload->isEnabled());   // a failed selection never disables it

        p.waehle("003");
        QCOMPARE(p.fenster.port_nummer->text(), QString(" 3"));
        QVERIFY(p.dialoge.meldungen.isEmpty());
    }

    // Below the port message: the device tried, why it failed, and the other
    // ports the field reaches (DIR stands for the port folder).
    void portmeldungErlaeutert_data()
    {
        QTest::addColumn<QList<int>>("boards");
        QTest::addColumn<QString>("com3");
        QTest::addColumn<QString>("erlaeuterung");
        QTest::newRow("missing") << QList<int>{12, 1} << ""
            << "Versucht: DIR/COM3 – nicht vorhanden.\nVorhandene Ports: COM 1 = DIR/COM1, COM 12 = DIR/COM12";
        QTest::newRow("dangling link") << QList<int>{} << "dangling"
            << "Versucht: DIR/COM3 – nicht vorhanden.\nKeine anderen COM-Ports gefunden.";
        QTest::newRow("in use") << QList<int>{1, 3} << "in use"
            << "Versucht: DIR/COM3 – von einem anderen Programm belegt.\nVorhandene Ports: COM 1 = DIR/COM1";
        QTest::newRow("no permission") << QList<int>{3} << "mode 000"
            << "Versucht: DIR/COM3 – keine Berechtigung.\nNach der Installation des Pakets einmal ab- und wieder "
               "anmelden, oder den Benutzer der Gruppe dialout hinzufügen.\nKeine anderen COM-Ports gefunden.";
    }

    void portmeldungErlaeutert()
    {
        QFETCH(QList<int>, boards);
        QFETCH(QString, com3);
        QFETCH(QString, erlaeuterung);
        Pruefstand p;
        std::vector<std::unique_ptr<kvxsim::PtyBoard>> bretter;
        for (int port : boards)
            bretter.push_back(p.board(port));
        if (com3 == "dangling")
            QVERIFY(QFile::link(p.ordner.filePath("weg"), p.ordner.filePath("COM3")));
        QtComPort anderesProgramm;
        anderesProgramm.setCommPort(3);
        if (com3 == "in use")
            anderesProgramm.setPortOpen(true);
        if (com3 == "mode 000")
            QCOMPARE(chmod(bretter.back()->slavePath().c_str(), 0), 0);

        OhneDateirechte ohneRechte;
        p.fenster.Form_Load();
        QCOMPARE(p.dialoge.meldungen, QStringList{"COM 3 nicht verfügbar !"});
        QCOMPARE(p.dialoge.erlaeuterungen, QStringList{erlaeuterung.replace("DIR", p.ordner.path())});
    }

    // A port that opens but takes no bit rate: this one has no handle to set it on.
    void portmeldungOhneBitrate()
    {
        Pruefstand p;
        FakeComPort port;
        KVXLoad fenster(port, p.dialoge);
        fenster.Form_Load();
        QCOMPARE(p.dialoge.erlaeuterungen, QStringList{"Versucht: " + p.ordner.filePath("COM3")
                                                       + " – lässt sich nicht auf 115200 bit/s einstellen."
                                                         "\nKeine anderen COM-Ports gefunden."});
    }

    void erkennung_data()
    {
        QTest::addColumn<bool>("stumm");
        QTest::addColumn<QString>("antwort");
        QTest::addColumn<int>("verzoegerungMs");
        QTest::addColumn<QString>("ergebnis");
        QTest::newRow("found") << false << "AVRB128" << 0 << Texte::bootloaderGefunden;
        QTest::newRow("silent") << true << "AVRB128" << 0 << Texte::bootloaderNichtGefunden;
        QTest::newRow("other id") << false << "AVRB127" << 0 << Texte::bootloaderNichtGefunden;
        QTest::newRow("8 bytes") << false << "AVRB128\r" << 0 << Texte::bootloaderNichtGefunden;
        QTest::newRow("6 bytes") << false << "AVRB12" << 0 << Texte::bootloaderNichtGefunden;
        QTest::newRow("late") << false << "AVRB128" << 1500 << Texte::bootloaderNichtGefunden;
    }

    void erkennung()
    {
        QFETCH(bool, stumm);
        QFETCH(QString, antwort);
        QFETCH(int, verzoegerungMs);
        QFETCH(QString, ergebnis);
        Pruefstand p;
        kvxsim::PtyBoardOptions optionen;
        optionen.board.silent = stumm;
        optionen.board.queryAnswer = antwort.toStdString();
        optionen.board.queryAnswerDelayMs = verzoegerungMs;
        auto board = p.board(3, optionen);
        p.fenster.Form_Load();
        QCOMPARE(p.fenster.Label1->text(), Texte::sucheBootloader);
        QTRY_COMPARE(p.fenster.Label1->text(), ergebnis);
        QCOMPARE(p.fenster.ProgressBar1->value(), 0);
        QCOMPARE(p.fenster.Upload->isEnabled(), ergebnis == Texte::bootloaderGefunden);
        QCOMPARE(p.fenster.portauswahl.tickzaehler, qint16(10));
        QVERIFY(p.dialoge.meldungen.isEmpty());
    }

    void wiederholteUndUnterbrocheneErkennung()
    {
        Pruefstand p;
        auto board = p.board(3);
        p.fenster.Form_Load();
        QTRY_COMPARE(p.fenster.Label1->text(), Texte::bootloaderGefunden);

        // A second detection runs ten ticks again.
        p.waehle("3");
        QCOMPARE(p.fenster.Label1->text(), Texte::sucheBootloader);
        QTRY_COMPARE(p.fenster.portauswahl.tickzaehler, qint16(4));
        QCOMPARE(p.fenster.ProgressBar1->value(), 4);
        // Enter during it starts again, the tick count carries on.
        p.waehle("3");
        QCOMPARE(p.fenster.ProgressBar1->value(), 0);
        QTRY_COMPARE(p.fenster.Label1->text(), Texte::bootloaderGefunden);
        QCOMPARE(board->received(), std::string("SSS"));

        // The port closed under a running detection: its last tick finds nothing.
        p.waehle("3");
        p.waehle("9");
        QCOMPARE(p.dialoge.meldungen, QStringList{"COM 9 nicht verfügbar !"});
        QVERIFY(!p.irda.PortOpen());
        QTRY_COMPARE(p.fenster.Label1->text(), Texte::bootloaderNichtGefunden);
    }

    void verlorenerPortOhneAbsturzUndLeerlauf()
    {
        Pruefstand p;
        auto board = p.board(3);
        p.fenster.Form_Load();
        QTRY_COMPARE(p.fenster.Label1->text(), Texte::bootloaderGefunden);
        const double vorher = cpuSekunden();
        board->dropLine();
        QTRY_COMPARE(p.dialoge.meldungen, QStringList{"COM 3 nicht verfügbar !"});
        QCOMPARE(p.dialoge.titel_, QStringList{"Portproblem"});
        QCOMPARE(p.dialoge.erlaeuterungen, QStringList{"Versucht: " + p.ordner.filePath("COM3")
                                                       + " – Verbindung verloren.\nKeine anderen COM-Ports gefunden."});
        QVERIFY(!p.irda.PortOpen());
        QVERIFY(!p.fenster.Upload->isEnabled());
        QCOMPARE(p.fenster.Label1->text(), QString());
        QTest::qWait(500);
        // A hung-up line left open would keep the event loop busy all the time.
        QVERIFY2(cpuSekunden() - vorher < 0.3, "the lost port keeps the CPU busy");

        board->reconnect();
        p.waehle("3");
        QTRY_COMPARE(p.fenster.Label1->text(), Texte::bootloaderGefunden);
        QVERIFY(p.fenster.Upload->isEnabled());
    }

    void menueFenster()
    {
        Pruefstand p;
        auto board = p.board(3);
        p.fenster.Form_Load();
        p.fenster.show();

        // "Hilfe" twice: one window, not modal, and a window of its own, which
        // the window system does not keep in front of the main window.
        const auto hilfefenster = [] {
            QList<Hilfe *> fenster;
            for (QWidget *w : QApplication::topLevelWidgets()) {
                if (auto *hilfe = qobject_cast<Hilfe *>(w))
                    fenster << hilfe;
            }
            return fenster;
        };
        p.fenster.Hilfebutton->trigger();
        p.fenster.Hilfebutton->trigger();
        QCOMPARE(hilfefenster().size(), 1);
        Hilfe *hilfe = hilfefenster().first();
        QVERIFY(hilfe->isVisible() && !hilfe->isModal());
        QCOMPARE(hilfe->windowType(), Qt::Window);
        QVERIFY(!hilfe->parentWidget() && !hilfe->windowHandle()->transientParent());

        // "Info" is modal, and the detection started before it goes on meanwhile.
        QString suchstatusWaehrendInfo;
        QTimer::singleShot(800, [&] {
            auto *about = qobject_cast<About *>(QApplication::activeModalWidget());
            QVERIFY(about);
            QCOMPARE(about->windowTitle(), QString("Info"));
            QCOMPARE(about->Label1->text(), QString("KVXLoader V1.0"));
            suchstatusWaehrendInfo = p.fenster.Label1->text();
            about->close();
        });
        p.fenster.Info->trigger();
        QCOMPARE(suchstatusWaehrendInfo, Texte::bootloaderGefunden);

        // Closing the main window closes the help window with it.
        p.fenster.close();
        QVERIFY(!hilfe->isVisible());
    }
};

QTEST_MAIN(TestHauptfenster)
#include "tst_hauptfenster.moc"
