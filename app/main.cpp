#include "app/kvxload.h"
#include "app/version.h"
#include "core/abbruchsignal.h"
#include "core/sprache.h"
#include "core/texte.h"
#include "serial/qtcomport.h"
#include "ui/qtdialoge.h"

#include <QApplication>
#include <QCommandLineParser>

#include <cstring>

namespace {

// Only --help, --help-all and --version, for the manual page and the package
// check; anything else on the command line is refused here.
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

bool angegeben(int argc, char *argv[], std::initializer_list<const char *> optionen)
{
    for (int i = 1; i < argc; ++i)
        for (const char *option : optionen)
            if (std::strcmp(argv[i], option) == 0)
                return true;
    return false;
}

} // namespace

int main(int argc, char *argv[])
{
    // The answers need no display. Only a window application lists Qt's
    // options for windows (--platform, ...), so --help-all gets one that
    // draws nowhere.
    if (angegeben(argc, argv, {"-h", "--help", "-?", "-v", "--version"})) {
        QCoreApplication auskunft(argc, argv);
        aufrufPruefen(auskunft);
    }
    if (angegeben(argc, argv, {"--help-all"}))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    aufrufPruefen(app);
    // SIGTERM and SIGHUP end the window as closing it would: the port is
    // closed and its lock file removed. exit() also ends an open message
    // box's loop; one that came before the main loop ends it before it starts.
    Abbruchsignal ende;
    bool beendet = false;
    QObject::connect(&ende, &Abbruchsignal::ausgeloest, &app, [&beendet] {
        beendet = true;
        QCoreApplication::exit(0);
    });

    QtComPort irda;
    QtDialoge dialoge;
    KVXLoad fenster(irda, dialoge);
    fenster.Form_Load();
    if (beendet)
        return 0;
    dialoge.setOwner(&fenster);
    fenster.show();
    return app.exec();
}
