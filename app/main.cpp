#include "app/kvxload.h"
#include "serial/qtcomport.h"
#include "ui/qtdialoge.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("KVXLoader"));

    // The program speaks German, so Qt's own dialogs do too, where the
    // translation is installed.
    QTranslator qtTexte;
    if (qtTexte.load(QLocale(QLocale::German, QLocale::Germany), QStringLiteral("qtbase"),
                     QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTexte);

    QtComPort irda;
    QtDialoge dialoge;
    KVXLoad fenster(irda, dialoge);
    fenster.Form_Load();
    dialoge.setOwner(&fenster);
    fenster.show();
    return app.exec();
}
