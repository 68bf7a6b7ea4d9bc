// kvxboard-sim: a simulated KVX-Board (DWQ bootloader) on a pty linked as DIR/COM<n>.
#include "ptyboard.h"

#include "app/version.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <signal.h>

namespace {

const char *const kUsage =
    "usage: kvxboard-sim --dir DIR [options]\n"
    "Simulates the KVX-Board's DWQ bootloader on a pty linked as DIR/COM<n>.\n"
    "  --dir DIR               directory for the COM<n> link (created if missing)\n"
    "  --port N[-M]            port number or range, repeatable: one board each (default 3);\n"
    "                          with several boards each file below gets .COM<n> appended\n"
    "  --pace                  115200 bit/s 8N1 pace (11520 bytes/s)\n"
    "  --bytes-per-second N    pace in bytes per second (0 = unlimited)\n"
    "  --flash-ms N            wait N ms after each page before answering\n"
    "  --silent                never answer\n"
    "  --answer TEXT           answer to \"S\" (default AVRB128; \\r for CR)\n"
    "  --answer-delay-ms N     answer \"S\" only after N ms\n"
    "  --no-cr-after STEP      answer \"?\" instead of CR at STEP (e, #N, ...)\n"
    "  --wrong-crc             answer a CRC with flipped bits\n"
    "  --crc-extra-byte        send a CR after the four CRC bytes\n"
    "  --early-answer K        answer CR already after K data bytes of each page\n"
    "  --silent-from STEP      answer nothing from STEP on\n"
    "  --flood-from STEP       from STEP on send '~' without end\n"
    "  --drop-at STEP          hang up the line at STEP instead of answering\n"
    "  --reconnect-ms N        after --drop-at, relink a new pty after N ms\n"
    "  --noise SEED:COUNT[:SPAN]  COUNT random bytes within the first SPAN host bytes\n"
    "  --trace FILE            command trace, one line per command\n"
    "  --received FILE         raw bytes received\n"
    "  --flash FILE            flash image\n"
    "  --help                  this text\n"
    "  --version               program version\n"
    "Steps: S, P, e, A, #1..#15 (n-th page command since P), $.\n";

[[noreturn]] void usageError(const std::string &msg)
{
    std::fprintf(stderr, "kvxboard-sim: %s\n%s", msg.c_str(), kUsage);
    std::exit(2);
}

int toInt(const std::string &opt, const std::string &v)
{
    char *end = nullptr;
    long n = std::strtol(v.c_str(), &end, 10);
    if (v.empty() || *end || n < 0 || n > 100000000)
        usageError("bad number for " + opt + ": " + v);
    return int(n);
}

std::string unescape(const std::string &s)
{
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\\' && i + 1 < s.size() && (s[i + 1] == 'r' || s[i + 1] == 'n' || s[i + 1] == '\\')) {
            ++i;
            out.push_back(s[i] == 'r' ? '\r' : s[i] == 'n' ? '\n' : '\\');
        } else {
            out.push_back(s[i]);
        }
    }
    return out;
}

} // namespace

int main(int argc, char **argv)
{
    std::string dir;
    std::vector<int> ports;
    kvxsim::PtyBoardOptions o;

    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        auto value = [&]() -> std::string {
            if (i + 1 >= argc)
                usageError(a + " needs a value");
            return argv[++i];
        };
        if (a == "--help" || a == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        } else if (a == "--version") {
            std::puts("kvxboard-sim " KVXLOADER_VERSION);
            return 0;
        } else if (a == "--dir") dir = value();
        else if (a == "--port") {
            const std::string v = value();
            const std::size_t strich = v.find('-');
            const int von = toInt(a, v.substr(0, strich));
            const int bis = strich == std::string::npos ? von : toInt(a, v.substr(strich + 1));
            for (int n = von; n <= bis; ++n)
                ports.push_back(n);
        }
        else if (a == "--pace") o.bytesPerSecond = 11520;
        else if (a == "--bytes-per-second") o.bytesPerSecond = toInt(a, value());
        else if (a == "--flash-ms") o.flashWriteMs = toInt(a, value());
        else if (a == "--silent") o.board.silent = true;
        else if (a == "--answer") o.board.queryAnswer = unescape(value());
        else if (a == "--answer-delay-ms") o.board.queryAnswerDelayMs = toInt(a, value());
        else if (a == "--no-cr-after") o.board.noCrAfter = value();
        else if (a == "--wrong-crc") o.board.wrongCrc = true;
        else if (a == "--crc-extra-byte") o.board.crcExtraByte = true;
        else if (a == "--early-answer") o.board.earlyAnswerInPage = toInt(a, value());
        else if (a == "--silent-from") o.board.silentFrom = value();
        else if (a == "--flood-from") o.board.floodFrom = value();
        else if (a == "--drop-at") o.board.dropAt = value();
        else if (a == "--reconnect-ms") o.reconnectAfterMs = toInt(a, value());
        else if (a == "--noise") {
            std::string v = value();
            unsigned seed = 0;
            int count = 0;
            long span = 0;
            int n = std::sscanf(v.c_str(), "%u:%d:%ld", &seed, &count, &span);
            if (n < 2 || count < 0)
                usageError("bad --noise value: " + v);
            o.board.noiseSeed = seed;
            o.board.noiseCount = count;
            if (n == 3 && span > 0)
                o.board.noiseSpan = span;
        }
        else if (a == "--trace") o.traceFile = value();
        else if (a == "--received") o.receivedFile = value();
        else if (a == "--flash") o.flashFile = value();
        else usageError("unknown option " + a);
    }
    if (dir.empty())
        usageError("--dir is required");
    if (ports.empty())
        ports.push_back(3);

    // Block the stop signals in every thread; the main thread waits for them.
    sigset_t sigs;
    sigemptyset(&sigs);
    sigaddset(&sigs, SIGINT);
    sigaddset(&sigs, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &sigs, nullptr);

    try {
        std::filesystem::create_directories(dir);
        std::vector<std::unique_ptr<kvxsim::PtyBoard>> boards;
        for (int port : ports) {
            kvxsim::PtyBoardOptions eigene = o;
            if (ports.size() > 1) {
                for (std::string *datei : {&eigene.traceFile, &eigene.receivedFile, &eigene.flashFile})
                    if (!datei->empty())
                        *datei += ".COM" + std::to_string(port);
            }
            boards.push_back(std::make_unique<kvxsim::PtyBoard>(dir, port, eigene));
            std::printf("kvxboard-sim: COM%d -> %s\n", port, boards.back()->slavePath().c_str());
        }
        std::fflush(stdout);
        int sig = 0;
        sigwait(&sigs, &sig);
    } catch (const std::exception &e) {
        std::fprintf(stderr, "kvxboard-sim: %s\n", e.what());
        return 1;
    }
    return 0;
}
