#include "ui/about.h"
#include "ui/hilfe.h"
#include "ui/windows1252.h"

#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProcess>
#include <QScrollBar>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

static QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// How Windows resources store their texts.
static QByteArray utf16Bytes(const char *text)
{
    const QString string = QString::fromLatin1(text);
    return QByteArray(reinterpret_cast<const char *>(string.utf16()), 2 * string.size());
}

class TestHilfe : public QObject
{
    Q_OBJECT
private slots:
    void guideIsStoredAsWindowsText()
    {
        const QByteArray bytes = readAll(QStringLiteral(":/hilfe.txt"));
        QCOMPARE(bytes.size(), 5684);
        QVERIFY(bytes.endsWith(QByteArray(3, '\0')));
        const QByteArray text = bytes.chopped(3);
        QVERIFY(!text.contains('\0') && text.endsWith(' '));
        QCOMPARE(text.count('\r'), text.count("\r\n"));
        QCOMPARE(text.count('\n'), text.count("\r\n"));
        const QList<QByteArray> lines = text.split('\n');
        QCOMPARE(lines.size(), 110);
        int tabLines = 0;
        for (const QByteArray &line : lines) {
            QVERIFY2(line.size() - line.endsWith('\r') <= 80, line.constData());
            tabLines += line.startsWith('\t');
        }
        QCOMPARE(tabLines, 10);
        for (const char byte : text)
            QVERIFY(static_cast<unsigned char>(byte) < 0x80 || QByteArray("\xE4\xF6\xFC\xDC\xDF").contains(byte));

        const QString guide = fromWindows1252(text);
        const QString indent(35, ' ');
        QVERIFY(guide.startsWith(indent + "Update-Anleitung\r\n" + indent + "----------------\r\n"));
        qsizetype at = 0;
        for (const char *heading : { "Voraussetzungen:", "Vorgehen:", "Fehlerquellen:", "-----", "*****",
                                     "1) Installation des COM-Port Treibers für den Controller:",
                                     "Achtung Windows98 Nutzer !", "2) Download-Software verwenden" }) {
            at = guide.indexOf("\r\n" + QString::fromUtf8(heading), at);
            QVERIFY2(at > 0, heading);
        }
    }

    // Windows-1252 is Latin-1 except for the characters it puts in 0x80..0x9F;
    // the five bytes it leaves undefined stay as C1 control characters.
    void windows1252DiffersFromLatin1OnlyInItsOwnRange()
    {
        QByteArray everyByte;
        for (int code = 0; code < 256; ++code)
            everyByte += char(code);
        const QString ownRange = QString::fromUtf8("€\u0081‚ƒ„…†‡ˆ‰Š‹Œ\u008DŽ\u008F\u0090‘’“”•–—˜™š›œ\u009DžŸ");
        QCOMPARE(fromWindows1252(everyByte), QString::fromLatin1(everyByte).replace(0x80, 32, ownRange));
    }

    void helpShowsTheGuideFromTheTopAndKeepsItsPlaceWhileOpen()
    {
        Hilfe hilfe;
        hilfe.zeigen();
        QVERIFY(hilfe.isVisible() && !hilfe.isModal());
        QCOMPARE(hilfe.windowTitle(), "Hilfe");
        QCOMPARE(hilfe.minimumSize(), QSize(712, 575));
        QCOMPARE(hilfe.maximumSize(), QSize(712, 575));

        // The whole guide up to its padding, line for line, nothing cut off at the right.
        const QString guide = fromWindows1252(readAll(QStringLiteral(":/hilfe.txt")).chopped(3));
        QCOMPARE(hilfe.Text1->toPlainText(), QString(guide).replace("\r\n", "\n"));
        QCOMPARE(hilfe.Text1->document()->blockCount(), 110);
        QCOMPARE(hilfe.Text1->horizontalScrollBar()->maximum(), 0);
        QScrollBar *scrollBar = hilfe.Text1->verticalScrollBar();
        QCOMPARE(scrollBar->value(), 0);
        QCOMPARE(hilfe.Text1->textCursor().position(), 0);

        hilfe.Text1->moveCursor(QTextCursor::End);
        scrollBar->setValue(40);
        const int revision = hilfe.Text1->document()->revision();
        hilfe.zeigen();
        QCOMPARE(scrollBar->value(), 40);
        QCOMPARE(hilfe.Text1->document()->revision(), revision);

        hilfe.close();
        hilfe.zeigen();
        QVERIFY(hilfe.isVisible());
        QCOMPARE(scrollBar->value(), 0);
        QCOMPARE(hilfe.Text1->textCursor().position(), 0);
    }

    void aboutIsModalAndClosesWithEscape()
    {
        QWidget owner;
        About about(&owner);
        QCOMPARE(about.windowTitle(), "Info");
        QCOMPARE(about.Label1->text(), "KVXLoader V1.0");
        QCOMPARE(about.size(), QSize(276, 145));
        // Neither text is cut off, in whatever font the system gives the labels.
        for (const QLabel *label : { about.Label1, about.Label2 }) {
            QVERIFY2(label->fontMetrics().horizontalAdvance(label->text()) <= label->width(), qPrintable(label->text()));
            QVERIFY2(about.rect().contains(label->geometry()), qPrintable(label->text()));
        }

        bool modal = false;
        QTimer::singleShot(0, &about, [&] {
            modal = QApplication::activeModalWidget() == &about;
            QTest::keyClick(&about, Qt::Key_Escape);
        });
        about.exec();
        QVERIFY(modal && !about.isVisible());
    }

    // The Windows version record: 1.0.0.0 and "1.00", German (Germany).
    void versionResourceCompiles()
    {
#ifndef KVX_RC_FILE
        QSKIP("built without the configured resource script");
#else
        QString windres;
        for (const char *name : { "x86_64-w64-mingw32-windres", "windres" })
            windres = windres.isEmpty() ? QStandardPaths::findExecutable(QString::fromLatin1(name)) : windres;
        if (windres.isEmpty())
            QSKIP("no windres on PATH");
        QTemporaryDir dir;
        const QString output = dir.filePath(QStringLiteral("kvxloader.res"));
        QProcess process;
        process.setProcessChannelMode(QProcess::ForwardedChannels);
        process.start(windres, { QStringLiteral("-O"), QStringLiteral("res"), QStringLiteral(KVX_RC_FILE), output });
        QVERIFY(process.waitForFinished() && process.exitCode() == 0);

        const QByteArray res = readAll(output);
        const qsizetype fixedInfo = res.indexOf("\xBD\x04\xEF\xFE");
        QVERIFY(fixedInfo > 0);
        // File and product version, each as two little-endian words: 1.0 and 0.0
        QCOMPARE(res.mid(fixedInfo + 8, 16), QByteArray("\0\0\1\0\0\0\0\0\0\0\1\0\0\0\0\0", 16));
        for (const char *text : { "040704E4", "ProductName", "KVXLoader", "FileVersion", "ProductVersion", "1.00" })
            QVERIFY2(res.contains(utf16Bytes(text)), text);
        QVERIFY(res.indexOf("\x07\x04\xE4\x04", res.indexOf(utf16Bytes("Translation"))) > 0);
#endif
    }
};

QTEST_MAIN(TestHilfe)
#include "tst_hilfe.moc"
