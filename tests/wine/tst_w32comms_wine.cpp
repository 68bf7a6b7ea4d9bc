// The Windows branch of the baud-rate setter, run under Wine: COM3 of a Wine
// prefix is a pseudo-terminal whose master this program holds. It starts the
// Windows program, answers its bytes and afterwards reads the line settings
// that the program left on the terminal.
//   tst_w32comms_wine PROGRAM.exe WINE64 WINESERVER PREFIX
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

extern char **environ;

namespace fs = std::filesystem;

namespace {

int fehler = 0;

void pruefe(bool ok, const std::string &was)
{
    std::cout << (ok ? "ok: " : "FEHLER: ") << was << std::endl;
    if (!ok)
        ++fehler;
}

// Starts a program with stdout and stderr in a file: Wine's children hold on
// to a pipe long after the program has ended.
pid_t starte(const std::vector<std::string> &argumente, const std::string &ausgabe)
{
    posix_spawn_file_actions_t aktionen;
    posix_spawn_file_actions_init(&aktionen);
    posix_spawn_file_actions_addopen(&aktionen, 1, ausgabe.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
    posix_spawn_file_actions_adddup2(&aktionen, 1, 2);
    std::vector<char *> argv;
    for (const auto &a : argumente)
        argv.push_back(const_cast<char *>(a.c_str()));
    argv.push_back(nullptr);
    pid_t pid = -1;
    if (posix_spawn(&pid, argv[0], &aktionen, nullptr, argv.data(), environ) != 0)
        pid = -1;
    posix_spawn_file_actions_destroy(&aktionen);
    return pid;
}

int warte(pid_t pid)
{
    int status = 0;
    if (pid < 0 || waitpid(pid, &status, 0) != pid)
        return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

int fuehreAus(const std::vector<std::string> &argumente, const std::string &ausgabe)
{
    return warte(starte(argumente, ausgabe));
}

// Reads n bytes from the master, or fewer when nothing more comes for 30 s
// (the first start of a prefix is slow).
std::string lies(int master, std::size_t n)
{
    std::string daten;
    char puffer[256];
    while (daten.size() < n) {
        pollfd p{master, POLLIN, 0};
        if (poll(&p, 1, 30000) <= 0)
            break;
        ssize_t k = read(master, puffer, std::min(sizeof puffer, n - daten.size()));
        if (k <= 0)
            break;
        daten.append(puffer, std::size_t(k));
    }
    return daten;
}

std::string inhalt(const std::string &datei)
{
    std::ifstream in(datei);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 5) {
        std::cerr << "usage: tst_w32comms_wine PROGRAM.exe WINE64 WINESERVER PREFIX\n";
        return 2;
    }
    const std::string programm = argv[1], wine = argv[2], wineserver = argv[3];
    const fs::path prefix = fs::absolute(argv[4]);
    const std::string protokoll = (prefix.parent_path() / "wine.log").string();
    setenv("WINEPREFIX", prefix.c_str(), 1);
    setenv("WINEDEBUG", "-all", 1);
    setenv("WINEDLLOVERRIDES", "mscoree,mshtml=", 1); // no Mono or Gecko installer
    unsetenv("DISPLAY");
    fs::remove(protokoll);

    if (!fs::exists(prefix / "dosdevices")) {
        fuehreAus({wine, "wineboot", "-i"}, protokoll);
        fuehreAus({wineserver, "-w"}, protokoll);
    }

    // The line as the board wants it, but at 9600 bit/s: only the bit rate may change.
    int master = posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) {
        std::perror("posix_openpt");
        return 2;
    }
    const std::string slave = ptsname(master);
    termios vorher{};
    tcgetattr(master, &vorher);
    cfmakeraw(&vorher);
    vorher.c_cflag &= ~(PARENB | CSTOPB | CRTSCTS);
    vorher.c_cflag |= CS8 | CLOCAL | CREAD;
    vorher.c_iflag &= ~(IXON | IXOFF);
    cfsetspeed(&vorher, B9600);
    tcsetattr(master, TCSANOW, &vorher);

    const fs::path com3 = prefix / "dosdevices" / "com3";
    fs::remove(com3);
    fs::create_symlink(slave, com3);

    const std::string ausgabe = (prefix.parent_path() / "com3programm.txt").string();
    fs::remove(ausgabe);
    pid_t windows = starte({wine, programm}, ausgabe);

    std::string gesendet = lies(master, 256);
    std::string alle;
    for (int i = 0; i < 256; ++i)
        alle.push_back(char(i));
    pruefe(gesendet == alle, "die 256 Byte-Werte kommen unverändert an");
    std::string rueckwaerts(alle.rbegin(), alle.rend());
    pruefe(write(master, rueckwaerts.data(), rueckwaerts.size()) == 256, "256 Bytes zurückgeschickt");

    int ergebnis = warte(windows);
    // The master stays open until Wine has let go of the line.
    fuehreAus({wineserver, "-w"}, protokoll);

    termios nachher{};
    tcgetattr(master, &nachher);
    close(master);
    pruefe(cfgetospeed(&nachher) == B115200 && cfgetispeed(&nachher) == B115200, "115200 bit/s gesetzt");
    pruefe((nachher.c_cflag & CSIZE) == CS8, "8 Datenbits geblieben");
    pruefe(!(nachher.c_cflag & (PARENB | CSTOPB)), "keine Parität, 1 Stoppbit geblieben");
    pruefe(!(nachher.c_cflag & CRTSCTS) && !(nachher.c_iflag & (IXON | IXOFF)), "kein Handshake geblieben");

    std::cout << inhalt(ausgabe);
    pruefe(ergebnis == 0, "das Windows-Programm meldet keinen Fehler");
    if (fehler)
        std::cout << "Wine:\n" << inhalt(protokoll);
    return fehler ? 1 : 0;
}
