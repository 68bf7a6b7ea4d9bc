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
#include <random>
#include <stdexcept>
#include <vector>

#include <fcntl.h>
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
// would run into the table).
pid_t startQuiet(const std::vector<std::string> &arguments)
{
    std::vector<char *> argv;
    for (const std::string &argument : arguments)
        argv.push_back(const_cast<char *>(argument.c_str()));
    argv.push_back(nullptr);
    const pid_t child = fork();
    if (child == 0) {
        const int nothing = open("/dev/null", O_WRONLY);
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
