// Protocol core of the simulated KVX-Board (DWQ bootloader): fed the bytes the
// host sends, it tracks the commands and produces the board's answers. No I/O,
// no threads, no clocks; the pty runner (PtyBoard) applies delays and drops.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace kvxsim {

// Standard IEEE/zlib CRC-32 (reflected poly 0xEDB88320, init and final xor 0xFFFFFFFF).
std::uint32_t crc32Update(std::uint32_t state, const std::uint8_t *data, std::size_t n);
inline constexpr std::uint32_t kCrcInit = 0xFFFFFFFFu;
std::uint32_t crc32(const std::uint8_t *data, std::size_t n);
std::uint32_t crc32(const std::string &bytes);

// Fault switches; all off by default. Step names: "S", "P", "e", "A", "#1".."#15"
// (n-th page command since the last "P"), "$".
struct BoardOptions {
    bool silent = false;                 // never answers anything
    std::string queryAnswer = "AVRB128"; // text answered to "S"
    int queryAnswerDelayMs = 0;          // answer "S" only after this delay (applied by the runner)
    std::string noCrAfter;               // at this step answer "?" instead of CR
    bool wrongCrc = false;               // answer the CRC with all bits flipped
    bool crcExtraByte = false;           // CRC followed by one extra CR in the same write
    int earlyAnswerInPage = -1;          // k >= 0: CR already after the first k data bytes of each page
    std::string silentFrom;              // from this step on (inclusive) answer nothing
    std::string dropAt;                  // at this step the runner closes the line instead of answering (once)
    std::string floodFrom;               // from this step on the runner sends '~' without end
    // Runner: noiseCount random bytes (seeded, reproducible), each sent right after
    // a random number 1..noiseSpan of host bytes has been received (default: the
    // size of a one-page upload, 6 + 8193).
    unsigned noiseSeed = 0;
    int noiseCount = 0;
    long noiseSpan = 8199;
};

class BoardProtocol {
public:
    static constexpr std::size_t kPageSize = 8192;
    static constexpr std::size_t kPages = 15;
    static constexpr std::size_t kFlashSize = kPageSize * kPages; // 122,880

    // What the board does after one received byte.
    struct Reply {
        std::string data;          // bytes to send (empty: nothing)
        int delayMs = 0;           // send them only after this delay (answer delay)
        bool pageWritten = false;  // a page command just completed (runner adds flash-write time)
        bool drop = false;         // close the line instead of answering
        bool commandDone = false;  // a command completed (a trace line was added)
        bool flashChanged = false; // erase or page write changed the flash
    };

    explicit BoardProtocol(BoardOptions options = {});

    Reply feed(std::uint8_t byte);
    std::vector<Reply> feed(const std::string &bytes); // convenience for tests

    // The line went away: abandon a half-received command (flash, trace and
    // counters stay).
    void abortCommand();

    const BoardOptions &options() const { return opts_; }
    const std::string &received() const { return received_; }
    const std::vector<std::string> &trace() const { return trace_; }
    const std::vector<std::uint8_t> &flash() const { return flash_; }
    bool flooding() const { return flooding_; }
    std::uint32_t pageCrc() const { return ~crcState_; } // CRC over page bytes since "P"

private:
    enum class Mode { Command, Address, Page };

    Reply finish(const std::string &step, std::string answer, std::string traceLine);
    void enterStep(const std::string &step);
    bool isSilent() const { return opts_.silent || silenced_; }
    Reply reply(std::string data);

    BoardOptions opts_;
    Mode mode_ = Mode::Command;
    std::string received_;
    std::vector<std::string> trace_;
    std::vector<std::uint8_t> flash_;
    std::uint32_t crcState_ = kCrcInit;  // over all page bytes since "P"
    std::uint32_t address_ = 0;          // byte address of the next page
    bool flooding_ = false;
    int pageCount_ = 0;                  // page commands since "P"
    std::uint8_t addrBytes_[2] = {0, 0};
    std::size_t got_ = 0;                // bytes of the current address/page argument
    std::uint32_t pageCrcState_ = kCrcInit;
    std::vector<std::uint8_t> page_;
    std::string step_;                   // step being served
    bool silenced_ = false;
    bool dropped_ = false;
};

} // namespace kvxsim
