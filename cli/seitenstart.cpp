#include "cli/seitenstart.h"

#include "cli/optionen.h"
#include "core/sprache.h"

#include <QCoreApplication>

namespace {

struct Seitentexte
{
    Q_DECLARE_TR_FUNCTIONS(Seitentexte)
};

} // namespace

std::unique_ptr<Werkbankserver> seiteStarten(const Optionen &optionen, QString &fehler)
{
    auto server = std::make_unique<Werkbankserver>(optionen.werkbankname, eingerichteteSprache());
    QString grund;
    if (server->lauschen(optionen.seite->adresse, optionen.seite->port, grund))
        return server;
    fehler = Seitentexte::tr("Die Werkbank-Seite lässt sich nicht auf %1 Port %2 anbieten: %3")
                 .arg(optionen.seite->adresse.toString()).arg(optionen.seite->port).arg(grund);
    return nullptr;
}

QString seitenansage(const Werkbankserver &server)
{
    return Seitentexte::tr("Werkbank-Seite: %1").arg(server.url());
}
