#pragma once

#include <QDialog>

class QPlainTextEdit;

// The help window with the built-in update guide. Not modal: it stays open
// beside the main window, which owns it, so it keeps in front of it and closes
// with it.
class Hilfe : public QDialog
{
    Q_OBJECT
public:
    explicit Hilfe(QWidget *owner);

    // Menu entry "Hilfe": loads the guide afresh when the window is not open
    // (first time, or closed by the user since), otherwise only brings the
    // open window to the front, leaving it as the user scrolled it.
    void zeigen();

    QPlainTextEdit *const Text1;

private:
    void Form_Load();
};
