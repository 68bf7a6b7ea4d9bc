#pragma once

// The modal boxes the logic opens, behind a seam so that tests can answer them.

#include <QString>

#include <optional>

// The settings of the file-open dialog, as the classic common dialog knows them.
struct CommonDialogSettings
{
    bool CancelError = false;
    int Flags = 0;          // 0x1000: only existing files; 0x4: no read-only box
    QString Filter;         // "label|pattern|label|pattern"
    QString DefaultExt;
    QString FileName;
    int FilterIndex = 1;    // counted from 1
};

class Dialoge
{
public:
    virtual ~Dialoge() = default;

    // A modal message box with the OK button only; `erlaeuterung`, when
    // given, stands below the message and says more about it.
    virtual void meldung(const QString &text, const QString &titel, const QString &erlaeuterung = QString()) = 0;

    // The modal file-open dialog: the chosen file's full path, or nothing
    // when the user cancelled or the dialog failed.
    virtual std::optional<QString> ShowOpen(const CommonDialogSettings &settings) = 0;
};
