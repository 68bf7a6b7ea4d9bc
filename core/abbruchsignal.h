#pragma once

#include <QObject>

// Ctrl+C, SIGTERM and SIGHUP (on Windows the console's Ctrl+C and close events),
// delivered as a signal on the event loop, once for each time they come.
class Abbruchsignal : public QObject
{
    Q_OBJECT
public:
    explicit Abbruchsignal(QObject *parent = nullptr);

signals:
    void ausgeloest();
};
