// The windows: the main window's texts, its start-up, the port field and
// the bootloader detection over a real pseudo-terminal; the help window; the
// language chosen from the environment.

#include "fakecomport.h"
#include "prueffenster.h"
#include "ui/about.h"
#include "ui/hilfe.h"
#include "ui/windows1252.h"
#include "core/sprache.h"
#include "core/texte.h"

#include <QAction>
#include <QApplication>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QWindow>

#include <linux/capability.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

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

// The values ProgressBar1 takes, from now on.
QList<int> fortschritt(const QSignalSpy &spy)
{
    QList<int> werte;
    for (const QList<QVariant> &signal : spy)
        werte << signal.at(0).toInt();
    return werte;
}

} // namespace

class TestHauptfenster : public QObject
{
    Q_OBJECT

    std::unique_ptr<Pruefstand> m_stand;

private slots:
    void initTestCase() { m_stand = std::make_unique<Pruefstand>(); }

    // The windows' own texts, written out: they are part of the promise. The
    // messages are written out where they appear.
    void texte_data()
    {
        QTest::addColumn<QString>("gezeigt");
        QTest::addColumn<QString>("text");
        const KVXLoad &w = m_stand->fenster;
        QTest::newRow("window title") << w.windowTitle() << "KVXLoader";
        QTest::newRow("port field") << w.port_nummer->text() << "3";
        QTest::newRow("frame 1") << w.Frame1->title() << "Com-Port";
        QTest::newRow("frame 2") << w.Frame2->title() << "DWQ Update";
        QTest::newRow("button") << w.Upload->text() << "&Update-Datei wählen und senden";
        QTest::newRow("menu Hilfe") << w.Hilfebutton->text() << "Hilfe";
        QTest::newRow("menu Info") << w.Info->text() << "Info";
        QTest::newRow("help title") << Hilfe().windowTitle() << "Hilfe";
        const About about(nullptr);
        QTest::newRow("about title") << about.windowTitle() << "Info";
        QTest::newRow("about name") << about.Label1->text() << "KVXLoader V1.0";
        QTest::newRow("about notice") << about.Label2->text() << "© 2026 KVX Elektronik";
    }

    void texte()
    {
        QFETCH(QString, gezeigt);
        QFETCH(QString, text);
        QCOMPARE(gezeigt, text);
    }

    void startOhnePort()
    {
        Pruefstand p;
        KVXLoad &w = p.fenster;
        w.Form_Load();
        QCOMPARE(p.dialoge.boxen, QStringList{"Portproblem: COM 3 nicht verfügbar !"});
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QCOMPARE(w.minimumSize(), w.maximumSize());
        QCOMPARE(w.port_nummer->text(), QString());
        QCOMPARE(w.Label1->text(), QString());
        QCOMPARE(w.Label3->text(), QString());
        QVERIFY(!w.Upload->isEnabled());
        QVERIFY(w.port_nummer->hasFocus());
        QTest::keyClicks(w.port_nummer, "a1 -.,x2+");
        QCOMPARE(w.port_nummer->text(), QString("12"));
        QTest::keyClick(w.port_nummer, Qt::Key_Backspace);
        QCOMPARE(w.port_nummer->text(), QString("1"));
        // Delete as Windows and xkb deliver it, with the text U+007F: it deletes.
        w.port_nummer->setText("12");
        w.port_nummer->setCursorPosition(0);
        QKeyEvent entf(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier, QStringLiteral("\x7f"));
        QApplication::sendEvent(w.port_nummer, &entf);
        QCOMPARE(w.port_nummer->text(), QString("2"));
    }

    // A number entered (or pasted) and Enter, while a detection on COM 3
    // runs: out of range it goes on; in range the port is reopened.
    void portwahl_data()
    {
        QTest::addColumn<QString>("eingabe");
        QTest::addColumn<QStringList>("boxen");
        QTest::addColumn<QString>("feld");
        QTest::addColumn<bool>("gefunden");
        const QStringList bereich{"KVXLoader: Wert muß zwischen 1 und 20 liegen !"};
        QTest::newRow("0") << "0" << bereich << "" << true;
        QTest::newRow("1") << "1" << QStringList{"Portproblem: COM 1 nicht verfügbar !"} << "" << false;
        QTest::newRow("20") << "20" << QStringList{"Portproblem: COM 20 nicht verfügbar !"} << "" << false;
        QTest::newRow("21") << "21" << bereich << "" << true;
        QTest::newRow("empty") << "" << bereich << "" << true;
        QTest::newRow("2.5 rounds to even") << "2.5" << QStringList{"Portproblem: COM 2 nicht verfügbar !"} << "" << false;
        QTest::newRow("007") << "007" << QStringList() << " 7" << true;
        QTest::newRow("as shown") << " 3" << QStringList() << " 3" << true;
    }

    void portwahl()
    {
        QFETCH(QString, eingabe);
        QFETCH(QStringList, boxen);
        QFETCH(QString, feld);
        QFETCH(bool, gefunden);
        Pruefstand p;
        auto com3 = p.board(3);
        auto com7 = p.board(7);
        p.fenster.Form_Load();
        QCOMPARE(p.fenster.port_nummer->text(), QString(" 3"));
        QCOMPARE(p.fenster.Label1->text(), "Suche DWQ-Bootloader...");
        p.fenster.port_nummer->setText(eingabe);
        QTest::keyClick(p.fenster.port_nummer, Qt::Key_Return);
        QCOMPARE(p.fenster.port_nummer->text(), feld);
        QTRY_COMPARE(p.fenster.Label1->text(),
                     gefunden ? "DWQ-Bootloader gefunden !" : "DWQ-Bootloader nicht gefunden !");
        QCOMPARE(p.dialoge.boxen, boxen);
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
        QCOMPARE(p.dialoge.boxen, QStringList{"Portproblem: COM 3 nicht verfügbar !"});
        QCOMPARE(p.dialoge.erlaeuterungen, QStringList{erlaeuterung.replace("DIR", p.ordner.path())});
    }

    // A port that opens but takes no bit rate: this one has no handle to set it on.
    void portmeldungOhneBitrate()
    {
        Pruefstand p;
        FakeComPort port;
        KVXLoad fenster(port, p.dialoge);
        fenster.Form_Load();
        QCOMPARE(p.dialoge.erlaeuterungen, QStringList{"Versucht: /dev/ttyFAKE3 – lässt sich nicht auf 115200 bit/s "
                                                       "einstellen.\nKeine anderen COM-Ports gefunden."});
    }

    // Ten ticks, then one look at what waits: exactly "AVRB128".
    void erkennung_data()
    {
        QTest::addColumn<QString>("antwort");
        QTest::addColumn<int>("verzoegerungMs");
        QTest::addColumn<bool>("gefunden");
        QTest::newRow("found") << "AVRB128" << 0 << true;
        QTest::newRow("8 bytes") << "AVRB128\r" << 0 << false;
        QTest::newRow("6 bytes") << "AVRB12" << 0 << false;
        QTest::newRow("late") << "AVRB128" << 1500 << false;
    }

    void erkennung()
    {
        QFETCH(QString, antwort);
        QFETCH(int, verzoegerungMs);
        QFETCH(bool, gefunden);
        Pruefstand p;
        kvxsim::PtyBoardOptions optionen;
        optionen.board.queryAnswer = antwort.toStdString();
        optionen.board.queryAnswerDelayMs = verzoegerungMs;
        auto board = p.board(3, optionen);
        QSignalSpy balken(p.fenster.ProgressBar1, &QProgressBar::valueChanged);
        p.fenster.Form_Load();
        QCOMPARE(p.fenster.ProgressBar1->maximum(), 10);
        QTRY_COMPARE(p.fenster.Label1->text(), gefunden ? "DWQ-Bootloader gefunden !" : "DWQ-Bootloader nicht gefunden !");
        QTest::qWait(150);   // and the detection has stopped
        QCOMPARE(fortschritt(balken), QList<int>({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 0}));
        QCOMPARE(p.fenster.Upload->isEnabled(), gefunden);
        QVERIFY(p.dialoge.boxen.isEmpty());
    }

    // The tick count carries over: Enter at tick k ends the detection 10 - k
    // ticks later, after "S" has been sent again.
    void wiederholteErkennung()
    {
        Pruefstand p;
        auto board = p.board(3);
        p.fenster.Form_Load();
        QTRY_COMPARE(p.fenster.Label1->text(), "DWQ-Bootloader gefunden !");
        QSignalSpy balken(p.fenster.ProgressBar1, &QProgressBar::valueChanged);
        p.waehle("3");
        QCOMPARE(p.fenster.Label1->text(), "Suche DWQ-Bootloader...");
        QTRY_VERIFY(p.fenster.ProgressBar1->value() >= 3 || !p.fenster.portauswahl.Timer1.isActive());
        QVERIFY(p.fenster.portauswahl.Timer1.isActive());
        const int k = p.fenster.ProgressBar1->value();
        p.waehle("3");
        QTRY_COMPARE(p.fenster.Label1->text(), "DWQ-Bootloader gefunden !");
        QList<int> erwartet;
        for (int tick = 1; tick <= 10; ++tick) {
            erwartet << tick;
            if (tick == k)
                erwartet << 0;   // Enter
        }
        QCOMPARE(fortschritt(balken), erwartet << 0);
        QCOMPARE(board->received(), std::string("SSS"));

        // The port closed under a running detection: its last tick finds nothing.
        p.waehle("3");
        p.waehle("9");
        QCOMPARE(p.dialoge.boxen, QStringList{"Portproblem: COM 9 nicht verfügbar !"});
        QVERIFY(!p.irda.PortOpen());
        QTRY_COMPARE(p.fenster.Label1->text(), "DWQ-Bootloader nicht gefunden !");
    }

    void verlorenerPort()
    {
        Pruefstand p;
        auto board = p.board(3);
        p.fenster.Form_Load();
        QTRY_COMPARE(p.fenster.Label1->text(), "DWQ-Bootloader gefunden !");
        board->dropLine();
        QTRY_COMPARE(p.dialoge.boxen, QStringList{"Portproblem: COM 3 nicht verfügbar !"});
        QCOMPARE(p.dialoge.erlaeuterungen, QStringList{"Versucht: " + p.ordner.filePath("COM3")
                                                       + " – Verbindung verloren.\nKeine anderen COM-Ports gefunden."});
        QVERIFY(!p.irda.PortOpen());   // a hung-up line left open would keep the loop busy
        QVERIFY(!p.fenster.Upload->isEnabled());
        QCOMPARE(p.fenster.Label1->text(), QString());
    }

    // Windows-1252 is Latin-1 except for the characters it puts in 0x80..0x9F;
    // the five bytes it leaves undefined stay as C1 control characters.
    void windows1252()
    {
        QByteArray jedesByte;
        for (int code = 0; code < 256; ++code)
            jedesByte += char(code);
        const QString eigene = QString::fromUtf8("€\u0081‚ƒ„…†‡ˆ‰Š‹Œ\u008DŽ\u008F\u0090‘’“”•–—˜™š›œ\u009DžŸ");
        QCOMPARE(fromWindows1252(jedesByte), QString::fromLatin1(jedesByte).replace(0x80, 32, eigene));
    }

    // "Hilfe" twice gives one window, not modal, and a window of its own, which
    // the window system does not keep in front of the main window, but which
    // closes with it. The guide is stored as Windows text, CR LF and padded
    // with zero bytes; the window shows it up to the padding, from the top,
    // and keeps the user's place while it stays open.
    void hilfe()
    {
        QFile datei(QStringLiteral(":/hilfe.txt"));
        QVERIFY(datei.open(QIODevice::ReadOnly));
        const QByteArray bytes = datei.readAll();
        QVERIFY(bytes.endsWith(QByteArray(3, '\0')));
        const QByteArray text = bytes.chopped(3);
        QVERIFY(!text.contains('\0'));
        QCOMPARE(text.count('\n'), text.count("\r\n"));
        QCOMPARE(text.count('\r'), text.count("\r\n"));

        Pruefstand p;
        KVXLoad &w = p.fenster;
        w.show();
        w.Hilfebutton->trigger();
        w.Hilfebutton->trigger();
        QList<Hilfe *> hilfen;
        for (QWidget *fenster : QApplication::topLevelWidgets()) {
            if (auto *hilfe = qobject_cast<Hilfe *>(fenster))
                hilfen << hilfe;
        }
        QCOMPARE(hilfen.size(), 1);
        Hilfe &hilfe = *hilfen.first();
        QVERIFY(hilfe.isVisible() && !hilfe.isModal());
        QCOMPARE(hilfe.windowType(), Qt::Window);
        QVERIFY(!hilfe.parentWidget() && !hilfe.windowHandle()->transientParent());
        QCOMPARE(hilfe.Text1->toPlainText(), fromWindows1252(text).replace("\r\n", "\n"));
        QCOMPARE(hilfe.Text1->horizontalScrollBar()->maximum(), 0);   // no line cut off at the right
        QScrollBar *balken = hilfe.Text1->verticalScrollBar();
        QCOMPARE(balken->value(), 0);
        hilfe.Text1->moveCursor(QTextCursor::End);
        balken->setValue(40);
        w.Hilfebutton->trigger();
        QCOMPARE(balken->value(), 40);
        hilfe.close();
        w.Hilfebutton->trigger();
        QCOMPARE(balken->value(), 0);
        QCOMPARE(hilfe.Text1->textCursor().position(), 0);
        w.close();
        QVERIFY(!hilfe.isVisible());
    }

    // The user's locale as gettext reads it, overridden by KVXLOADER_LANG and
    // by the program's own choice; the window, the guide, a message built
    // from pieces and Qt's own buttons all in that language.
    void sprache_data()
    {
        QTest::addColumn<QString>("umgebung");
        QTest::addColumn<QString>("gewuenscht");
        QTest::addColumn<QStringList>("gezeigt");
        const QStringList de{"&Update-Datei wählen und senden", "Update-Anleitung", "COM 7 nicht verfügbar !", "Abbrechen"};
        const QStringList en{"Choose &update file and send", "Update Guide", "COM 7 not available!", "Cancel"};
        QTest::newRow("C") << "LANG=C" << "" << de;
        QTest::newRow("nothing set") << "" << "" << de;
        QTest::newRow("German") << "LANG=de_DE.UTF-8" << "" << de;
        QTest::newRow("English") << "LANG=en_US.UTF-8" << "" << en;
        QTest::newRow("another language") << "LANG=fr_FR.UTF-8" << "" << en;
        QTest::newRow("LANGUAGE, first one we have") << "LANG=de_DE.UTF-8 LANGUAGE=fr:en_GB:de" << "" << en;
        QTest::newRow("LANGUAGE not under C") << "LANG=C.UTF-8 LANGUAGE=en" << "" << de;
        QTest::newRow("LC_MESSAGES beats LANG") << "LANG=en_US.UTF-8 LC_MESSAGES=de_DE.UTF-8" << "" << de;
        QTest::newRow("LC_ALL beats LC_MESSAGES") << "LC_MESSAGES=de_DE.UTF-8 LC_ALL=en_GB.UTF-8" << "" << en;
        QTest::newRow("KVXLOADER_LANG") << "LANG=de_DE.UTF-8 KVXLOADER_LANG=en" << "" << en;
        QTest::newRow("KVXLOADER_LANG unknown") << "LANG=de_DE.UTF-8 KVXLOADER_LANG=fr" << "" << de;
        QTest::newRow("asked for beats all") << "LANG=en_US.UTF-8 KVXLOADER_LANG=en" << "de" << de;
    }

    void sprache()
    {
        QFETCH(QString, umgebung);
        QFETCH(QString, gewuenscht);
        QFETCH(QStringList, gezeigt);
        for (const char *name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG", "KVXLOADER_LANG"})
            qunsetenv(name);
        for (const QString &zuweisung : umgebung.split(' ', Qt::SkipEmptyParts))
            qputenv(zuweisung.section('=', 0, 0).toLatin1(), zuweisung.section('=', 1).toLatin1());
        const auto zurueck = qScopeGuard([] { spracheEinrichten(QStringLiteral("de")); });
        spracheEinrichten(gewuenscht);

        Pruefstand p;
        Hilfe hilfe;
        hilfe.zeigen();
        const QDialogButtonBox knoepfe(QDialogButtonBox::Cancel);
        QCOMPARE(QStringList({p.fenster.Upload->text(), hilfe.Text1->toPlainText().section('\n', 0, 0).trimmed(),
                              Texte::portNichtVerfuegbar(7), knoepfe.buttons().constFirst()->text()}),
                 gezeigt);
        QCOMPARE(hilfe.Text1->horizontalScrollBar()->maximum(), 0);
    }
};

QTEST_MAIN(TestHauptfenster)
#include "tst_hauptfenster.moc"
