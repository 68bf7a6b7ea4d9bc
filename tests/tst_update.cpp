// Whole updates through the real window, the real serial port and the
// simulated board on a pseudo-terminal: clean ones, faults of the board, the
// line and the user's timing, and the way back to a clean update after each.

#include "bild.h"
#include "prueffenster.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

namespace {

QByteArray empfangen(const kvxsim::PtyBoard &board)
{
    return QByteArray::fromStdString(board.received());
}

QByteArray flash(const kvxsim::PtyBoard &board)
{
    const std::vector<std::uint8_t> inhalt = board.flash();
    return QByteArray(reinterpret_cast<const char *>(inhalt.data()), qsizetype(inhalt.size()));
}

// The detection's "S" and a clean upload of `bild` up to and including step
// `schritt`: "P", "e", "A", "#1", "#2" or "$".
QByteArray bisSchritt(const QByteArray &bild, const QString &schritt)
{
    const QByteArray alles = "S" + leitung(bild);
    if (schritt.startsWith('#'))
        return alles.left(6 + schritt.mid(1).toInt() * 8193);
    return alles.left(schritt == "P" ? 2 : schritt == "e" ? 3 : schritt == "A" ? 6 : alles.size());
}

struct Update : Pruefstand
{
    // A new file of `bytes` bytes, unlike every one before, and a click on Upload.
    void klicke(qsizetype bytes)
    {
        static quint32 dateinummer = 0;
        const QByteArray inhalt = muster(bytes, ++dateinummer);
        bild = aufSeitenGefuellt(inhalt);
        klicke(inhalt, QStringLiteral("bild %1.dwq").arg(dateinummer));
    }

    // A file `name` of these bytes, and a click on Upload.
    void klicke(const QByteArray &inhalt, const QString &name)
    {
        QFile datei(ordner.filePath(name));
        QVERIFY(datei.open(QIODevice::WriteOnly) && datei.write(inhalt) == inhalt.size());
        datei.close();
        dialoge.dateien.push_back(datei.fileName());
        fenster.Upload->click();
    }

    void starte(qsizetype bytes)
    {
        fenster.Form_Load();
        QTRY_COMPARE(fenster.Label1->text(), "DWQ-Bootloader gefunden !");
        klicke(bytes);
    }

    // Enter in the port field finds the bootloader on `board`, and a clean
    // update of 15 pages goes through.
    void zurueck(const kvxsim::PtyBoard &board)
    {
        const qsizetype ab = empfangen(board).size();
        const QStringList boxenVorher = dialoge.boxen;
        waehle("3");
        QTRY_COMPARE(fenster.Label1->text(), "DWQ-Bootloader gefunden !");
        klicke(15 * 8192);
        QTRY_COMPARE(fenster.Label3->text(), "Update erfolgreich ausgeführt !");
        QVERIFY(fenster.Upload->isEnabled());
        QCOMPARE(fenster.ProgressBar2->maximum(), 15);
        QCOMPARE(empfangen(board).mid(ab), "S" + leitung(bild));
        QCOMPARE(flash(board), bild);
        QCOMPARE(dialoge.boxen, boxenVorher);
    }

    QByteArray bild;   // the image of the last click, padded by the test
};

} // namespace

Q_DECLARE_METATYPE(kvxsim::PtyBoardOptions)

class TestUpdate : public QObject
{
    Q_OBJECT

private slots:
    // The board stops or fails at a step of an upload of two pages, or the
    // line drops there: what the board received, and what the user sees.
    void stoerung_data()
    {
        QTest::addColumn<kvxsim::PtyBoardOptions>("optionen");
        QTest::addColumn<QString>("schritt");
        QTest::addColumn<QString>("status");
        QTest::addColumn<int>("fortschritt");
        QTest::addColumn<QStringList>("boxen");
        const QStringList keine, portweg{"Portproblem: COM 3 nicht verfügbar !"};
        const auto mit = [](auto einstellen) {
            kvxsim::PtyBoardOptions o;
            einstellen(o.board);
            return o;
        };
        QTest::newRow("silent after page 1") << mit([](auto &b) { b.silentFrom = "#1"; }) << "#1"
                                             << "Hochladen..." << 1 << keine;
        QTest::newRow("no CR after the last page") << mit([](auto &b) { b.noCrAfter = "#2"; }) << "#2"
                                                   << "Hochladen..." << 2
                                                   << QStringList{"KVXLoader: Es ist ein Fehler aufgetreten !"};
        QTest::newRow("silent after $") << mit([](auto &b) { b.silentFrom = "$"; }) << "$" << "Prüfen..."
                                        << 0 << keine;
        QTest::newRow("wrong CRC") << mit([](auto &b) { b.wrongCrc = true; }) << "$"
                                   << "Update fehlgeschlagen !" << 0 << keine;
        QTest::newRow("line drops at page 1") << mit([](auto &b) { b.dropAt = "#1"; }) << "#1"
                                              << "Update fehlgeschlagen !" << 0 << portweg;
    }

    void stoerung()
    {
        QFETCH(kvxsim::PtyBoardOptions, optionen);
        QFETCH(QString, schritt);
        QFETCH(QString, status);
        QFETCH(int, fortschritt);
        QFETCH(QStringList, boxen);
        Update p;
        auto board = p.board(3, optionen);
        p.starte(8192 + 100);
        const QByteArray erwartet = bisSchritt(p.bild, schritt);
        QTRY_COMPARE(empfangen(*board).size(), erwartet.size());
        QTRY_COMPARE(p.fenster.Label3->text(), status);
        QTest::qWait(200);   // and nothing more happens
        QCOMPARE(empfangen(*board), erwartet);
        QCOMPARE(p.fenster.Label3->text(), status);
        QCOMPARE(p.fenster.ProgressBar2->value(), fortschritt);
        QCOMPARE(p.dialoge.boxen, boxen);
        QCOMPARE(p.fenster.Upload->isEnabled(), status == "Update fehlgeschlagen !" && boxen.isEmpty());

        if (!optionen.board.dropAt.empty()) {
            // While the line is gone, Enter finds no port.
            p.waehle("3");
            QCOMPARE(p.dialoge.boxen, QStringList(2, "Portproblem: COM 3 nicht verfügbar !"));
            QVERIFY(board->reconnect());
            p.zurueck(*board);
            return;
        }
        // Restarted, the bootloader answers "S" again; a running upload must
        // not take that for its own answer.
        auto neugestartet = p.board(3);
        p.waehle("3");
        QCOMPARE(p.fenster.Label3->text(), status == "Update fehlgeschlagen !" ? status : "Update abgebrochen !");
        p.zurueck(*neugestartet);
    }

    // An ELF file's loadable bytes go where their physical address says; a
    // damaged HEX file is refused, naming the line, and nothing is sent.
    void formatdatei()
    {
        const QByteArray roh = muster(8192 + 100, 7);
        const QByteArray datei = elf("elf32-big", "SECTIONS { .data 0x9000 : AT(0x2000) { *(.data) } }", roh);
        if (datei.isEmpty())
            QSKIP("objcopy and ld from GNU binutils are not installed");
        Update p;
        auto board = p.board(3);
        p.fenster.Form_Load();
        QTRY_COMPARE(p.fenster.Label1->text(), QString("DWQ-Bootloader gefunden !"));
        p.klicke(datei, "fw.elf");
        QTRY_COMPARE(p.fenster.Label3->text(), QString("Update erfolgreich ausgeführt !"));
        QCOMPARE(flash(*board), (QByteArray(0x2000, '\xFF') + roh).leftJustified(15 * 8192, '\xFF'));

        const QByteArray bisher = empfangen(*board);
        p.klicke(":0100000041BE\n:0100010042BD\n:00000001FF\n", "kaputt.hex");
        QCOMPARE(p.dialoge.boxen, QStringList{"KVXLoader: Die Datei wurde nicht gelesen !"});
        QCOMPARE(p.dialoge.erlaeuterungen, QStringList{"Zeile 2: Prüfsumme falsch."});
        QTest::qWait(100);
        QCOMPARE(empfangen(*board), bisher);
    }
};

QTEST_MAIN(TestUpdate)
#include "tst_update.moc"
