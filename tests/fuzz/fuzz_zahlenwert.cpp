// libFuzzer target: the port field's number reading, for any pasted text and
// for well-formed numbers against the C library's reading.

#include "eigenschaften.h"

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *daten, std::size_t groesse)
{
    const QByteArray bytes(reinterpret_cast<const char *>(daten), qsizetype(groesse));
    Steuerung zeichen(bytes);
    Steuerung bauplan(bytes);
    for (const QString &fehler : {Zahlenpruefung::jederText(QString::fromUtf8(bytes)),
                                  Zahlenpruefung::jederText(Zahlenpruefung::textAus(zeichen)),
                                  Zahlenpruefung::wohlgeformt(bauplan)}) {
        if (!fehler.isEmpty()) {
            std::fprintf(stderr, "%s\n", qPrintable(fehler));
            std::abort();
        }
    }
    return 0;
}
