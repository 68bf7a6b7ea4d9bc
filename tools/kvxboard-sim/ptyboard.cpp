#include "ptyboard.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstring>
#include <random>
#include <utility>

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

namespace kvxsim {

namespace {

using Clock = std::chrono::steady_clock;

void setFlags(int fd, bool nonblock)
{
    ::fcntl(fd, F_SETFD, ::fcntl(fd, F_GETFD) | FD_CLOEXEC);
    if (nonblock)
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
}

std::FILE *openOut(const std::string &path)
{
    if (path.empty())
        return nullptr;
    std::FILE *f = std::fopen(path.c_str(), "wb");
    if (!f)
        throw SetupError(SetupError::cannotWrite, path, errno);
    return f;
}

} // namespace

SetupError::SetupError(Kind kind, const std::string &path, int error)
    : std::runtime_error((kind == cannotWrite ? "cannot write " : "cannot create the pty linked as ") + path + ": "
                         + std::strerror(error))
    , kind(kind)
    , path(path)
    , error(error)
{
}

PtyBoard::PtyBoard(const std::string &dir, int portNumber, PtyBoardOptions options)
    : link_(dir + "/COM" + std::to_string(portNumber)), opts_(std::move(options)), proto_(opts_.board)
{
    if (::pipe(wakePipe_) != 0)
        throw SetupError(SetupError::cannotCreatePty, link_, errno);
    setFlags(wakePipe_[0], true);
    setFlags(wakePipe_[1], true);
    try {
        traceFile_ = openOut(opts_.traceFile);
        receivedFile_ = openOut(opts_.receivedFile);
        flashFile_ = openOut(opts_.flashFile);
        if (!openPty())
            throw SetupError(SetupError::cannotCreatePty, link_, errno);
    } catch (...) {
        for (std::FILE *f : {traceFile_, receivedFile_, flashFile_})
            if (f)
                std::fclose(f);
        ::close(wakePipe_[0]);
        ::close(wakePipe_[1]);
        throw;
    }
    writeFiles(true);
    thread_ = std::thread(&PtyBoard::run, this);
}

PtyBoard::~PtyBoard()
{
    {
        std::lock_guard<std::mutex> lk(mutex_);
        stop_ = true;
    }
    wake();
    if (thread_.joinable())
        thread_.join();
    writeFiles(false);
    closePty();
    ::close(wakePipe_[0]);
    ::close(wakePipe_[1]);
    for (std::FILE *f : {traceFile_, receivedFile_, flashFile_})
        if (f)
            std::fclose(f);
}

bool PtyBoard::openPty()
{
    int m = -1, s = -1;
    if (::openpty(&m, &s, nullptr, nullptr, nullptr) != 0)
        return false;
    // Raw at once, so that nothing is echoed or translated before the host opens it.
    termios t{};
    ::tcgetattr(s, &t);
    ::cfmakeraw(&t);
    ::cfsetspeed(&t, B115200);
    ::tcsetattr(s, TCSANOW, &t);
    setFlags(m, true);
    setFlags(s, false);
    char name[256] = {};
    std::string tmp = link_ + ".tmp" + std::to_string(::getpid());
    ::unlink(tmp.c_str());
    if (::ttyname_r(s, name, sizeof name) != 0 || ::symlink(name, tmp.c_str()) != 0
        || ::rename(tmp.c_str(), link_.c_str()) != 0) {
        int err = errno;
        ::unlink(tmp.c_str());
        ::close(m);
        ::close(s);
        errno = err;
        return false;
    }
    master_ = m;
    slave_ = s;
    std::lock_guard<std::mutex> lk(mutex_);
    slavePath_ = name;
    connected_ = true;
    return true;
}

void PtyBoard::closePty()
{
    if (master_ >= 0)
        ::close(master_);
    if (slave_ >= 0)
        ::close(slave_);
    master_ = slave_ = -1;
    std::lock_guard<std::mutex> lk(mutex_);
    if (connected_) {
        // Remove the link only if it is still ours.
        char target[256] = {};
        ssize_t n = ::readlink(link_.c_str(), target, sizeof target - 1);
        if (n > 0 && slavePath_ == std::string(target, std::size_t(n)))
            ::unlink(link_.c_str());
    }
    connected_ = false;
    slavePath_.clear();
}

void PtyBoard::wake()
{
    char c = 1;
    [[maybe_unused]] ssize_t n = ::write(wakePipe_[1], &c, 1);
}

void PtyBoard::request(Request r)
{
    std::lock_guard<std::mutex> serial(requestMutex_);
    std::unique_lock<std::mutex> lk(mutex_);
    request_ = r;
    requestDone_ = false;
    lk.unlock();
    wake();
    lk.lock();
    cv_.wait(lk, [this] { return requestDone_; });
}

void PtyBoard::dropLine() { request(Request::Drop); }

bool PtyBoard::reconnect()
{
    request(Request::Reconnect);
    std::lock_guard<std::mutex> lk(mutex_);
    return requestOk_;
}

std::string PtyBoard::slavePath() const
{
    std::lock_guard<std::mutex> lk(mutex_);
    return slavePath_;
}

bool PtyBoard::connected() const
{
    std::lock_guard<std::mutex> lk(mutex_);
    return connected_;
}

std::string PtyBoard::received() const
{
    std::lock_guard<std::mutex> lk(mutex_);
    return proto_.received();
}

std::vector<std::string> PtyBoard::trace() const
{
    std::lock_guard<std::mutex> lk(mutex_);
    return proto_.trace();
}

std::vector<std::uint8_t> PtyBoard::flash() const
{
    std::lock_guard<std::mutex> lk(mutex_);
    return proto_.flash();
}

bool PtyBoard::waitForTrace(std::size_t lines, int timeoutMs) const
{
    std::unique_lock<std::mutex> lk(mutex_);
    return cv_.wait_for(lk, std::chrono::milliseconds(timeoutMs),
                        [&] { return proto_.trace().size() >= lines; });
}

bool PtyBoard::waitForReceived(std::size_t bytes, int timeoutMs) const
{
    std::unique_lock<std::mutex> lk(mutex_);
    return cv_.wait_for(lk, std::chrono::milliseconds(timeoutMs),
                        [&] { return proto_.received().size() >= bytes; });
}

// Runner thread (or the destructor after the join): the protocol is only changed
// by the runner, so reading it here needs no lock.
void PtyBoard::writeFiles(bool flashToo)
{
    const auto &tr = proto_.trace();
    if (traceFile_) {
        for (; traceWritten_ < tr.size(); ++traceWritten_)
            std::fprintf(traceFile_, "%s\n", tr[traceWritten_].c_str());
        std::fflush(traceFile_);
    }
    const std::string &rx = proto_.received();
    if (receivedFile_ && receivedWritten_ < rx.size()) {
        std::fwrite(rx.data() + receivedWritten_, 1, rx.size() - receivedWritten_, receivedFile_);
        receivedWritten_ = rx.size();
        std::fflush(receivedFile_);
    }
    if (flashFile_ && flashToo) {
        const auto &fl = proto_.flash();
        std::rewind(flashFile_);
        std::fwrite(fl.data(), 1, fl.size(), flashFile_);
        std::fflush(flashFile_);
    }
}

void PtyBoard::run()
{
    const double rate = opts_.bytesPerSecond > 0 ? opts_.bytesPerSecond : 0.0;
    const double cap = std::max(1.0, rate * 0.002); // token bucket: at most 2 ms worth of bytes
    double rxTokens = cap, txTokens = cap;
    Clock::time_point last = Clock::now();

    std::string inBuf;      // read from the host, not yet fed to the protocol
    std::size_t inPos = 0;
    std::string outBuf;     // answers waiting to be written
    std::string pending;    // answer held back by a delay (late answer, flash write)
    bool busy = false;
    Clock::time_point readyAt, pauseUntil, reconnectAt;
    bool reconnectDue = false;

    std::vector<std::pair<long, char>> noise;
    {
        std::mt19937 rng(opts_.board.noiseSeed);
        std::uniform_int_distribution<long> pos(1, std::max(1L, opts_.board.noiseSpan));
        std::uniform_int_distribution<int> val(0, 255);
        for (int i = 0; i < opts_.board.noiseCount; ++i) {
            long p = pos(rng);
            noise.emplace_back(p, static_cast<char>(val(rng)));
        }
        std::stable_sort(noise.begin(), noise.end(),
                         [](const auto &a, const auto &b) { return a.first < b.first; });
    }
    std::size_t noiseNext = 0;
    long processed = 0;

    auto resetLine = [&] {
        inBuf.clear();
        inPos = 0;
        outBuf.clear();
        pending.clear();
        busy = false;
        std::lock_guard<std::mutex> lk(mutex_);
        proto_.abortCommand();
    };
    auto msUntil = [](Clock::time_point now, Clock::time_point t) {
        auto d = std::chrono::duration_cast<std::chrono::microseconds>(t - now).count();
        return d <= 0 ? 0 : int((d + 999) / 1000);
    };

    for (;;) {
        Request req;
        {
            std::lock_guard<std::mutex> lk(mutex_);
            if (stop_)
                break;
            req = request_;
        }
        if (req != Request::None) {
            closePty();
            resetLine();
            reconnectDue = false;
            bool ok = req == Request::Drop || openPty();
            std::lock_guard<std::mutex> lk(mutex_);
            request_ = Request::None;
            requestDone_ = true;
            requestOk_ = ok;
            cv_.notify_all();
        }

        Clock::time_point now = Clock::now();
        if (rate > 0) {
            double dt = std::chrono::duration<double>(now - last).count();
            rxTokens = std::min(cap, rxTokens + dt * rate);
            txTokens = std::min(cap, txTokens + dt * rate);
        }
        last = now;
        if (reconnectDue && now >= reconnectAt) {
            reconnectDue = false;
            openPty();
        }
        if (busy && now >= readyAt) {
            busy = false;
            outBuf += pending;
            pending.clear();
        }

        // Feed what was read, one byte at a time, until an answer must wait.
        bool fed = false, commandDone = false, flashChanged = false, drop = false;
        while (!busy && master_ >= 0 && inPos < inBuf.size()) {
            BoardProtocol::Reply r;
            {
                std::lock_guard<std::mutex> lk(mutex_);
                r = proto_.feed(static_cast<std::uint8_t>(inBuf[inPos++]));
            }
            fed = true;
            commandDone |= r.commandDone;
            flashChanged |= r.flashChanged;
            if (r.drop) {
                drop = true;
                break;
            }
            int delay = r.delayMs + (r.pageWritten ? opts_.flashWriteMs : 0);
            if (delay > 0) {
                busy = true;
                readyAt = Clock::now() + std::chrono::milliseconds(delay);
                pending = std::move(r.data);
            } else {
                outBuf += r.data;
            }
            ++processed;
            while (noiseNext < noise.size() && noise[noiseNext].first <= processed)
                outBuf.push_back(noise[noiseNext++].second);
        }
        if (inPos >= inBuf.size()) {
            inBuf.clear();
            inPos = 0;
        }
        if (commandDone || flashChanged)
            writeFiles(flashChanged);
        if (fed) {
            std::lock_guard<std::mutex> lk(mutex_);
            cv_.notify_all();
        }
        if (drop) {
            closePty();
            resetLine();
            if (opts_.reconnectAfterMs >= 0) {
                reconnectDue = true;
                reconnectAt = Clock::now() + std::chrono::milliseconds(opts_.reconnectAfterMs);
            }
            continue;
        }

        // A flooding board keeps the line full.
        if (proto_.flooding() && outBuf.size() < 4096)
            outBuf.append(4096, '~');

        // Send what may be sent now.
        if (master_ >= 0 && !outBuf.empty() && (rate == 0 || txTokens >= 1)) {
            std::size_t n = outBuf.size();
            if (rate > 0)
                n = std::min(n, std::size_t(txTokens));
            ssize_t w = ::write(master_, outBuf.data(), n);
            if (w > 0) {
                outBuf.erase(0, std::size_t(w));
                if (rate > 0)
                    txTokens -= double(w);
            }
        }

        // Wait for the host, the wake pipe or the next moment something is due.
        pollfd fds[2] = {{wakePipe_[0], POLLIN, 0}, {-1, 0, 0}};
        int timeout = -1;
        auto consider = [&](int ms) { timeout = timeout < 0 ? ms : std::min(timeout, ms); };
        auto tokenWait = [&](double tokens) {
            return std::max(1, int(std::ceil((1.0 - tokens) / rate * 1000.0)));
        };
        if (master_ >= 0) {
            short ev = 0;
            if (now < pauseUntil) {
                consider(msUntil(now, pauseUntil));
            } else if (!busy && inBuf.empty()) {
                if (rate == 0 || rxTokens >= 1)
                    ev |= POLLIN;
                else
                    consider(tokenWait(rxTokens));
            }
            if (!outBuf.empty()) {
                if (rate == 0 || txTokens >= 1)
                    ev |= POLLOUT;
                else
                    consider(tokenWait(txTokens));
            }
            fds[1] = {master_, ev, 0};
        }
        if (busy)
            consider(msUntil(now, readyAt));
        if (reconnectDue)
            consider(msUntil(now, reconnectAt));

        int rc = ::poll(fds, fds[1].fd >= 0 ? 2 : 1, timeout);
        if (rc <= 0)
            continue;
        if (fds[0].revents & POLLIN) {
            char buf[64];
            while (::read(wakePipe_[0], buf, sizeof buf) > 0) {
            }
        }
        if (fds[1].fd >= 0 && fds[1].revents) {
            if (fds[1].revents & POLLIN) {
                char buf[4096];
                std::size_t n = sizeof buf;
                if (rate > 0)
                    n = std::min(n, std::max<std::size_t>(1, std::size_t(rxTokens)));
                ssize_t r = ::read(master_, buf, n);
                if (r > 0) {
                    inBuf.append(buf, std::size_t(r));
                    if (rate > 0)
                        rxTokens -= double(r);
                } else if (r == 0 || (errno != EAGAIN && errno != EINTR)) {
                    pauseUntil = Clock::now() + std::chrono::milliseconds(10); // EIO: no slave
                }
            } else if (fds[1].revents & (POLLHUP | POLLERR | POLLNVAL)) {
                pauseUntil = Clock::now() + std::chrono::milliseconds(10);
            }
        }
    }
}

} // namespace kvxsim
