#include "cli/ausgabe.h"

#include "cli/meldungen.h"
#include "bench/schreiben.h"

#include <cstdio>

void Ausgabe::schreiben(const QString &text)
{
    if (m_fehlgeschlagen)
        return;
    // By its descriptor: no C buffer between a write and its result.
    const QString grund = ganzSchreiben(fileno(stdout), text.toUtf8());
    if (grund.isEmpty())
        return;
    m_fehlgeschlagen = true;
    fehlermeldung(Meldungen::ausgabeFehlgeschlagen(grund));
}

void fehlermeldung(const QString &text)
{
    const QByteArray zeile = (QStringLiteral("kvxflash: ") + text + QLatin1Char('\n')).toUtf8();
    std::fwrite(zeile.constData(), 1, size_t(zeile.size()), stderr);
    std::fflush(stderr);
}
