// kvxbench: the loader's upload against the limit of the simulated line, and
// the simplest blocking host on the same line beside it. Prints figures only.

#include "boardprocess.h"
#include "brokerbench.h"
#include "clibench.h"
#include "idealhost.h"
#include "loaderwindow.h"
#include "processusage.h"
#include "spread.h"
#include "update/crc32.h"
#include "update/updatedatei.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>
#include <cstring>
#include <functional>
#include <random>
#include <stdexcept>
#include <string>

namespace {

constexpr int lineBytesPerSecond = 11520;  // 115200 bit/s, 8N1
constexpr int flashWriteMs = 20;
constexpr int pageSize = Updatedatei::seitengroesse;
constexpr int largestImage = Updatedatei::hoechsteSeitenzahl;
constexpr char startupProbe[] = "--startup-probe";
constexpr char windowShown[] = "window shown";

struct Case
{
    Case(int pages, int repeats) : pages(pages), repeats(repeats) {}

    int pages;
    int repeats;
    std::vector<double> loaderSeconds;
    std::vector<double> hostSeconds;
    std::vector<double> gapMs;
    std::vector<double> ratios;
    std::vector<double> cpuMs;
    std::vector<double> cpuPercent;
    double peakMiB = 0;
};

// Pseudo-random, but the same in every run.
QByteArray imageOf(int pages)
{
    std::mt19937 random(pages);
    QByteArray image(qsizetype(pages) * pageSize, '\0');
    for (char &byte : image)
        byte = char(random());
    return image;
}

// "P", "e", "A" with two bytes, "#" with a page for every page, "$".
int bytesSent(int pages)
{
    return 6 + (pageSize + 1) * pages;
}

// The least an update can take: every byte both ways at the line's pace,
// plus the board's flash write of each page.
double lineFloorSeconds(int pages)
{
    const int boardBytes = 3 + pages + 4;  // CR after P, e, A and each page; the CRC
    return double(bytesSent(pages) + boardBytes) / lineBytesPerSecond + pages * flashWriteMs / 1000.0;
}

// Started by the benchmark as a process of its own: the program's start, up
// to the window shown, then a line on stdout.
int runStartupProbe(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("KVXLoader"));
    const LoaderWindow window;
    std::puts(windowShown);
    std::fflush(stdout);
    return 0;
}

// Milliseconds from starting a process to its window shown.
Spread startupMs(int repeats)
{
    std::vector<double> times;
    for (int i = 0; i < repeats; ++i) {
        QProcess probe;
        probe.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        QElapsedTimer clock;
        clock.start();
        probe.start(QCoreApplication::applicationFilePath(), {QString::fromLatin1(startupProbe)});
        while (!probe.canReadLine() && probe.waitForReadyRead(10000)) {
        }
        const double ms = double(clock.nsecsElapsed()) / 1e6;
        if (!probe.readLine().startsWith(windowShown))
            throw std::runtime_error("the start-up probe did not show its window");
        probe.waitForFinished();
        times.push_back(ms);
    }
    return spreadOf(times);
}

// MB/s of the loader's CRC-32 over the largest image, each figure from
// repeated passes of at least a fifth of a second.
Spread crcThroughput(int repeats)
{
    Crc32 crc;
    crc.CRCInit(Crc32::standardPolynomial);
    const QByteArray image = imageOf(largestImage);
    std::vector<double> rates;
    [[maybe_unused]] volatile char sink = 0;  // keeps the passes from being optimised away
    for (int i = 0; i < repeats; ++i) {
        QElapsedTimer clock;
        clock.start();
        qint64 bytes = 0;
        while (clock.elapsed() < 200) {
            sink = crc.crc32(image).at(0);
            bytes += image.size();
        }
        rates.push_back(double(bytes) / (double(clock.nsecsElapsed()) / 1e9) / 1e6);
    }
    return spreadOf(rates);
}

void runCase(Case &c, const QString &dir, LoaderWindow &loader, IdealHost &host)
{
    const QByteArray image = imageOf(c.pages);
    const QString path = dir + QStringLiteral("/image-%1.dwq").arg(c.pages);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(image) != image.size())
        throw std::runtime_error("cannot write " + path.toStdString());
    file.close();

    // A stuck update ends the benchmark instead of hanging it.
    const int limitMs = int(lineFloorSeconds(c.pages) * 3000) + 5000;
    std::fprintf(stderr, "kvxbench: %d-page image, %d run(s)\n", c.pages, c.repeats);
    // Loader and ideal host take turns, so that a busy moment of the machine
    // falls on both alike.
    for (int i = 0; i < c.repeats; ++i) {
        const LoaderWindow::Update update = loader.update(path, limitMs);
        const double hostSeconds = host.update(image);
        c.loaderSeconds.push_back(update.seconds);
        c.hostSeconds.push_back(hostSeconds);
        c.gapMs.push_back((update.seconds - hostSeconds) * 1000);
        c.ratios.push_back(update.seconds / hostSeconds);
        c.cpuMs.push_back(update.cpuSeconds * 1000);
        c.cpuPercent.push_back(update.cpuSeconds / update.seconds * 100);
    }
    c.peakMiB = peakResidentMiB();
}

void printCells(const char *label, const std::vector<Case> &cases,
                const std::function<std::string(const Case &)> &cell)
{
    std::printf("%-28s", label);
    for (const Case &c : cases)
        std::printf("  %-24s", cell(c).c_str());
    std::printf("\n");
}

std::string formatted(const char *format, double value)
{
    char text[32];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

void printSpreads(const char *label, const std::vector<Case> &cases, const char *format,
                  std::vector<double> Case::*figures)
{
    printCells(label, cases, [&](const Case &c) {
        const Spread s = spreadOf(c.*figures);
        return formatted(format, s.median) + " [" + formatted(format, s.min) + ".."
               + formatted(format, s.max) + "]";
    });
}

void printReport(const std::vector<Case> &cases, const Spread &startup, int startupRuns, const Spread &crc)
{
    std::printf("\nUpdates against kvxboard-sim at %d bytes/s (115200 bit/s 8N1), %d ms flash write per page.\n"
                "Figures: median [min..max]. The loader is this process, its window offscreen on QtComPort,\n"
                "so its CPU time and peak RSS are this process's. Each board is a kvxboard-sim process of\n"
                "its own: one for the loader, one for the ideal host.\n\n",
                lineBytesPerSecond, flashWriteMs);

    printCells("", cases, [](const Case &c) {
        return std::to_string(c.pages) + (c.pages == 1 ? " page, " : " pages, ") + std::to_string(c.repeats)
               + (c.repeats == 1 ? " run" : " runs");
    });
    printCells("bytes sent", cases, [](const Case &c) { return std::to_string(bytesSent(c.pages)); });
    printCells("line floor (s)", cases, [](const Case &c) { return formatted("%.3f", lineFloorSeconds(c.pages)); });
    printSpreads("loader, click to result (s)", cases, "%.3f", &Case::loaderSeconds);
    printSpreads("ideal host (s)", cases, "%.3f", &Case::hostSeconds);
    printSpreads("loader - ideal host (ms)", cases, "%.1f", &Case::gapMs);
    printSpreads("loader / ideal host", cases, "%.4f", &Case::ratios);
    printSpreads("loader CPU (ms/update)", cases, "%.1f", &Case::cpuMs);
    printSpreads("loader CPU (% of a core)", cases, "%.2f", &Case::cpuPercent);
    printCells("loader peak RSS (MiB)", cases, [](const Case &c) { return formatted("%.1f", c.peakMiB); });

    std::printf("\nStart-up to window shown (a process of its own, offscreen, %d run(s)): %.1f ms [%.1f..%.1f]\n",
                startupRuns, startup.median, startup.min, startup.max);
    std::printf("CRC-32 over a %d-page image (%d bytes): %.1f MB/s [%.1f..%.1f]\n", largestImage,
                largestImage * pageSize, crc.median, crc.min, crc.max);
}

int runBenchmark(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Times whole updates of 1, 4 and 15 pages through the loader's window and through the "
        "simplest blocking host, both against kvxboard-sim at the pace of a 115200 bit/s line."));
    parser.addHelpOption();
    const QCommandLineOption repeatsOption(QStringLiteral("repeats"),
                                           QStringLiteral("Runs of every case (default: 5, and 3 for 15 pages)."),
                                           QStringLiteral("n"));
    parser.addOption(repeatsOption);
    const QCommandLineOption cliOption(QStringLiteral("cli"), QStringLiteral("Only the command line's figures."));
    parser.addOption(cliOption);
    const QCommandLineOption pageOption(QStringLiteral("page"), QStringLiteral("Only the bench page's figures."));
    parser.addOption(pageOption);
    parser.process(app);
    const int repeats = qMax(1, parser.value(repeatsOption).toInt());
    const auto runs = [&](int standard) { return parser.isSet(repeatsOption) ? repeats : standard; };

    QTemporaryDir dir;
    if (!dir.isValid())
        throw std::runtime_error("cannot create a temporary folder");
    if (parser.isSet(pageOption)) {
        runPageCases(dir.path(), runs(3));
        return 0;
    }
    if (parser.isSet(cliOption)) {
        runParallelCases(dir.path(), runs(3));
        runWatchCases(dir.path(), runs(5));
        runBrokerCases(dir.path(), runs(3));
        runPageCases(dir.path(), runs(3));
        return 0;
    }
    // The loader's port names lead into this folder; its board is COM3, where it looks first.
    qputenv("KVXLOADER_PORT_DIR", dir.path().toLocal8Bit());
    const BoardProcess loaderBoard(dir.path(), 3, lineBytesPerSecond, flashWriteMs);
    const BoardProcess hostBoard(dir.path(), 4, lineBytesPerSecond, flashWriteMs);

    const int startupRuns = runs(5);
    std::fputs("kvxbench: start-up and CRC-32\n", stderr);
    const Spread startup = startupMs(startupRuns);
    const Spread crc = crcThroughput(startupRuns);

    LoaderWindow loader;
    loader.waitForBootloader();
    IdealHost host(hostBoard.portPath());
    std::vector<Case> cases{{1, runs(5)}, {4, runs(5)}, {largestImage, runs(3)}};
    for (Case &c : cases)
        runCase(c, dir.path(), loader, host);

    printReport(cases, startup, startupRuns, crc);
    runParallelCases(dir.path(), runs(3));
    runWatchCases(dir.path(), runs(5));
    runBrokerCases(dir.path(), runs(3));
    runPageCases(dir.path(), runs(3));
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    try {
        if (argc == 2 && std::strcmp(argv[1], startupProbe) == 0)
            return runStartupProbe(argc, argv);
        return runBenchmark(argc, argv);
    } catch (const std::exception &e) {
        std::fprintf(stderr, "kvxbench: %s\n", e.what());
        return 1;
    }
}
