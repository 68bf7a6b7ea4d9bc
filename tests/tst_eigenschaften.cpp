// Property tests of the parts that take outside input: the port field's
// number reading and the upload state machine, each fed a few thousand
// seeded random inputs. A failure names its seed; KVX_SEED=<seed> starts
// the run there. The fuzzer in fuzz/ drives the same checks for longer.

#include "fuzz/eigenschaften.h"

#include <QTest>

#include <random>

namespace {

quint32 ersterStartwert()
{
    return qEnvironmentVariableIsSet("KVX_SEED") ? quint32(qEnvironmentVariable("KVX_SEED").toUInt())
                                                 : 20261206u;
}

QByteArray zufallsbytes(quint32 startwert, int hoechstens)
{
    std::mt19937 zufall(startwert);
    QByteArray bytes(int(zufall() % quint32(hoechstens + 1)), Qt::Uninitialized);
    for (char &b : bytes)
        b = char(zufall());
    return bytes;
}

// The first of `anzahl` random inputs of at most `hoechstens` bytes, one
// seed after another, that breaks the check, with its seed; or nothing.
template<typename Pruefung>
QString ersterFehler(int anzahl, int hoechstens, Pruefung pruefung)
{
    const quint32 erster = ersterStartwert();
    for (int i = 0; i < anzahl; ++i) {
        const quint32 startwert = erster + quint32(i);
        const QString fehler = pruefung(zufallsbytes(startwert, hoechstens));
        if (!fehler.isEmpty())
            return QStringLiteral("KVX_SEED=%1: %2").arg(startwert).arg(fehler);
    }
    return {};
}

} // namespace

class TestEigenschaften : public QObject
{
    Q_OBJECT

private slots:
    void zahlenwertJedesTextes()
    {
        const QString fehler = ersterFehler(4000, 48, [](const QByteArray &bytes) {
            Steuerung s(bytes);
            return Zahlenpruefung::jederText(Zahlenpruefung::textAus(s));
        });
        QVERIFY2(fehler.isEmpty(), qPrintable(fehler));
    }

    void zahlenwertWieDieCBibliothek()
    {
        const QString fehler = ersterFehler(6000, 64, [](const QByteArray &bytes) {
            Steuerung s(bytes);
            return Zahlenpruefung::wohlgeformt(s);
        });
        QVERIFY2(fehler.isEmpty(), qPrintable(fehler));
    }

    // Just beyond a double, and texts far longer than anyone types.
    void zahlenwertAnDenGrenzen_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("wert");
        QTest::newRow("longest text of the field") << "0." + QString(32757, '0') + "1e32760" << 100.0;
        QTest::newRow("rounding decided far behind") << "9007199254740993." + QString(2000, '0') + "1"
                                                     << 9007199254740994.0;
        QTest::newRow("just beyond the largest double") << "1.8e308" << qInf();
        QTest::newRow("negative, beyond") << "-1 e 309" << -qInf();
        QTest::newRow("tiny digits, huge exponent") << "0." + QString(100002, '0') + "1e100005" << 100.0;
        QTest::newRow("huge digits, tiny exponent") << "1" + QString(200000, '0') + "e-200000" << 1.0;
    }

    void zahlenwertAnDenGrenzen()
    {
        QFETCH(QString, text);
        QFETCH(double, wert);
        QCOMPARE(zahlenwert(text), wert);
        QCOMPARE(Zahlenpruefung::jederText(text), QString());
    }

    void uploadablaufUnterZufallsereignissen()
    {
        Uploadpruefstand stand;
        const QString fehler = ersterFehler(3000, 2000, [&](const QByteArray &bytes) { return stand.folge(bytes); });
        QVERIFY2(fehler.isEmpty(), qPrintable(fehler));
        // The events reach the end often enough for success to be judged.
        QVERIFY(stand.erfolge() > 100);
        qInfo("3000 uploads, %d of them shown as successful", stand.erfolge());
    }
};

QTEST_MAIN(TestEigenschaften)
#include "tst_eigenschaften.moc"
