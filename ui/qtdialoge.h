#pragma once

#include "core/dialoge.h"

#include <QPointer>
#include <QWidget>

// The real boxes: QMessageBox and QFileDialog, owned by the main window once
// it is on screen (a box raised during start-up stands on its own).
class QtDialoge : public Dialoge
{
public:
    void setOwner(QWidget *owner) { m_owner = owner; }

    void meldung(const QString &text, const QString &titel, const QString &erlaeuterung) override;
    std::optional<QString> ShowOpen(const CommonDialogSettings &settings) override;

private:
    QWidget *owner() const;

    QPointer<QWidget> m_owner;
};
