// The upload state machine against a scripted port: exact event orders.

#include "fakecomport.h"
#include "fuzz/leitung.h"
#include "testdialoge.h"
#include "core/texte.h"
#include "update/crc32.h"
#include "update/updatedatei.h"
#include "update/uploadablauf.h"
#include "update/uploadanzeige.h"

#include <QTemporaryFile>
#include <QTest>

#include <memory>

namespace {

const QByteArray CR("\r");

struct Anzeige : UploadAnzeige
{
    void setUploadstatus(const QString &text) override { status = text; }
    void setUploadfortschritt(int seite) override { fortschritt << seite; }
    void setSeitenzahl(int seiten) override { seitenzahl = seiten; }
    void setUploadEnabled(bool enabled) override { uploadEnabled = enabled; }

    QString status;
    QList<int> fortschritt;
    int seitenzahl = 16;
    bool uploadEnabled = true;
};

// One upload bench: the state machine wired to a scripted port.
struct Stand
{
    Stand()
    {
        crc.CRCInit(Crc32::standardPolynomial);
        QObject::connect(&port, &ComPort::OnComm, [this] { upload.irda_OnComm(); });
    }

    // Clicks Upload with an image of `bytes` pseudo-random bytes.
    void starte(qsizetype bytes)
    {
        QByteArray inhalt(bytes, '\0');
        for (qsizetype i = 0; i < bytes; ++i)
            inhalt[i] = char(i * 7 + i / 251);
        QVERIFY(bild.open());
        bild.resize(0);
        bild.write(inhalt);
        bild.flush();
        dialoge.dateien.push_back(bild.fileName());
        port.gesendet.clear();
        upload.Upload_Click();
    }

    // Hands over the rest of the current page on send events.
    void seiteAbgeben()
    {
        while (port.SThreshold() > 0)
            port.sendepufferLeer();
    }

    QByteArray alles() const
    {
        QByteArray bytes;
        for (const QByteArray &b : port.gesendet)
            bytes += b;
        return bytes;
    }

    FakeComPort port;
    TestDialoge dialoge;
    Anzeige anzeige;
    Crc32 crc;
    Updatedatei datei{crc, dialoge, anzeige};
    Uploadablauf upload{port, datei, anzeige, dialoge};
    QTemporaryFile bild;
};

} // namespace

class TestUploadablauf : public QObject
{
    Q_OBJECT

    std::unique_ptr<Stand> t;

private slots:
    void init() { t = std::make_unique<Stand>(); }

    void einSeite()
    {
        t->starte(100);
        QCOMPARE(t->port.gesendet, QList<QByteArray>{"P"});
        QCOMPARE(t->anzeige.status, Texte::hochladen);
        QVERIFY(!t->anzeige.uploadEnabled);
        QCOMPARE(t->port.RThreshold(), qint16(1));

        t->port.empfange("X");                     // any answer to "P"
        t->port.empfange(CR);
        QCOMPARE(t->port.gesendet.last(), QByteArray("A\0\0", 3));
        t->port.empfange("anything");              // the address answer is not examined
        QCOMPARE(t->upload.uploadstatus, quint8(Uploadablauf::warte_letzte_seite));
        QCOMPARE(t->port.gesendet.last().size(), 513);
        t->seiteAbgeben();
        QCOMPARE(t->port.gesendet.size(), 4 + 15);  // "#" with piece 0, then 15 pieces
        for (int i = 4; i < 19; ++i)
            QCOMPARE(t->port.gesendet.at(i).size(), 512);

        t->port.empfange(CR);
        QCOMPARE(t->port.gesendet.last(), QByteArray("$"));
        QCOMPARE(t->anzeige.status, Texte::pruefen);
        QCOMPARE(t->port.RThreshold(), qint16(4));
        t->port.empfange(t->datei.crcwert.left(2));   // fewer than four bytes raise nothing
        QCOMPARE(t->upload.uploadstatus, quint8(Uploadablauf::warte_crc));
        t->port.empfange(t->datei.crcwert.mid(2));
        QCOMPARE(t->anzeige.status, Texte::updateErfolgreich);
        QVERIFY(t->anzeige.uploadEnabled);

        QCOMPARE(t->alles(), leitung(t->datei.dateipuffer));
        QCOMPARE(t->alles().size(), 8199);
        QCOMPARE(t->anzeige.fortschritt, (QList<int>{0, 1, 0}));
        QVERIFY(t->dialoge.meldungen.isEmpty());

        t->port.empfange(CR + "ZZZ");              // after the end (threshold still 4): CR is ignored
        QVERIFY(t->dialoge.meldungen.isEmpty());
        t->port.empfange("?abc");                  // anything else is an error
        QCOMPARE(t->dialoge.meldungen, QStringList{Texte::fehlerAufgetreten});
        QCOMPARE(t->upload.uploadstatus, quint8(Uploadablauf::upload_fertig));
    }

    void fuenfzehnSeitenInOrdnung()
    {
        t->starte(15 * 8192);
        t->port.empfange(CR);
        t->port.empfange(CR);
        for (int seite = 1; seite <= 15; ++seite) {
            t->port.empfange(CR);
            QCOMPARE(t->upload.uploadstatus, quint8(seite < 15 ? Uploadablauf::warte_seite
                                                            : Uploadablauf::warte_letzte_seite));
            t->seiteAbgeben();
        }
        t->port.empfange(CR);
        t->port.empfange(t->datei.crcwert + CR);      // a fifth character spoils the answer
        QCOMPARE(t->anzeige.status, Texte::updateFehlgeschlagen);
        QCOMPARE(t->alles(), leitung(t->datei.dateipuffer));
        QList<int> fortschritt{0};
        for (int s = 1; s <= 15; ++s)
            fortschritt << s;
        QCOMPARE(t->anzeige.fortschritt, fortschritt << 0);
    }

    void antwortOhneCRHaeltDenAblaufAn()
    {
        t->starte(8192);
        t->port.empfange(CR);
        t->port.empfange("");                      // empty: no event at all
        t->port.empfange("x\r");                   // state 2: not CR → error box, nothing sent
        QCOMPARE(t->dialoge.meldungen.size(), 1);
        QCOMPARE(t->upload.uploadstatus, quint8(Uploadablauf::warte_loeschen));
        QCOMPARE(t->port.gesendet.size(), 2);
        t->port.empfange(CR + "more");             // several characters: only the first counts
        QCOMPARE(t->upload.uploadstatus, quint8(Uploadablauf::warte_seite));
        t->port.empfange(CR);
        t->seiteAbgeben();
        t->port.empfange("?");                     // state 4
        QCOMPARE(t->dialoge.meldungen.size(), 2);
        QCOMPARE(t->anzeige.status, Texte::hochladen);
        t->port.empfange(CR);
        QCOMPARE(t->port.gesendet.last(), QByteArray("$"));
    }

    void frueheAntwortUnterbrichtDieSeiteNicht()
    {
        t->starte(2 * 8192);
        t->port.empfange(CR);
        t->port.empfange(CR);
        t->port.empfange(CR);                      // page 1 starts
        t->port.sendepufferLeer();
        t->port.empfange(CR);                      // too early: discarded
        QCOMPARE(t->upload.seite, 1);
        t->seiteAbgeben();
        t->port.empfange(CR);                      // now page 2
        QCOMPARE(t->upload.seite, 2);
        t->seiteAbgeben();
        t->port.empfange(CR);
        t->port.empfange(t->datei.crcwert);
        QCOMPARE(t->anzeige.status, Texte::updateErfolgreich);
        QCOMPARE(t->alles().size(), 6 + 2 * 8193);
    }

    void portverlustUndNeueSucheBringenZurRuhe()
    {
        t->starte(8192);
        t->port.empfange(CR);
        t->upload.portVerloren();
        QCOMPARE(t->anzeige.status, Texte::updateFehlgeschlagen);
        QCOMPARE(t->anzeige.fortschritt.last(), 0);
        QVERIFY(!t->anzeige.uploadEnabled);
        QCOMPARE(t->upload.uploadstatus, quint8(Uploadablauf::kein_upload));
        QCOMPARE(t->port.RThreshold(), qint16(0));

        t->starte(8192);
        t->port.empfange(CR);
        t->port.empfange(CR);
        t->port.empfange(CR);                      // mid-page
        t->upload.zurRuhe();
        QCOMPARE(t->anzeige.status, Texte::updateAbgebrochen);
        QCOMPARE(t->port.SThreshold(), qint16(0));
        t->port.empfange("AVRB128");               // the detection's answer stays for it
        QCOMPARE(t->port.eingang, QByteArray("AVRB128"));

        t->anzeige.status = Texte::updateErfolgreich;
        t->upload.uploadstatus = Uploadablauf::upload_fertig;
        t->upload.zurRuhe();                       // a finished upload keeps its result
        QCOMPARE(t->anzeige.status, Texte::updateErfolgreich);
        QVERIFY(t->dialoge.meldungen.isEmpty());
    }

    void vorbereitungScheitertOhneFolgen()
    {
        t->anzeige.uploadEnabled = true;
        t->upload.Upload_Click();                  // Cancel
        QCOMPARE(t->dialoge.meldungen, QStringList{Texte::dateiNichtGelesen});
        QVERIFY(t->port.gesendet.isEmpty());
        QVERIFY(t->anzeige.uploadEnabled);
        QCOMPARE(t->anzeige.status, QString());
        QCOMPARE(t->upload.uploadstatus, quint8(Uploadablauf::kein_upload));
    }
};

QTEST_GUILESS_MAIN(TestUploadablauf)
#include "tst_uploadablauf.moc"
