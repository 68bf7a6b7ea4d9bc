#include "cli/statistik.h"

#include "bench/ereignis.h"
#include "bench/schichtzahlen.h"
#include "cli/ausgabe.h"
#include "cli/meldungen.h"
#include "cli/optionen.h"
#include "update/dateiinhalt.h"

#include <QJsonDocument>

namespace {

// Years of records fit; a file beyond this is no log of this program.
constexpr qint64 groesstesProtokoll = qint64(1) << 30;

QString anteil(const std::optional<double> &wert)
{
    return wert ? QString::number(*wert * 100, 'f', 1) + QStringLiteral(" %") : QStringLiteral("–");
}

QString zeit(const QDateTime &zeit)
{
    return zeit.isValid() ? zeitMitVersatz(zeit) : QStringLiteral("–");
}

} // namespace

int statistik(const Optionen &optionen, Ausgabe &aus)
{
    const QString &pfad = optionen.statistikdatei;
    const Dateiinhalt inhalt = Dateiinhalt::lesen(pfad, groesstesProtokoll);
    if (!inhalt.gelesen() || inhalt.groesse > groesstesProtokoll) {
        fehlermeldung(pfad + QStringLiteral(": ")
                      + (inhalt.gelesen() ? Meldungen::protokollZuGross(groesstesProtokoll >> 20) : inhalt.grund));
        return exitStatus(Ergebnis::datei);
    }
    const Schichtzahlen zahlen = Schichtzahlen::ausProtokoll(inhalt.bytes, optionen.seit);
    for (const int zeile : zahlen.beschaedigt)
        fehlermeldung(Meldungen::beschaedigteZeile(pfad, zeile));
    if (optionen.json) {
        aus.schreiben(QString::fromUtf8(QJsonDocument(zahlen.felder()).toJson(QJsonDocument::Compact))
                      + QLatin1Char('\n'));
    } else {
        const Bilanz &b = zahlen.bilanz;
        const std::optional<double> jeStunde = zahlen.platinenJeStunde();
        aus.schreiben(Meldungen::bilanz(b.erfolgreich, b.fehlgeschlagen, b.ohneBootloader, b.abgebrochen)
                      + QLatin1Char('\n')
                      + Meldungen::ausbeute(anteil(zahlen.ausbeute()), anteil(zahlen.ausbeuteErsterVersuch()))
                      + QLatin1Char('\n')
                      + Meldungen::platinenJeStunde(jeStunde ? QString::number(*jeStunde, 'f', 1) : QStringLiteral("–"),
                                                    zeit(zahlen.erster), zeit(zahlen.letzter))
                      + QLatin1Char('\n'));
    }
    return aus.fehlgeschlagen() ? schreibfehlerStatus : 0;
}
