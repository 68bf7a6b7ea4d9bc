#include "app/kvxload.h"
#include "core/qtdeutsch.h"
#include "serial/qtcomport.h"
#include "ui/qtdialoge.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("KVXLoader"));

    qtTexteAufDeutsch();

    QtComPort irda;
    QtDialoge dialoge;
    KVXLoad fenster(irda, dialoge);
    fenster.Form_Load();
    dialoge.setOwner(&fenster);
    fenster.show();
    return app.exec();
}
