#include "cli/bericht.h"

#include "cli/ausgabe.h"
#include "cli/meldungen.h"
#include "cli/platine.h"
#include "core/texte.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>

namespace {

constexpr int seitenbytes = 8193;  // "#" and the page

const char *const ergebnisnamen[] = {"ok", "file", "not_found", "port", "timeout", "protocol", "aborted"};

QString kopf(const Portangabe &port)
{
    if (port.geraet.isEmpty())
        return QString();
    if (port.seriennummer.isEmpty())
        return port.bezeichnung() + QStringLiteral(": ");
    return port.bezeichnung() + QStringLiteral(", ") + Meldungen::usbSeriennummer(port.seriennummer)
         + QStringLiteral(": ");
}

QString sekunden(double s)
{
    return QString::number(s, 'f', 1);
}

} // namespace

QString ergebnisname(Ergebnis::Art art)
{
    return QString::fromLatin1(ergebnisnamen[art]);
}

QString ergebnisAlsZeile(const Portangabe &port, const Ergebnis &e)
{
    // One line each, so the explanation's own lines are joined; the
    // too-big message's line break is a line break, not a bare CR.
    QString zeile = kopf(port) + QString(e.meldung).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    if (!e.erlaeuterung.isEmpty())
        zeile += QLatin1Char(' ') + e.erlaeuterung.simplified();
    zeile += QStringLiteral(" (");
    if (e.art != Ergebnis::ok && e.uploadBegonnen && e.seitenGesendet < e.seiten)
        zeile += Meldungen::abgebrochenBeiSeite(e.seitenGesendet + 1, e.seiten) + QStringLiteral(", ");
    else if (e.seiten > 0)
        zeile += Meldungen::seiten(e.seiten) + QStringLiteral(", ");
    if (!e.seriennummern.isEmpty())
        zeile += Meldungen::sn(e.seriennummern.last().first) + QStringLiteral(", ");
    zeile += QStringLiteral("%1 s").arg(sekunden(e.sekunden));
    if (e.versuche > 1)
        zeile += QStringLiteral(", ") + Meldungen::versuche(e.versuche);
    return zeile + QLatin1Char(')');
}

QByteArray ergebnisAlsJson(const Portangabe &port, const Ergebnis &e)
{
    QJsonObject objekt{
        {QStringLiteral("result"), ergebnisname(e.art)},
        {QStringLiteral("pages"), e.seiten},
        {QStringLiteral("pages_sent"), e.seitenGesendet},
        {QStringLiteral("seconds"), qRound(e.sekunden * 1000) / 1000.0},
        {QStringLiteral("attempts"), e.versuche},
        {QStringLiteral("message"), e.meldung},
    };
    if (!port.geraet.isEmpty()) {
        objekt.insert(QStringLiteral("port"), port.name());
        objekt.insert(QStringLiteral("device"), port.geraet);
    }
    if (!e.crc.isEmpty())
        objekt.insert(QStringLiteral("crc"), QString::fromLatin1(e.crc.toHex()));
    if (!e.sha256.isEmpty())
        objekt.insert(QStringLiteral("sha256"), QString::fromLatin1(e.sha256.toHex()));
    if (!e.boardCrc.isEmpty())
        objekt.insert(QStringLiteral("board_crc"), QString::fromLatin1(e.boardCrc.toHex()));
    if (!e.erlaeuterung.isEmpty())
        objekt.insert(QStringLiteral("detail"), e.erlaeuterung);
    if (!port.seriennummer.isEmpty())
        objekt.insert(QStringLiteral("serial"), port.seriennummer);
    if (!e.seriennummern.isEmpty()) {
        QJsonArray versuche;
        for (const auto &[nummer, art] : e.seriennummern)
            versuche.append(QJsonObject{{QStringLiteral("sn"), QString::number(nummer)},
                                        {QStringLiteral("result"), ergebnisname(art)}});
        objekt.insert(QStringLiteral("sn"), QString::number(e.seriennummern.last().first));
        objekt.insert(QStringLiteral("sn_attempts"), versuche);
    }
    return QJsonDocument(objekt).toJson(QJsonDocument::Compact);
}

Bericht::Bericht(Form form, Ausgabe &aus, QObject *parent)
    : QObject(parent), m_form(form), m_aus(aus)
{
}

void Bericht::beobachten(Platine *platine)
{
    connect(platine, &Platine::schritt, this, [this, platine](const QString &text) { schritt(platine, text); });
    connect(platine, &Platine::fortschritt, this, [this, platine] { fortschritt(platine); });
    connect(platine, &Platine::fertig, this, [this, platine] { fertig(platine); });
    if (m_form == live) {
        m_laufende << platine;
        liveZeichnen();
    }
    emit beobachtet(platine);
}

void Bericht::notiz(const QString &text)
{
    if (m_form != json)
        zeile(text);
}

void Bericht::ansage(const QString &text)
{
    if (m_form == json)
        QTextStream(stderr) << text << '\n';
    else
        zeile(text);
}

bool Bericht::ausgabeFehlgeschlagen() const
{
    return m_aus.fehlgeschlagen();
}

void Bericht::schritt(Platine *platine, const QString &text)
{
    if (m_form == zeilen) {
        zeile(kopf(platine->port()) + text);
    } else if (m_form == live) {
        m_letzterSchritt.insert(platine, text);
        liveZeichnen();
    }
}

void Bericht::fortschritt(Platine *platine)
{
    if (m_form == zeilen)
        zeile(kopf(platine->port()) + Texte::seite(platine->seite(), platine->seitenzahl()));
    else if (m_form == live)
        liveZeichnen();
}

void Bericht::fertig(Platine *platine)
{
    m_laufende.removeOne(platine);
    m_letzterSchritt.remove(platine);
    ergebnis(platine->port(), platine->ergebnis());
}

void Bericht::ergebnis(const Portangabe &port, const Ergebnis &ergebnis)
{
    if (m_form == json)
        m_aus.schreiben(QString::fromUtf8(ergebnisAlsJson(port, ergebnis)) + QLatin1Char('\n'));
    else
        zeile(ergebnisAlsZeile(port, ergebnis));
}

// Lines of their own go above the live display, which is drawn anew below.
void Bericht::zeile(const QString &text)
{
    QString ausgabe;
    if (m_gezeichnet > 0)
        ausgabe += QStringLiteral("\x1b[%1F\x1b[J").arg(m_gezeichnet);
    ausgabe += text + QLatin1Char('\n');
    m_gezeichnet = 0;
    m_aus.schreiben(ausgabe);
    if (m_form == live)
        liveZeichnen();
}

void Bericht::liveZeichnen()
{
    QString ausgabe;
    if (m_gezeichnet > 0)
        ausgabe += QStringLiteral("\x1b[%1F").arg(m_gezeichnet);
    for (const Platine *platine : std::as_const(m_laufende))
        ausgabe += QStringLiteral("\x1b[2K") + liveZeile(platine) + QLatin1Char('\n');
    ausgabe += QStringLiteral("\x1b[J");
    m_gezeichnet = int(m_laufende.size());
    m_aus.schreiben(ausgabe);
}

// "Seite 3/15  13 %  11.2 kB/s  noch 10 s" while pages go out, else the
// last step.
QString Bericht::liveZeile(const Platine *platine) const
{
    const int seite = platine->seite();
    const int seiten = platine->seitenzahl();
    const double sekunden = platine->uploadSekunden();
    if (sekunden <= 0 || seite <= 0 || seiten <= 0)
        return kopf(platine->port()) + m_letzterSchritt.value(platine);
    const int fertigeSeiten = seite - 1;
    QString zeile = kopf(platine->port()) + Texte::seite(seite, seiten)
        + QStringLiteral("  %1 %").arg(100 * fertigeSeiten / seiten);
    if (fertigeSeiten > 0) {
        const double bytesJeSekunde = fertigeSeiten * seitenbytes / sekunden;
        zeile += QStringLiteral("  ") + Meldungen::tempo(bytesJeSekunde / 1000,
                                                         qRound((seiten - fertigeSeiten) * seitenbytes / bytesJeSekunde));
    }
    return zeile;
}
