// Runs the baud-rate setter on Windows (under Wine in the test run) against
// COM3, which the Linux side maps to a pseudo-terminal. It opens the port,
// sets 115200 bit/s, sends the 256 byte values, expects them back in reverse
// order and then tries the setter on a closed and on an invalid handle.
// Prints one line per check; the exit status is the number of failed checks.
#include "serial/w32comms.h"

#include <windows.h>

#include <cstdio>
#include <string>

namespace {

class Com3 : public PortHandle
{
public:
    explicit Com3(HANDLE handle, bool open) : handle(handle), open(open) {}
    bool PortOpen() const override { return open; }
    std::intptr_t CommID() const override { return reinterpret_cast<std::intptr_t>(handle); }
    std::string Name() const override { return "irda"; }

private:
    HANDLE handle;
    bool open;
};

int fehler = 0;

void pruefe(bool ok, const char *was)
{
    std::printf("%s: %s\n", ok ? "ok" : "FEHLER", was);
    std::fflush(stdout);
    if (!ok)
        ++fehler;
}

int fehlernummer(const PortHandle &port)
{
    try {
        W32Comms::SetPortBaudRate(port, 115200);
    } catch (const CommError &e) {
        return e.source == "irda" ? e.number : -1;
    }
    return 0;
}

bool alleSchreiben(HANDLE h, const unsigned char *daten, DWORD laenge)
{
    DWORD geschrieben = 0;
    return WriteFile(h, daten, laenge, &geschrieben, nullptr) && geschrieben == laenge;
}

// The read returns what has arrived within the time-outs; collect until full.
bool alleLesen(HANDLE h, unsigned char *daten, DWORD laenge)
{
    DWORD gelesen = 0;
    for (int versuch = 0; gelesen < laenge && versuch < 100; ++versuch) {
        DWORD n = 0;
        if (!ReadFile(h, daten + gelesen, laenge - gelesen, &n, nullptr))
            return false;
        gelesen += n;
    }
    return gelesen == laenge;
}

} // namespace

int main()
{
    HANDLE h = CreateFileA("\\\\.\\COM3", GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    pruefe(h != INVALID_HANDLE_VALUE, "COM3 offen");
    if (h == INVALID_HANDLE_VALUE)
        return fehler;

    pruefe(fehlernummer(Com3(h, true)) == 0, "SetPortBaudRate auf offenem Port");

    COMMTIMEOUTS zeiten{};
    zeiten.ReadTotalTimeoutConstant = 100;
    SetCommTimeouts(h, &zeiten);

    unsigned char alle[256];
    for (int i = 0; i < 256; ++i)
        alle[i] = static_cast<unsigned char>(i);
    pruefe(alleSchreiben(h, alle, sizeof alle), "256 Bytes gesendet");

    unsigned char zurueck[256] = {};
    bool gelesen = alleLesen(h, zurueck, sizeof zurueck);
    bool umgekehrt = true;
    for (int i = 0; i < 256; ++i)
        umgekehrt = umgekehrt && zurueck[i] == 255 - i;
    pruefe(gelesen && umgekehrt, "256 Bytes in umgekehrter Folge empfangen");

    CloseHandle(h);
    pruefe(fehlernummer(Com3(h, false)) == 8018, "geschlossener Port gibt 8018");
    pruefe(fehlernummer(Com3(INVALID_HANDLE_VALUE, true)) == 8021, "ungültiger Handle gibt 8021");
    return fehler;
}
