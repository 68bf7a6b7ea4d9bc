// Whole updates through the real window, the real serial port and the
// simulated board on a pseudo-terminal.

#include "fuzz/leitung.h"
#include "prueffenster.h"
#include "core/texte.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

namespace {

// The board's flash after an update of `bild`: the padded image, then erased flash.
std::vector<std::uint8_t> erwarteterFlash(const QByteArray &bild)
{
    std::vector<std::uint8_t> flash(kvxsim::BoardProtocol::kFlashSize, 0xFF);
    std::copy(bild.begin(), bild.end(), flash.begin());
    return flash;
}

} // namespace

class TestUpdate : public QObject
{
    Q_OBJECT

    // Starts the window on COM3, waits for the bootloader and clicks Upload
    // with a file of `bytes` bytes.
    QByteArray starte(Pruefstand &p, qsizetype bytes)
    {
        p.fenster.Form_Load();
        p.fenster.show();
        [&] { QTRY_COMPARE(p.fenster.Label1->text(), Texte::bootloaderGefunden); }();
        return klicke(p, bytes);
    }

    QByteArray klicke(Pruefstand &p, qsizetype bytes)
    {
        QByteArray inhalt(bytes, '\0');
        for (qsizetype i = 0; i < bytes; ++i)
            inhalt[i] = char((i * 131) ^ (i >> 9));
        const QString pfad = p.ordner.filePath(QString("bild %1 Größe.dwq").arg(bytes));
        QFile datei(pfad);
        datei.open(QIODevice::WriteOnly);
        datei.write(inhalt);
        datei.close();
        p.dialoge.dateien.push_back(pfad);
        QTest::mouseClick(p.fenster.Upload, Qt::LeftButton);
        return inhalt;
    }

private slots:
    void vollstaendigesUpdate_data()
    {
        QTest::addColumn<int>("bytes");
        QTest::newRow("1 page") << 100;
        QTest::newRow("2 pages") << 8193;
        QTest::newRow("15 pages") << 15 * 8192;
    }

    void vollstaendigesUpdate()
    {
        QFETCH(int, bytes);
        Pruefstand p;
        auto board = p.board(3);
        starte(p, bytes);
        QCOMPARE(p.fenster.Label3->text(), Texte::hochladen);
        QVERIFY(!p.fenster.Upload->isEnabled());
        QTRY_COMPARE(p.fenster.Label3->text(), Texte::updateErfolgreich);
        QVERIFY(p.fenster.Upload->isEnabled());
        QCOMPARE(p.fenster.ProgressBar2->value(), 0);
        QCOMPARE(p.fenster.ProgressBar2->maximum(), (bytes + 8191) / 8192);

        const QByteArray bild = p.fenster.datei.dateipuffer;
        QCOMPARE(board->flash(), erwarteterFlash(bild));
        QCOMPARE(QByteArray::fromStdString(board->received()), "S" + leitung(bild));
        QVERIFY(p.dialoge.meldungen.isEmpty());
    }

    void zweitesBoardNachDemErsten()
    {
        Pruefstand p;
        auto erstes = p.board(3);
        starte(p, 8192);
        QTRY_COMPARE(p.fenster.Label3->text(), Texte::updateErfolgreich);

        auto zweites = p.board(4);
        p.waehle("4");
        QCOMPARE(p.fenster.Label3->text(), Texte::updateErfolgreich);  // the result stays
        QTRY_COMPARE(p.fenster.Label1->text(), Texte::bootloaderGefunden);
        klicke(p, 20000);
        QTRY_COMPARE(p.fenster.Label3->text(), Texte::updateErfolgreich);
        QCOMPARE(zweites->flash(), erwarteterFlash(p.fenster.datei.dateipuffer));
        QVERIFY(p.dialoge.meldungen.isEmpty());
    }
};

QTEST_MAIN(TestUpdate)
#include "tst_update.moc"
