#pragma once

#include "app/kvxload.h"
#include "serial/qtcomport.h"
#include "unattendeddialogs.h"

#include <QString>

#include <stdexcept>

// The program's own window on the real serial port, offscreen, driven as a
// user would: it starts as the program does, finds the bootloader on COM3,
// and every update is one click on the upload button.
class LoaderWindow
{
public:
    struct Update
    {
        double seconds;
        double cpuSeconds;
    };

    // The program's start sequence, up to the window shown; throws std::runtime_error.
    LoaderWindow();

    // Waits for the detection that the start began; throws when it fails.
    void waitForBootloader();

    // One update of the image file at `path`, from the click to the result
    // text; throws when it does not succeed within `limitMs`.
    Update update(const QString &path, int limitMs);

private:
    std::runtime_error failure(const char *what, const QString &status) const;

    QtComPort m_irda;
    UnattendedDialogs m_dialogs;
    KVXLoad m_window{m_irda, m_dialogs};
};
