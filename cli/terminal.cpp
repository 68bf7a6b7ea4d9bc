#include "cli/terminal.h"

#include <QtGlobal>

#ifdef Q_OS_WIN
#include <io.h>
#include <stdio.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

bool liveFaehigesTerminal()
{
#ifdef Q_OS_WIN
    // The console draws the display's cursor movements only when asked to.
    HANDLE ausgabe = GetStdHandle(STD_OUTPUT_HANDLE);
    DWORD modus = 0;
    return _isatty(_fileno(stdout)) && GetConsoleMode(ausgabe, &modus)
        && SetConsoleMode(ausgabe, modus | ENABLE_VIRTUAL_TERMINAL_PROCESSING);
#else
    return ::isatty(STDOUT_FILENO) == 1;
#endif
}
