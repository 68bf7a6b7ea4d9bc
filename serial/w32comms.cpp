#include "serial/w32comms.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <termios.h>
#endif

namespace W32Comms {

namespace {

[[noreturn]] void raise(const PortHandle &port, ErrorNumber number, const char *description)
{
    throw CommError(number, port.Name(), description);
}

#ifdef _WIN32

using LineSettings = DCB;

bool readLineSettings(std::intptr_t handle, LineSettings &dcb)
{
    dcb.DCBlength = sizeof dcb;
    return GetCommState(reinterpret_cast<HANDLE>(handle), &dcb) != 0;
}

bool setBitRate(LineSettings &dcb, std::int32_t baudRate)
{
    dcb.BaudRate = static_cast<DWORD>(baudRate);
    return true;
}

bool writeLineSettings(std::intptr_t handle, LineSettings &dcb)
{
    return SetCommState(reinterpret_cast<HANDLE>(handle), &dcb) != 0;
}

#else

using LineSettings = termios;

bool readLineSettings(std::intptr_t handle, LineSettings &tio)
{
    return tcgetattr(static_cast<int>(handle), &tio) == 0;
}

// termios knows only a fixed set of rates; an unknown one cannot be set.
bool setBitRate(LineSettings &tio, std::int32_t baudRate)
{
    static const struct { std::int32_t rate; speed_t speed; } rates[] = {
        {1200, B1200}, {2400, B2400}, {4800, B4800}, {9600, B9600},
        {19200, B19200}, {38400, B38400}, {57600, B57600}, {115200, B115200},
        {230400, B230400},
    };
    for (const auto &r : rates) {
        if (r.rate == baudRate)
            return cfsetispeed(&tio, r.speed) == 0 && cfsetospeed(&tio, r.speed) == 0;
    }
    return false;
}

bool writeLineSettings(std::intptr_t handle, LineSettings &tio)
{
    return tcsetattr(static_cast<int>(handle), TCSANOW, &tio) == 0;
}

#endif

} // namespace

void SetPortBaudRate(const PortHandle &port, const std::int32_t &baudRate)
{
    if (!port.PortOpen())
        raise(port, PortNotOpen, "Operation valid only when the port is open");

    LineSettings settings{};
    if (!readLineSettings(port.CommID(), settings))
        raise(port, CannotReadState, "Could not read current state of the port");

    if (!setBitRate(settings, baudRate) || !writeLineSettings(port.CommID(), settings))
        raise(port, CannotSetBaudRate, "Could not set port to specified baud rate");
}

} // namespace W32Comms
