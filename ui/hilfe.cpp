#include "ui/hilfe.h"

#include "core/sprache.h"
#include "ui/twips.h"
#include "ui/windows1252.h"

#include <QFile>
#include <QFontMetricsF>
#include <QPlainTextEdit>

// A plain window, not a dialog: the window system keeps a dialog without an
// owner in front of all of the program's windows.
Hilfe::Hilfe()
    : QDialog(nullptr, Qt::Window | Qt::MSWindowsFixedSizeDialogHint)
    , Text1(new QPlainTextEdit(this))
{
    setWindowTitle(tr("Hilfe"));
    setFixedSize(twips(10680), twips(8625));

    Text1->setGeometry(twips(240), twips(240), twips(10215), twips(8175));
    QFont courier(QStringLiteral("Courier"));
    courier.setPointSizeF(9.75);
    courier.setStyleHint(QFont::TypeWriter);
    courier.setFixedPitch(true);
    Text1->setFont(courier);
    Text1->setTabStopDistance(8 * QFontMetricsF(Text1->font()).horizontalAdvance(QLatin1Char(' ')));
    Text1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Text1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // Read only, but with a caret the keyboard can move and select with.
    Text1->setReadOnly(true);
    Text1->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
    Text1->setFocus();
}

void Hilfe::zeigen()
{
    if (!isVisible()) {
        Form_Load();
        show();
    }
    raise();
    activateWindow();
}

void Hilfe::Form_Load()
{
    // The German guide is the original; the English one is written for
    // readers of English rather than translated line by line.
    QFile guide(eingerichteteSprache() == QLatin1String("en") ? QStringLiteral(":/hilfe_en.txt")
                                                             : QStringLiteral(":/hilfe.txt"));
    guide.open(QIODevice::ReadOnly);
    QByteArray bytes = guide.readAll();
    // The guide is padded with zero bytes; as in a Windows text box, the text
    // ends at the first of them.
    const qsizetype end = bytes.indexOf('\0');
    if (end >= 0)
        bytes.truncate(end);
    // Setting the text also puts the caret at the start and scrolls to the top.
    Text1->setPlainText(fromWindows1252(bytes));
}
