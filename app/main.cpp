#include "app/kvxload.h"
#include "app/version.h"
#include "core/sprache.h"
#include "core/texte.h"
#include "serial/qtcomport.h"
#include "ui/qtdialoge.h"

#include <QApplication>
#include <QCommandLineParser>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("KVXLoader"));
    QApplication::setApplicationVersion(QStringLiteral(KVXLOADER_VERSION));

    spracheEinrichten();

    // Only --help and --version, for the manual page and the package check.
    QCommandLineParser aufruf;
    aufruf.setApplicationDescription(Texte::programmBeschreibung());
    aufruf.addHelpOption();
    aufruf.addVersionOption();
    aufruf.process(app);

    QtComPort irda;
    QtDialoge dialoge;
    KVXLoad fenster(irda, dialoge);
    fenster.Form_Load();
    dialoge.setOwner(&fenster);
    fenster.show();
    return app.exec();
}
