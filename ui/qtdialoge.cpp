#include "ui/qtdialoge.h"

#include <QFileDialog>
#include <QFileSystemModel>
#include <QMessageBox>

namespace {

constexpr int nurVorhandeneDateien = 0x1000;

// "label|pattern|label|pattern" → the labels, each naming its pattern in
// parentheses as QFileDialog reads it.
QStringList filterEintraege(const QString &filter)
{
    const QStringList teile = filter.split(QLatin1Char('|'));
    QStringList eintraege;
    for (int i = 0; i + 1 < teile.size(); i += 2)
        eintraege << teile.at(i);
    return eintraege;
}

} // namespace

void QtDialoge::meldung(const QString &text, const QString &titel, const QString &erlaeuterung)
{
    QMessageBox box(QMessageBox::NoIcon, titel, text, QMessageBox::Ok, owner());
    box.setInformativeText(erlaeuterung);
    box.exec();
}

std::optional<QString> QtDialoge::ShowOpen(const CommonDialogSettings &settings)
{
    QFileDialog dialog(owner());
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode((settings.Flags & nurVorhandeneDateien) ? QFileDialog::ExistingFile
                                                               : QFileDialog::AnyFile);
#if !defined(Q_OS_WIN) && !defined(Q_OS_MACOS)
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    // "*.*" means every name on Windows; Qt's own dialog would hide names
    // without a dot, so that entry shows every file here too.
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString &eintrag) {
        if (eintrag.endsWith(QLatin1String("(*.*)")))
            if (auto *modell = dialog.findChild<QFileSystemModel *>())
                modell->setNameFilters({QStringLiteral("*")});
    });
#endif
    const QStringList eintraege = filterEintraege(settings.Filter);
    dialog.setNameFilters(eintraege);
    if (settings.FilterIndex >= 1 && settings.FilterIndex <= eintraege.size())
        dialog.selectNameFilter(eintraege.at(settings.FilterIndex - 1));
    QString endung = settings.DefaultExt;
    if (endung.startsWith(QLatin1Char('.')))
        endung.remove(0, 1);
    dialog.setDefaultSuffix(endung);
    if (!settings.FileName.isEmpty())
        dialog.selectFile(settings.FileName);

    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

QWidget *QtDialoge::owner() const
{
    return m_owner && m_owner->isVisible() ? m_owner.data() : nullptr;
}
