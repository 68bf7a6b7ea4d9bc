#pragma once

#include "core/dialoge.h"

#include <QStringList>

// Answers the loader's boxes without waiting for anyone: the file dialog
// always picks the image set here, and messages are kept to be reported.
class UnattendedDialogs : public Dialoge
{
public:
    void meldung(const QString &text, const QString &, const QString &) override { messages << text; }
    std::optional<QString> ShowOpen(const CommonDialogSettings &) override { return image; }

    QString image;
    QStringList messages;
};
