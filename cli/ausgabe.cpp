#include "cli/ausgabe.h"

#include "cli/meldungen.h"

#include <cstdio>

Ausgabe::Ausgabe()
{
    // By its descriptor: no C buffer between a write and its result.
    m_datei.open(fileno(stdout), QIODevice::WriteOnly | QIODevice::Unbuffered);
}

void Ausgabe::schreiben(const QString &text)
{
    if (m_fehlgeschlagen)
        return;
    const QByteArray bytes = text.toUtf8();
    if (m_datei.write(bytes) == bytes.size())
        return;
    m_fehlgeschlagen = true;
    fehlermeldung(Meldungen::ausgabeFehlgeschlagen(m_datei.errorString()));
}

void fehlermeldung(const QString &text)
{
    const QByteArray zeile = (QStringLiteral("kvxflash: ") + text + QLatin1Char('\n')).toUtf8();
    std::fwrite(zeile.constData(), 1, size_t(zeile.size()), stderr);
    std::fflush(stderr);
}
