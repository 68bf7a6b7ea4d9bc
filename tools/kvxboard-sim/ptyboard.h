// Pty runner of the simulated KVX-Board: a pseudo-terminal linked as <dir>/COM<n>,
// served by its own thread with the protocol core (BoardProtocol).
#pragma once

#include "boardprotocol.h"

#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace kvxsim {

struct PtyBoardOptions {
    BoardOptions board;
    int bytesPerSecond = 0;     // 0 = unlimited; 11520 = 115200 bit/s 8N1
    int flashWriteMs = 0;       // wait after a complete page before answering
    int reconnectAfterMs = -1;  // after a drop (dropAt), reconnect after this time; < 0: never
    std::string traceFile;      // written after every completed command (empty: none)
    std::string receivedFile;
    std::string flashFile;
};

// Why a board could not be set up: the file it could not write or the link
// of the pty it could not create, with the system's error number.
struct SetupError : std::runtime_error {
    enum Kind { cannotWrite, cannotCreatePty };
    SetupError(Kind kind, const std::string &path, int error);
    Kind kind;
    std::string path;
    int error;
};

class PtyBoard {
public:
    // Opens the pty and links <dir>/COM<portNumber> to it; throws SetupError.
    PtyBoard(const std::string &dir, int portNumber, PtyBoardOptions options = {});
    ~PtyBoard();
    PtyBoard(const PtyBoard &) = delete;
    PtyBoard &operator=(const PtyBoard &) = delete;

    std::string linkPath() const { return link_; }
    std::string slavePath() const; // empty while the line is dropped
    bool connected() const;

    void dropLine();   // hang up: close master and slave, remove the link
    bool reconnect();  // a new pty under the same link name (drops first if connected)

    std::string received() const;
    std::vector<std::string> trace() const;
    std::vector<std::uint8_t> flash() const;
    bool waitForTrace(std::size_t lines, int timeoutMs) const;
    bool waitForReceived(std::size_t bytes, int timeoutMs) const;

private:
    enum class Request { None, Drop, Reconnect };

    void run();
    bool openPty();   // runner thread (or constructor)
    void closePty();  // runner thread (or destructor)
    void request(Request r);
    void wake();
    void writeFiles(bool flashToo);

    const std::string link_;
    PtyBoardOptions opts_;
    BoardProtocol proto_;

    int master_ = -1;
    int slave_ = -1;
    int wakePipe_[2] = {-1, -1};
    std::FILE *traceFile_ = nullptr;
    std::FILE *receivedFile_ = nullptr;
    std::FILE *flashFile_ = nullptr;
    std::size_t traceWritten_ = 0;
    std::size_t receivedWritten_ = 0;

    mutable std::mutex mutex_;           // protocol snapshots, connection state, requests
    mutable std::condition_variable cv_;
    std::mutex requestMutex_;            // one request at a time
    std::string slavePath_;
    bool connected_ = false;
    bool stop_ = false;
    Request request_ = Request::None;
    bool requestDone_ = false;
    bool requestOk_ = false;
    std::thread thread_;
};

} // namespace kvxsim
