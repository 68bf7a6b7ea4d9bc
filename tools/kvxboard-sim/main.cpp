// kvxboard-sim: a simulated KVX-Board (DWQ bootloader) on a pty linked as DIR/COM<n>.
#include "ptyboard.h"

#include "app/version.h"
#include "core/sprache.h"

#include <QCoreApplication>

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

QString aufruf()
{
    //: The --help text: keep the option names and the column where the explanations start
    return QCoreApplication::translate("kvxboard-sim",
        "Aufruf: kvxboard-sim --dir ORDNER [Optionen]\n"
        "Simuliert den DWQ-Bootloader des KVX-Boards auf einem Pseudoterminal, verlinkt als ORDNER/COM<n>.\n"
        "  --dir ORDNER            Ordner für den Link COM<n> (wird angelegt, wenn er fehlt)\n"
        "  --port N[-M]            Portnummer oder Bereich, wiederholbar: je eine Platine (Vorgabe 3);\n"
        "                          bei mehreren Platinen wird an jede Datei unten .COM<n> angehängt\n"
        "  --pace                  im Tempo einer Leitung mit 115200 bit/s 8N1 (11520 Bytes/s)\n"
        "  --bytes-per-second N    Tempo in Bytes pro Sekunde (0 = unbegrenzt)\n"
        "  --flash-ms N            nach jeder Seite N ms warten, bevor die Antwort kommt\n"
        "  --silent                nie antworten\n"
        "  --answer TEXT           Antwort auf \"S\" (Vorgabe AVRB128; \\r für CR)\n"
        "  --answer-delay-ms N     \"S\" erst nach N ms beantworten\n"
        "  --no-cr-after SCHRITT   bei SCHRITT \"?\" statt CR antworten (e, #N, ...)\n"
        "  --wrong-crc             eine CRC mit gekippten Bits antworten\n"
        "  --crc-extra-byte        nach den vier CRC-Bytes noch ein CR senden\n"
        "  --early-answer K        CR schon nach K Datenbytes jeder Seite antworten\n"
        "  --silent-from SCHRITT   ab SCHRITT nichts mehr antworten\n"
        "  --flood-from SCHRITT    ab SCHRITT ohne Ende '~' senden\n"
        "  --drop-at SCHRITT       bei SCHRITT die Leitung auflegen, statt zu antworten\n"
        "  --reconnect-ms N        nach --drop-at nach N ms ein neues Pseudoterminal verlinken\n"
        "  --noise SEED:ANZAHL[:SPANNE]  ANZAHL Zufallsbytes in den ersten SPANNE Bytes vom Host\n"
        "  --trace DATEI           Befehlsprotokoll, eine Zeile je Befehl\n"
        "  --received DATEI        die empfangenen Bytes, roh\n"
        "  --flash DATEI           das Flash-Abbild\n"
        "  --help                  dieser Text\n"
        "  --version               Programmversion\n"
        "Schritte: S, P, e, A, #1..#15 (n-ter Seitenbefehl seit P), $.\n");
}

void ausgeben(std::FILE *ziel, const QString &text)
{
    std::fputs(qUtf8Printable(text), ziel);
}

void fehlerAusgeben(const QString &text)
{
    ausgeben(stderr, QStringLiteral("kvxboard-sim: ") + text + QLatin1Char('\n'));
}

[[noreturn]] void usageError(const QString &msg)
{
    fehlerAusgeben(msg);
    ausgeben(stderr, aufruf());
    std::exit(2);
}

int toInt(const std::string &opt, const std::string &v)
{
    char *end = nullptr;
    long n = std::strtol(v.c_str(), &end, 10);
    if (v.empty() || *end || n < 0 || n > 100000000)
        usageError(QCoreApplication::translate("kvxboard-sim", "Ungültige Zahl für %1: %2")
                       .arg(QString::fromStdString(opt), QString::fromStdString(v)));
    return int(n);
}

// Why a board could not be set up, in the user's language.
QString einrichtungsfehler(const kvxsim::SetupError &e)
{
    const QString pfad = QString::fromStdString(e.path);
    const QString grund = QString::fromLocal8Bit(std::strerror(e.error));
    return e.kind == kvxsim::SetupError::cannotWrite
        ? QCoreApplication::translate("kvxboard-sim", "%1 lässt sich nicht schreiben: %2").arg(pfad, grund)
        : QCoreApplication::translate("kvxboard-sim", "Pseudoterminal für %1 lässt sich nicht anlegen: %2").arg(pfad, grund);
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
    QCoreApplication app(argc, argv);
    spracheEinrichten();

    std::string dir;
    std::vector<int> ports;
    kvxsim::PtyBoardOptions o;

    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        auto value = [&]() -> std::string {
            if (i + 1 >= argc)
                usageError(QCoreApplication::translate("kvxboard-sim", "%1 braucht einen Wert").arg(QString::fromStdString(a)));
            return argv[++i];
        };
        if (a == "--help" || a == "-h") {
            ausgeben(stdout, aufruf());
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
                usageError(QCoreApplication::translate("kvxboard-sim", "Ungültiger Wert für --noise: %1")
                               .arg(QString::fromStdString(v)));
            o.board.noiseSeed = seed;
            o.board.noiseCount = count;
            if (n == 3 && span > 0)
                o.board.noiseSpan = span;
        }
        else if (a == "--trace") o.traceFile = value();
        else if (a == "--received") o.receivedFile = value();
        else if (a == "--flash") o.flashFile = value();
        else usageError(QCoreApplication::translate("kvxboard-sim", "Unbekannte Option %1").arg(QString::fromStdString(a)));
    }
    if (dir.empty())
        usageError(QCoreApplication::translate("kvxboard-sim", "--dir fehlt"));
    if (ports.empty())
        ports.push_back(3);

    // Block the stop signals in every thread; the main thread waits for them.
    sigset_t sigs;
    sigemptyset(&sigs);
    sigaddset(&sigs, SIGINT);
    sigaddset(&sigs, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &sigs, nullptr);

    std::error_code ordnerfehler;
    std::filesystem::create_directories(dir, ordnerfehler);
    if (ordnerfehler) {
        fehlerAusgeben(QCoreApplication::translate("kvxboard-sim", "Ordner %1 lässt sich nicht anlegen: %2")
                           .arg(QString::fromStdString(dir), QString::fromLocal8Bit(ordnerfehler.message())));
        return 1;
    }
    try {
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
    } catch (const kvxsim::SetupError &e) {
        fehlerAusgeben(einrichtungsfehler(e));
        return 1;
    } catch (const std::exception &e) {
        fehlerAusgeben(QString::fromLocal8Bit(e.what()));
        return 1;
    }
    return 0;
}
