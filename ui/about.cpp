#include "ui/about.h"

#include "app/version.h"
#include "ui/twips.h"

#include <QLabel>

namespace {

// The boxes were laid out for a smaller dialog font than most systems use
// today; a label grows to the right rather than cut off its text.
void place(QLabel *label, int left, int top, int width, int height)
{
    label->setGeometry(left, top, qMax(width, label->sizeHint().width()), height);
}

} // namespace

About::About(QWidget *owner)
    : QDialog(owner, Qt::MSWindowsFixedSizeDialogHint)
    , Label1(new QLabel(QStringLiteral("KVXLoader V" KVXLOADER_VERSION), this))
    , Label2(new QLabel(QStringLiteral("© 2026 KVX Elektronik"), this))
{
    setWindowTitle(tr("Info"));
    setModal(true);
    setFixedSize(twips(4140), twips(2175));
    place(Label1, twips(1440), twips(480), twips(1215), twips(255));
    place(Label2, twips(600), twips(1320), twips(3015), twips(255));
}

