#include "clibench.h"

#include "boardprocess.h"
#include "brokerbench.h"
#include "spread.h"
#include "ptyboard.h"

#include <QDir>
#include <QThread>

#include <QElapsedTimer>
#include <QFile>

#include <cstdio>
#include <csignal>
#include <memory>
#include <optional>
#include <random>
#include <stdexcept>
#include <vector>

#include <QJsonDocument>
#include <QJsonObject>

#include <atomic>
#include <thread>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr int lineBytesPerSecond = 11520;
constexpr int flashWriteMs = 20;
constexpr int pages = 15;

struct ChildRun
{
    double seconds = 0;
    double cpuSeconds = 0;
    double peakMiB = 0;
    int status = -1;
};

// Starts a program with its standard output thrown away (its result lines
// would run into the table), or kept in a file.
pid_t startQuiet(const std::vector<std::string> &arguments, const char *output = "/dev/null")
{
    std::vector<char *> argv;
    for (const std::string &argument : arguments)
        argv.push_back(const_cast<char *>(argument.c_str()));
    argv.push_back(nullptr);
    const pid_t child = fork();
    if (child == 0) {
        const int nothing = open(output, O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(nothing, STDOUT_FILENO);
        execv(argv[0], argv.data());
        _exit(127);
    }
    return child;
}

// Waits for a program's end and takes its own CPU time and peak RSS from wait4.
ChildRun waitMeasured(pid_t child)
{
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    const auto seconds = [](const timeval &t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
    return {0, seconds(usage.ru_utime) + seconds(usage.ru_stime),
            double(usage.ru_maxrss) / 1024.0, WIFEXITED(status) ? WEXITSTATUS(status) : -1};
}

// User and system time of a running process so far, from /proc.
double cpuSecondsOf(pid_t process)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(process));
    if (!stat.open(QIODevice::ReadOnly))
        return 0;
    // The fields after the command's name, which is in parentheses.
    const QByteArray line = stat.readAll();
    const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
    return (fields.at(11).toDouble() + fields.at(12).toDouble()) / double(sysconf(_SC_CLK_TCK));
}

ChildRun runMeasured(const std::vector<std::string> &arguments)
{
    QElapsedTimer clock;
    clock.start();
    ChildRun run = waitMeasured(startQuiet(arguments));
    run.seconds = double(clock.nsecsElapsed()) / 1e9;
    return run;
}

QString writeImage(const QString &dir)
{
    std::mt19937 random(pages);
    QByteArray image(pages * 8192, '\0');
    for (char &byte : image)
        byte = char(random());
    const QString path = dir + QStringLiteral("/parallel.dwq");
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(image) != image.size())
        throw std::runtime_error("cannot write " + path.toStdString());
    return path;
}

} // namespace

void runParallelCases(const QString &dir, int repeats)
{
    const QString path = writeImage(dir);

    std::printf("\nkvxflash, %d-page image, boards at %d bytes/s with %d ms flash write per page, each a\n"
                "kvxboard-sim process of its own; one kvxflash process flashes them all at once.\n"
                "Figures: median [min..max] of %d run(s).\n\n"
                "%-10s  %-26s  %-12s  %-26s  %-14s\n",
                pages, lineBytesPerSecond, flashWriteMs, repeats, "boards", "wall time (s)", "/ 1 board",
                "CPU (% of a core, per board)", "peak RSS (MiB)");
    double oneBoard = 0;
    // The last rows write a serial number into every board, from a counter
    // kept durably on the disk, and send every record to a broker.
    const Brokerprozess broker;
    const std::string sn[] = {"--sn", "0x100:4", "--sn-counter", (dir + "/sn").toStdString()};
    const std::string mqtt[] = {"--mqtt", "mqtt://127.0.0.1:" + std::to_string(broker.port()), "--mqtt-outbox",
                                (dir + "/parallel.outbox").toStdString()};
    struct Row
    {
        int boards;
        std::string label;
        std::vector<std::string> options;
    };
    std::vector<Row> cases{{1, "1", {}}, {4, "4", {}}, {8, "8", {}}, {32, "32", {}}, {8, "8 --sn", {sn, sn + 4}}};
    if (broker.port() != 0)
        cases.push_back({8, "8 --mqtt", {mqtt, mqtt + 4}});
    for (const auto &[boards, label, options] : cases) {
        std::fprintf(stderr, "kvxbench: kvxflash with %s board(s)\n", label.c_str());
        std::vector<std::unique_ptr<BoardProcess>> sims;
        std::vector<std::string> arguments{KVXFLASH, "-q"};
        for (int port = 1; port <= boards; ++port) {
            sims.push_back(std::make_unique<BoardProcess>(dir, 10 + port, lineBytesPerSecond, flashWriteMs));
            arguments.insert(arguments.end(), {"-p", sims.back()->portPath().toStdString()});
        }
        arguments.insert(arguments.end(), options.begin(), options.end());
        arguments.push_back(path.toStdString());

        std::vector<double> wall, cpu;
        double peak = 0;
        for (int i = 0; i < repeats; ++i) {
            const ChildRun run = runMeasured(arguments);
            if (run.status != 0)
                throw std::runtime_error("kvxflash ended with status " + std::to_string(run.status));
            wall.push_back(run.seconds);
            cpu.push_back(run.cpuSeconds / run.seconds * 100 / boards);
            peak = std::max(peak, run.peakMiB);
        }
        const Spread w = spreadOf(wall);
        const Spread c = spreadOf(cpu);
        if (boards == 1)
            oneBoard = w.median;
        char wallCell[64], cpuCell[64];
        std::snprintf(wallCell, sizeof wallCell, "%.3f [%.3f..%.3f]", w.median, w.min, w.max);
        std::snprintf(cpuCell, sizeof cpuCell, "%.2f [%.2f..%.2f]", c.median, c.min, c.max);
        std::printf("%-10s  %-26s  %-12.4f  %-26s  %-14.1f\n", label.c_str(), wallCell, w.median / oneBoard, cpuCell,
                    peak);
        std::fflush(stdout);
    }

    // Boards that answer "S" with an endless stream: what is received while
    // an answer is awaited is bounded, whatever they send.
    std::fputs("kvxbench: kvxflash with 8 flooding boards\n", stderr);
    std::vector<std::unique_ptr<BoardProcess>> floods;
    std::vector<std::string> arguments{KVXFLASH, "-q", "-r", "3"};
    for (int port = 1; port <= 8; ++port) {
        floods.push_back(std::make_unique<BoardProcess>(dir, 50 + port, 0, 0,
                                                        QStringList{QStringLiteral("--flood-from"), QStringLiteral("S")}));
        arguments.insert(arguments.end(), {"-p", floods.back()->portPath().toStdString()});
    }
    arguments.push_back(path.toStdString());
    const ChildRun flood = runMeasured(arguments);
    std::printf("\n8 boards flooding from \"S\" at full pty speed, -r 3: %.1f s, peak RSS %.1f MiB (status %d)\n",
                flood.seconds, flood.peakMiB, flood.status);
}

void runWatchCases(const QString &dir, int repeats)
{
    const QString watched = dir + QStringLiteral("/watched");
    QDir().mkpath(watched);
    qputenv("KVXLOADER_PORT_DIR", watched.toLocal8Bit());
    std::fputs("kvxbench: kvxflash --watch\n", stderr);
    // The start-up is left out: the second after it on, as a bench idles.
    constexpr int idleSeconds = 20;
    const pid_t watch = startQuiet({KVXFLASH, "--watch", writeImage(dir).toStdString()});
    sleep(1);
    const double before = cpuSecondsOf(watch);
    sleep(idleSeconds);
    const double idleCpu = cpuSecondsOf(watch) - before;
    kill(watch, SIGINT);
    const ChildRun watchRun = waitMeasured(watch);

    // Plugged in, and out again once it has been asked.
    const pid_t bench = startQuiet({KVXFLASH, "--watch", writeImage(dir).toStdString()});
    sleep(1);
    std::vector<double> firstByteMs;
    for (int i = 0; i < repeats; ++i) {
        QElapsedTimer plugged;
        kvxsim::PtyBoardOptions silent;
        silent.board.silent = true;
        {
            kvxsim::PtyBoard board(watched.toStdString(), 1, silent);
            plugged.start();
            if (!board.waitForReceived(1, 10000))
                throw std::runtime_error("kvxflash --watch did not ask the board");
            firstByteMs.push_back(double(plugged.nsecsElapsed()) / 1e6);
            QThread::msleep(700);  // the detection ends
        }
        QThread::msleep(500);  // the watch sees the port gone
    }
    kill(bench, SIGINT);
    waitpid(bench, nullptr, 0);

    const Spread s = spreadOf(firstByteMs);
    std::printf("\nkvxflash --watch, nothing plugged in for %d s: %.3f s CPU, %.3f %% of a core, peak RSS %.1f MiB\n"
                "Port appearing to \"S\" on its line: %.0f ms [%.0f..%.0f], %d plug-in(s)\n",
                idleSeconds, idleCpu, idleCpu / idleSeconds * 100, watchRun.peakMiB, s.median, s.min, s.max, repeats);
}

namespace {

// A port that was free a moment ago, for the page to listen on.
int freePort()
{
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    bind(fd, reinterpret_cast<sockaddr *>(&address), length);
    getsockname(fd, reinterpret_cast<sockaddr *>(&address), &length);
    close(fd);
    return ntohs(address.sin_port);
}

// Clients of the bench page on plain sockets, connected while kvxflash
// starts: WebSockets on the event stream, read as fast as they come, and
// idle connections that send nothing at all.
class PageClients
{
public:
    PageClients(int port, int websockets, int idle)
    {
        const std::string handshake = "GET /api/events HTTP/1.1\r\nHost: 127.0.0.1:" + std::to_string(port)
            + "\r\nUpgrade: websocket\r\nConnection: Upgrade\r\nSec-WebSocket-Key: dGhlIHNhbXBsZSBub25jZQ==\r\n"
              "Sec-WebSocket-Version: 13\r\n\r\n";
        for (int i = 0; i < websockets + idle; ++i) {
            const int fd = connectTo(port);
            if (i < websockets) {
                if (write(fd, handshake.data(), handshake.size()) != ssize_t(handshake.size()))
                    throw std::runtime_error("cannot ask for the event stream");
                m_readers.push_back({fd, POLLIN, 0});
            }
            m_all.push_back(fd);
        }
        m_thread = std::thread([this] { readAll(); });
    }
    ~PageClients()
    {
        m_stop = true;
        m_thread.join();
        for (const int fd : m_all)
            close(fd);
    }

private:
    static int connectTo(int port)
    {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = htons(port);
        for (int attempt = 0; attempt < 500; ++attempt) {
            const int fd = socket(AF_INET, SOCK_STREAM, 0);
            if (connect(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0)
                return fd;
            close(fd);
            QThread::msleep(10);
        }
        throw std::runtime_error("the bench page does not listen");
    }
    void readAll()
    {
        char buffer[65536];
        while (!m_stop) {
            if (poll(m_readers.data(), m_readers.size(), 50) <= 0)
                continue;
            for (pollfd &reader : m_readers)
                if (reader.revents && read(reader.fd, buffer, sizeof buffer) <= 0)
                    reader.fd = -1;  // closed: poll leaves it alone
        }
    }

    std::vector<int> m_all;
    std::vector<pollfd> m_readers;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

// The boards' own upload times, from kvxflash --json.
std::vector<double> boardSeconds(const QString &jsonLines)
{
    QFile file(jsonLines);
    std::vector<double> seconds;
    if (file.open(QIODevice::ReadOnly))
        for (const QByteArray &line : file.readAll().split('\n'))
            if (!line.isEmpty())
                seconds.push_back(QJsonDocument::fromJson(line).object().value(QStringLiteral("seconds")).toDouble());
    return seconds;
}

} // namespace

void runPageCases(const QString &dir, int repeats)
{
    constexpr int boards = 32;
    const QString path = writeImage(dir);
    const QString output = dir + QStringLiteral("/results.json");
    std::printf("\nkvxflash --serve: %d boards at once, %d-page image, paced as above; page clients on\n"
                "loopback. Wall time and the boards' own seconds: median [min..max] of %d run(s).\n\n"
                "%-30s  %-26s  %-8s  %-22s  %-14s\n",
                boards, pages, repeats, "page", "wall time (s)", "ratio", "board seconds", "peak RSS (MiB)");
    struct PageCase
    {
        const char *label;
        bool serve;
        int websockets;
        int idle;
    };
    const std::vector<PageCase> cases{{"no --serve", false, 0, 0},
                                      {"--serve, 20 WebSockets reading", true, 20, 0},
                                      {"--serve, 64 WebSockets reading", true, 64, 0},
                                      {"--serve, 500 idle connections", true, 0, 500}};
    double without = 0;
    for (const PageCase &c : cases) {
        std::fprintf(stderr, "kvxbench: kvxflash with %d boards, %s\n", boards, c.label);
        std::vector<std::unique_ptr<BoardProcess>> sims;
        std::vector<std::string> arguments{KVXFLASH, "--json"};
        for (int port = 1; port <= boards; ++port) {
            sims.push_back(std::make_unique<BoardProcess>(dir, 100 + port, lineBytesPerSecond, flashWriteMs));
            arguments.insert(arguments.end(), {"-p", sims.back()->portPath().toStdString()});
        }
        const int port = freePort();
        if (c.serve)
            arguments.insert(arguments.end(), {"--serve", std::to_string(port)});
        arguments.push_back(path.toStdString());

        std::vector<double> wall, board;
        double peak = 0;
        for (int i = 0; i < repeats; ++i) {
            QElapsedTimer clock;
            clock.start();
            const pid_t child = startQuiet(arguments, output.toLocal8Bit().constData());
            ChildRun run;
            {
                std::optional<PageClients> clients;
                if (c.serve)
                    clients.emplace(port, c.websockets, c.idle);
                run = waitMeasured(child);
            }
            run.seconds = double(clock.nsecsElapsed()) / 1e9;
            if (run.status != 0)
                throw std::runtime_error("kvxflash ended with status " + std::to_string(run.status));
            wall.push_back(run.seconds);
            const std::vector<double> seconds = boardSeconds(output);
            board.insert(board.end(), seconds.begin(), seconds.end());
            peak = std::max(peak, run.peakMiB);
        }
        const Spread w = spreadOf(wall);
        const Spread b = spreadOf(board);
        if (!c.serve)
            without = w.median;
        char wallCell[64], boardCell[64];
        std::snprintf(wallCell, sizeof wallCell, "%.3f [%.3f..%.3f]", w.median, w.min, w.max);
        std::snprintf(boardCell, sizeof boardCell, "%.2f [%.2f..%.2f]", b.median, b.min, b.max);
        std::printf("%-30s  %-26s  %-8.4f  %-22s  %-14.1f\n", c.label, wallCell, w.median / without, boardCell, peak);
        std::fflush(stdout);
    }
}
