#include "core/abbruchsignal.h"

#include <QCoreApplication>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <QSocketNotifier>
#include <csignal>
#include <unistd.h>
#endif

namespace {

Abbruchsignal *empfaenger = nullptr;

#ifdef Q_OS_WIN
// Runs on a thread of its own, so a queued call reaches the event loop.
BOOL WINAPI konsolenereignis(DWORD)
{
    QMetaObject::invokeMethod(empfaenger, &Abbruchsignal::ausgeloest, Qt::QueuedConnection);
    return TRUE;
}
#else
int weckleitung[2] = {-1, -1};

// Only a write is safe in a signal handler; the event loop reads it.
void signalbehandlung(int)
{
    const char zeichen = 1;
    [[maybe_unused]] const ssize_t geschrieben = ::write(weckleitung[1], &zeichen, 1);
}
#endif

} // namespace

Abbruchsignal::Abbruchsignal(QObject *parent)
    : QObject(parent)
{
    empfaenger = this;
#ifdef Q_OS_WIN
    SetConsoleCtrlHandler(konsolenereignis, TRUE);
#else
    if (::pipe(weckleitung) != 0)
        return;
    auto *melder = new QSocketNotifier(weckleitung[0], QSocketNotifier::Read, this);
    connect(melder, &QSocketNotifier::activated, this, [this] {
        char zeichen;
        if (::read(weckleitung[0], &zeichen, 1) == 1)
            emit ausgeloest();
    });
    struct sigaction aktion = {};
    aktion.sa_handler = signalbehandlung;
    sigemptyset(&aktion.sa_mask);
    // A closed terminal or session ends the program like Ctrl+C: the
    // receiver brings what runs to rest before it ends.
    for (const int signal : {SIGINT, SIGTERM, SIGHUP})
        sigaction(signal, &aktion, nullptr);
    // A reader that went away, or a file grown past its limit, shows as a
    // failed write, where it is handled.
    ::signal(SIGPIPE, SIG_IGN);
    ::signal(SIGXFSZ, SIG_IGN);
#endif
}
