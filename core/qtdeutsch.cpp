#include "core/qtdeutsch.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

void qtTexteAufDeutsch()
{
    auto *qtTexte = new QTranslator(QCoreApplication::instance());
    if (qtTexte->load(QLocale(QLocale::German, QLocale::Germany), QStringLiteral("qtbase"), QStringLiteral("_"),
                      QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(qtTexte);
}
