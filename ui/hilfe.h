#pragma once

#include <QDialog>

class QPlainTextEdit;

// The help window with the built-in update guide. Not modal, and a window of
// its own rather than one owned by the main window: it stays open beside the
// main window, and either can be brought in front of the other.
class Hilfe : public QDialog
{
    Q_OBJECT
public:
    Hilfe();

    // Menu entry "Hilfe": loads the guide afresh when the window is not open
    // (first time, or closed by the user since), otherwise only brings the
    // open window to the front, leaving it as the user scrolled it.
    void zeigen();

    QPlainTextEdit *const Text1;

private:
    void Form_Load();
};
