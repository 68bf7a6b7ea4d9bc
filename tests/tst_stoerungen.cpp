// Faults of the board, the line and the user's timing, played by the
// simulated board on a pseudo-terminal against the real window. Under each:
// the program goes on, the board receives only whole pages in order, success
// is shown only when the board holds the image, and Enter in the port field
// leads back to a clean update.

#include "fuzz/leitung.h"
#include "prueffenster.h"
#include "core/texte.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRandomGenerator>

#include <algorithm>

namespace {

// Most cases send a full page and a short one.
constexpr qsizetype zweiSeiten = 8192 + 100;

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
    static const QHash<QString, qsizetype> befehlsenden = {{"P", 2}, {"e", 3}, {"A", 6}};
    return alles.left(befehlsenden.value(schritt, alles.size()));
}

// A new update file of `bytes` random bytes for the next file dialog, and a
// click on Upload. Each file differs from the one before, so that nothing the
// board kept from an earlier upload can pass for the new image.
void klicke(Pruefstand &p, qsizetype bytes)
{
    static quint32 dateinummer = 0;
    QByteArray bild(bytes, Qt::Uninitialized);
    QRandomGenerator zufall(++dateinummer);
    for (char &b : bild)
        b = char(zufall.bounded(256));
    const QString pfad = p.ordner.filePath(QStringLiteral("bild %1.dwq").arg(dateinummer));
    QFile datei(pfad);
    QVERIFY(datei.open(QIODevice::WriteOnly) && datei.write(bild) == bytes);
    datei.close();
    p.dialoge.dateien.push_back(pfad);
    p.fenster.Upload->click();
}

void starte(Pruefstand &p, qsizetype bytes)
{
    p.fenster.Form_Load();
    QTRY_COMPARE(p.fenster.Label1->text(), Texte::bootloaderGefunden);
    klicke(p, bytes);
}

// The promise: what the board received from byte `ab` on is a beginning of a
// clean upload, so no page was cut short or came out of order; and success
// is shown only when the board received all of it and holds the image.
void versprechenGehalten(const Pruefstand &p, const kvxsim::PtyBoard &board, qsizetype ab = 0)
{
    const QByteArray bild = p.fenster.datei.dateipuffer;
    const QByteArray sauber = "S" + leitung(bild);
    const QByteArray erhalten = empfangen(board).mid(ab);
    const auto abweichung = std::mismatch(erhalten.begin(), erhalten.end(), sauber.begin(), sauber.end());
    QVERIFY2(abweichung.first == erhalten.end(),
             qPrintable(QStringLiteral("the board received a byte that a clean upload does not send at %1")
                            .arg(abweichung.first - erhalten.begin())));
    if (p.fenster.Label3->text() == Texte::updateErfolgreich) {
        QCOMPARE(erhalten, sauber);
        QCOMPARE(flash(board).left(bild.size()), bild);
    }
}

// Waits until the upload stands still: no page is being handed over and
// nothing new has reached the board for a while.
void abwarten(const Pruefstand &p, const kvxsim::PtyBoard &board)
{
    std::size_t zuletzt = 0;
    for (int i = 0; i < 60 && (i == 0 || board.received().size() != zuletzt || p.irda.SThreshold() > 0); ++i) {
        zuletzt = board.received().size();
        QTest::qWait(100);
    }
}

// Enter in the port field: the upload comes to rest, a running one shows
// that it was called off, the bootloader on `board` is found, and a clean
// update goes through.
void zurueckZumArbeitsstand(Pruefstand &p, const kvxsim::PtyBoard &board)
{
    const QString ergebnis = p.fenster.upload.laeuft() ? Texte::updateAbgebrochen : p.fenster.Label3->text();
    const qsizetype ab = empfangen(board).size();
    p.dialoge.meldungen.clear();
    p.waehle("3");
    QCOMPARE(p.fenster.upload.uploadstatus, quint8(Uploadablauf::kein_upload));
    QCOMPARE(p.fenster.Label3->text(), ergebnis);
    QTRY_COMPARE(p.fenster.Label1->text(), Texte::bootloaderGefunden);
    klicke(p, zweiSeiten);
    QTRY_COMPARE_WITH_TIMEOUT(p.fenster.Label3->text(), Texte::updateErfolgreich, 15000);
    versprechenGehalten(p, board, ab);
    QVERIFY(p.dialoge.meldungen.isEmpty());
}

// A board that reads the line slowly enough to be caught in the middle of a page.
kvxsim::PtyBoardOptions langsamLesend()
{
    kvxsim::PtyBoardOptions optionen;
    optionen.bytesPerSecond = 16000;
    return optionen;
}

// Starts an upload of two pages and waits until the first is half way there.
void bisMittenInDieErsteSeite(Pruefstand &p, const kvxsim::PtyBoard &board)
{
    starte(p, zweiSeiten);
    QTRY_VERIFY(board.received().size() > 6 + 4000);
}

// What the user sees when the line is lost during an upload.
void leitungVerlorenAngezeigt(const Pruefstand &p)
{
    QTRY_COMPARE(p.dialoge.meldungen, QStringList{"COM 3 nicht verfügbar !"});
    QCOMPARE(p.dialoge.titel_, QStringList{"Portproblem"});
    QCOMPARE(p.fenster.Label3->text(), Texte::updateFehlgeschlagen);
    QCOMPARE(p.fenster.ProgressBar2->value(), 0);
    QCOMPARE(p.fenster.upload.uploadstatus, quint8(Uploadablauf::kein_upload));
    QVERIFY(!p.fenster.Upload->isEnabled());
    QVERIFY(!p.irda.PortOpen());
}

} // namespace

Q_DECLARE_METATYPE(kvxsim::PtyBoardOptions)

class TestStoerungen : public QObject
{
    Q_OBJECT

private slots:
    // A board that stops answering at one step, or answers without the CR
    // that step needs: the upload waits there with the user. Restarted, the
    // bootloader answers the detection again, and the upload must not take
    // that answer for its own.
    void stehenGeblieben_data()
    {
        QTest::addColumn<bool>("stumm");
        QTest::addColumn<QString>("schritt");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("anzeige");
        QTest::addColumn<int>("fortschritt");
        QTest::newRow("silent after P") << true << "P" << 1 << Texte::hochladen << 0;
        QTest::newRow("silent after e") << true << "e" << 2 << Texte::hochladen << 0;
        QTest::newRow("silent after A") << true << "A" << 3 << Texte::hochladen << 0;
        QTest::newRow("silent after page 1") << true << "#1" << 3 << Texte::hochladen << 1;
        QTest::newRow("silent after the last page") << true << "#2" << 4 << Texte::hochladen << 2;
        QTest::newRow("silent after $") << true << "$" << 5 << Texte::pruefen << 0;
        QTest::newRow("no CR after e") << false << "e" << 2 << Texte::hochladen << 0;
        QTest::newRow("no CR after the last page") << false << "#2" << 4 << Texte::hochladen << 2;
    }

    void stehenGeblieben()
    {
        QFETCH(bool, stumm);
        QFETCH(QString, schritt);
        QFETCH(int, status);
        QFETCH(QString, anzeige);
        QFETCH(int, fortschritt);
        Pruefstand p;
        kvxsim::PtyBoardOptions optionen;
        (stumm ? optionen.board.silentFrom : optionen.board.noCrAfter) = schritt.toStdString();
        auto board = p.board(3, optionen);
        starte(p, zweiSeiten);
        const QByteArray erwartet = bisSchritt(p.fenster.datei.dateipuffer, schritt);
        QTRY_COMPARE(empfangen(*board).size(), erwartet.size());
        abwarten(p, *board);
        QCOMPARE(empfangen(*board), erwartet);
        QCOMPARE(p.fenster.upload.uploadstatus, quint8(status));
        QCOMPARE(p.fenster.Label3->text(), anzeige);
        QCOMPARE(p.fenster.ProgressBar2->value(), fortschritt);
        QVERIFY(!p.fenster.Upload->isEnabled());
        QCOMPARE(p.dialoge.meldungen, stumm ? QStringList() : QStringList{Texte::fehlerAufgetreten});
        QCOMPARE(p.dialoge.titel_, stumm ? QStringList() : QStringList{Texte::programmTitel});

        auto neugestartet = p.board(3);
        zurueckZumArbeitsstand(p, *neugestartet);
    }

    // A wrong CRC, a right one with a byte after it, bytes from nowhere, and
    // answers that come before the page is all there. Noise may well be taken
    // for an answer where any answer will do: where no result is given, only
    // the promise is judged.
    void fehlerhaftesBoard_data()
    {
        QTest::addColumn<kvxsim::PtyBoardOptions>("optionen");
        QTest::addColumn<QString>("ergebnis");
        kvxsim::PtyBoardOptions o;
        o.board.wrongCrc = true;
        QTest::newRow("wrong CRC") << o << Texte::updateFehlgeschlagen;
        o = {};
        o.board.crcExtraByte = true;
        QTest::newRow("CRC followed by CR") << o << Texte::updateFehlgeschlagen;
        for (const unsigned startwert : {1u, 3u, 5u}) {
            o = {};
            o.board.noiseSeed = startwert;
            o.board.noiseCount = int(2 * startwert * startwert);
            o.board.noiseSpan = 1 + 6 + 2 * 8193;
            QTest::addRow("%d noise bytes", o.board.noiseCount) << o << QString();
        }
        for (const int bytes : {0, 4096, 8191}) {
            o = {};
            o.board.earlyAnswerInPage = bytes;
            QTest::addRow("answer after %d page bytes", bytes) << o << QString();
        }
    }

    void fehlerhaftesBoard()
    {
        QFETCH(kvxsim::PtyBoardOptions, optionen);
        QFETCH(QString, ergebnis);
        Pruefstand p;
        auto board = p.board(3, optionen);
        starte(p, zweiSeiten);
        if (!ergebnis.isEmpty())
            QTRY_COMPARE(p.fenster.Label3->text(), ergebnis);
        abwarten(p, *board);
        versprechenGehalten(p, *board);
        const QString angezeigt = p.fenster.Label3->text();
        if (ergebnis.isEmpty()) {
            QVERIFY(QStringList({Texte::hochladen, Texte::pruefen, Texte::updateErfolgreich, Texte::updateFehlgeschlagen})
                        .contains(angezeigt));
            qInfo("%s, %d error boxes", qPrintable(angezeigt), int(p.dialoge.meldungen.size()));
        } else {
            QCOMPARE(empfangen(*board), "S" + leitung(p.fenster.datei.dateipuffer));
            QVERIFY(p.fenster.Upload->isEnabled());
            QVERIFY(p.dialoge.meldungen.isEmpty());
        }

        auto ohneFehler = p.board(3);
        zurueckZumArbeitsstand(p, *ohneFehler);
    }

    // The line drops where the board would answer, or in the middle of a
    // page. While it is gone, Enter finds no port; when it is back, Enter
    // finds the bootloader.
    void leitungWeg_data()
    {
        QTest::addColumn<QString>("schritt");
        for (const char *schritt : {"P", "e", "A", "#1", "#2", "$"})
            QTest::newRow(schritt) << schritt;
        QTest::newRow("in the middle of page 1") << QString();
    }

    void leitungWeg()
    {
        QFETCH(QString, schritt);
        Pruefstand p;
        kvxsim::PtyBoardOptions optionen = schritt.isEmpty() ? langsamLesend() : kvxsim::PtyBoardOptions();
        optionen.board.dropAt = schritt.toStdString();
        auto board = p.board(3, optionen);
        if (schritt.isEmpty()) {
            bisMittenInDieErsteSeite(p, *board);
            board->dropLine();
        } else {
            starte(p, zweiSeiten);
        }
        leitungVerlorenAngezeigt(p);
        if (!schritt.isEmpty())
            QCOMPARE(empfangen(*board), bisSchritt(p.fenster.datei.dateipuffer, schritt));
        versprechenGehalten(p, *board);

        p.waehle("3");
        QCOMPARE(p.dialoge.meldungen, QStringList(2, "COM 3 nicht verfügbar !"));
        QCOMPARE(p.fenster.port_nummer->text(), QString());
        QVERIFY(board->reconnect());
        zurueckZumArbeitsstand(p, *board);
    }

    // Enter while a page is on its way: the upload stops, the page handed
    // over reaches the board whole, and the board's late answer to it may
    // spoil the first detection; the next Enter finds the bootloader.
    void enterWaehrendEinerSeite()
    {
        Pruefstand p;
        auto board = p.board(3, langsamLesend());
        bisMittenInDieErsteSeite(p, *board);
        p.waehle("3");
        QCOMPARE(p.fenster.Label3->text(), Texte::updateAbgebrochen);
        QTRY_COMPARE(empfangen(*board), bisSchritt(p.fenster.datei.dateipuffer, "#1") + "S");
        QTRY_VERIFY(!p.fenster.portauswahl.Timer1.isActive());
        zurueckZumArbeitsstand(p, *board);
    }

    // A board at the speed of the real line that takes its time to write
    // each page: the upload simply waits.
    void langsamesBoard()
    {
        Pruefstand p;
        kvxsim::PtyBoardOptions optionen;
        optionen.bytesPerSecond = 11520;
        optionen.flashWriteMs = 400;
        auto board = p.board(3, optionen);
        starte(p, zweiSeiten);
        const auto seiteEins = std::size_t(bisSchritt(p.fenster.datei.dateipuffer, "#1").size());
        QTRY_VERIFY(board->received().size() >= seiteEins);   // and the board writes it
        QCOMPARE(p.fenster.Label3->text(), Texte::hochladen);
        QCOMPARE(p.fenster.ProgressBar2->value(), 1);
        QTRY_COMPARE_WITH_TIMEOUT(p.fenster.Label3->text(), Texte::updateErfolgreich, 15000);
        versprechenGehalten(p, *board);
        QVERIFY(p.dialoge.meldungen.isEmpty());
        zurueckZumArbeitsstand(p, *board);
    }
};

QTEST_MAIN(TestStoerungen)
#include "tst_stoerungen.moc"
