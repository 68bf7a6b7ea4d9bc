#include "core/sprache.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace {

const QString deutsch = QStringLiteral("de");
const QString englisch = QStringLiteral("en");

QString eingerichtet = deutsch;

// Our language for a locale name ("en_GB.UTF-8", "de"), empty for any other.
QString programmsprache(const QString &gebietsschema)
{
    switch (QLocale(gebietsschema).language()) {
    case QLocale::German:
        return deutsch;
    case QLocale::English:
        return englisch;
    default:
        return QString();
    }
}

// The user's languages, most wanted first; empty for the C locale.
QStringList oberflaechensprachen()
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    // Read here rather than through QLocale::uiLanguages(), which Qt reads
    // once per process and which takes LANGUAGE even under the C locale
    // (and reports "C.UTF-8" as English). gettext's rule: LC_ALL beats
    // LC_MESSAGES beats LANG, and LANGUAGE counts only beside a real locale.
    QString meldungen = qEnvironmentVariable("LC_ALL");
    if (meldungen.isEmpty())
        meldungen = qEnvironmentVariable("LC_MESSAGES");
    if (meldungen.isEmpty())
        meldungen = qEnvironmentVariable("LANG");
    if (QLocale(meldungen).language() == QLocale::C)
        return {};
    const QStringList liste = qEnvironmentVariable("LANGUAGE").split(QLatin1Char(':'), Qt::SkipEmptyParts);
    return liste.isEmpty() ? QStringList{meldungen} : liste;
#else
    return QLocale::system().uiLanguages();
#endif
}

} // namespace

QString spracheWaehlen(const QString &gewuenscht)
{
    for (const QString &wahl : {gewuenscht, qEnvironmentVariable("KVXLOADER_LANG")}) {
        if (wahl == deutsch || wahl == englisch)
            return wahl;
    }
    const QStringList sprachen = oberflaechensprachen();
    // No locale (C, POSIX) means the program's own language.
    if (sprachen.isEmpty())
        return deutsch;
    for (const QString &name : sprachen) {
        const QString sprache = programmsprache(name);
        if (!sprache.isEmpty())
            return sprache;
    }
    // A user who reads neither is more likely to read English.
    return englisch;
}

void spracheEinrichten(const QString &gewuenscht)
{
    static QTranslator programm;
    static QTranslator qt;
    QCoreApplication::removeTranslator(&programm);
    QCoreApplication::removeTranslator(&qt);

    eingerichtet = spracheWaehlen(gewuenscht);
    // German is the texts' own language: it has no translation of its own.
    if (programm.load(QStringLiteral("kvxloader_") + eingerichtet, QStringLiteral(":/i18n")))
        QCoreApplication::installTranslator(&programm);
    if (qt.load(QStringLiteral("qtbase_") + eingerichtet, QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&qt);
}

QString eingerichteteSprache()
{
    return eingerichtet;
}
