#pragma once

// The program's own baud-rate setter. Kept free of Qt so that the Windows
// branch can be syntax-checked with a cross compiler on any machine.

#include <cstdint>
#include <stdexcept>
#include <string>

// What the setter needs to know of a port: whether it is open, the operating
// system's handle of it (HANDLE on Windows, file descriptor elsewhere) and its
// name, which is the source of the errors raised here.
class PortHandle
{
public:
    virtual ~PortHandle() = default;
    virtual bool PortOpen() const = 0;
    virtual std::intptr_t CommID() const = 0;
    virtual std::string Name() const = 0;
};

// An error of the serial layer: a number, the raising port's name and a description.
class CommError : public std::runtime_error
{
public:
    CommError(int number, std::string source, const std::string &description)
        : std::runtime_error(description), number(number), source(std::move(source)) {}

    const int number;
    const std::string source;
};

namespace W32Comms {

enum ErrorNumber {
    PortNotOpen = 8018,
    CannotReadState = 8021,
    CannotSetBaudRate = 8015,
};

// Reads the port's line settings, replaces the bit rate and writes them back.
// Every other setting stays as it was. Throws CommError (8018, 8021, 8015).
void SetPortBaudRate(const PortHandle &port, const std::int32_t &baudRate);

} // namespace W32Comms
