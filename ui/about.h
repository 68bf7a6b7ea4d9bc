#pragma once

#include <QDialog>

class QLabel;

// The about window: the program's name with its version and the maker's
// notice. Modal; closed through the title bar or Escape.
class About : public QDialog
{
    Q_OBJECT
public:
    explicit About(QWidget *owner);

    QLabel *const Label1;
    QLabel *const Label2;
};
