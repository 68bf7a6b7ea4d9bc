#include "app/kvxload.h"
#include "app/version.h"
#include "core/sprache.h"
#include "core/texte.h"
#include "serial/qtcomport.h"
#include "ui/qtdialoge.h"

#include <QApplication>
#include <QCommandLineParser>

#include <cstring>

namespace {

// Only --help and --version, for the manual page and the package check;
// anything else on the command line is refused here.
void aufrufPruefen(QCoreApplication &app)
{
    QCoreApplication::setApplicationName(QStringLiteral("KVXLoader"));
    QCoreApplication::setApplicationVersion(QStringLiteral(KVXLOADER_VERSION));
    spracheEinrichten();
    QCommandLineParser aufruf;
    aufruf.setApplicationDescription(Texte::programmBeschreibung());
    aufruf.addHelpOption();
    aufruf.addVersionOption();
    aufruf.process(app);
}

// --help and --version are answered without a display.
bool nurAuskunft(int argc, char *argv[])
{
    for (int i = 1; i < argc; ++i)
        for (const char *option : {"-h", "--help", "-?", "--help-all", "-v", "--version"})
            if (std::strcmp(argv[i], option) == 0)
                return true;
    return false;
}

} // namespace

int main(int argc, char *argv[])
{
    if (nurAuskunft(argc, argv)) {
        QCoreApplication auskunft(argc, argv);
        aufrufPruefen(auskunft);
    }
    QApplication app(argc, argv);
    aufrufPruefen(app);

    QtComPort irda;
    QtDialoge dialoge;
    KVXLoad fenster(irda, dialoge);
    fenster.Form_Load();
    dialoge.setOwner(&fenster);
    fenster.show();
    return app.exec();
}
