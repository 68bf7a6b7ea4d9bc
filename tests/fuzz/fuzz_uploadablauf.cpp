// libFuzzer target: one upload per input, in the real window on a scripted
// port, with the promises of the upload checked after every event.

#include "eigenschaften.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>

namespace {

Uploadpruefstand &stand()
{
    static Uploadpruefstand einziger;
    return einziger;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "fuzz_uploadablauf";
    static char *argv[] = {name, nullptr};
    static QApplication anwendung(argc, argv);
    stand();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *daten, std::size_t groesse)
{
    const QString fehler = stand().folge(QByteArray(reinterpret_cast<const char *>(daten), qsizetype(groesse)));
    if (!fehler.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(fehler));
        std::abort();
    }
    return 0;
}
