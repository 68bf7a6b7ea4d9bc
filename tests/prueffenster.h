#pragma once

// The real main window on the real serial port, with the boxes answered by
// the test and the simulated board on pseudo-terminals in a private folder.

#include "app/kvxload.h"
#include "ptyboard.h"
#include "serial/qtcomport.h"
#include "testdialoge.h"

#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

struct Pruefstand
{
    Pruefstand() { qputenv("KVXLOADER_PORT_DIR", ordner.path().toLocal8Bit()); }

    std::unique_ptr<kvxsim::PtyBoard> board(int port = 3, kvxsim::PtyBoardOptions optionen = {})
    {
        return std::make_unique<kvxsim::PtyBoard>(ordner.path().toStdString(), port, optionen);
    }

    // Types a port number into the field and presses Enter.
    void waehle(const QString &eingabe)
    {
        fenster.port_nummer->clear();
        QTest::keyClicks(fenster.port_nummer, eingabe);
        QTest::keyClick(fenster.port_nummer, Qt::Key_Return);
    }

    QTemporaryDir ordner;
    QtComPort irda;
    TestDialoge dialoge;
    KVXLoad fenster{irda, dialoge};
};
