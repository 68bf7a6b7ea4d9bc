#include "cli/bericht.h"

#include "bench/ereignis.h"
#include "cli/ausgabe.h"
#include "cli/meldungen.h"
#include "core/texte.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTextStream>

namespace {

constexpr int seitenbytes = 8193;  // "#" and the page

QString kopf(const Portangabe &port)
{
    if (port.geraet.isEmpty())
        return QString();
    if (port.seriennummer.isEmpty())
        return port.bezeichnung() + QStringLiteral(": ");
    return port.bezeichnung() + QStringLiteral(", ") + Meldungen::usbSeriennummer(port.seriennummer)
         + QStringLiteral(": ");
}

QString text(const QJsonObject &felder, const char *name)
{
    return felder.value(QLatin1String(name)).toString();
}

int zahl(const QJsonObject &felder, const char *name)
{
    return felder.value(QLatin1String(name)).toInt();
}

// The watch's tally as the operator reads it.
QString bilanzText(const QJsonObject &bilanz)
{
    return Meldungen::bilanz(zahl(bilanz, "ok"), zahl(bilanz, "failed"), zahl(bilanz, "not_found"),
                             zahl(bilanz, "aborted"));
}

} // namespace

QString ergebnisAlsZeile(const QJsonObject &e)
{
    // One line each, so the explanation's own lines are joined; the
    // too-big message's line break is a line break, not a bare CR.
    QString zeile = kopf(Portangabe::ausFeldern(e)) + text(e, "message").replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    if (!text(e, "detail").isEmpty())
        zeile += QLatin1Char(' ') + text(e, "detail").simplified();
    zeile += QStringLiteral(" (");
    // A board that did not succeed is told the pages it took, not the image's.
    const int seiten = zahl(e, "pages");
    const int gesendet = zahl(e, "pages_sent");
    if (text(e, "result") == QStringLiteral("ok"))
        zeile += Meldungen::seiten(seiten) + QStringLiteral(", ");
    else if (text(e, "result") == QStringLiteral("aborted") && e.value(QStringLiteral("upload_begun")).toBool()
             && gesendet < seiten)
        zeile += Meldungen::abgebrochenBeiSeite(gesendet + 1, seiten) + QStringLiteral(", ");
    else if (seiten > 0)
        zeile += Meldungen::seitenGesendet(gesendet, seiten) + QStringLiteral(", ");
    if (e.contains(QStringLiteral("sn")))
        zeile += Meldungen::sn(text(e, "sn").toULongLong()) + QStringLiteral(", ");
    zeile += QStringLiteral("%1 s").arg(e.value(QStringLiteral("seconds")).toDouble(), 0, 'f', 1);
    if (zahl(e, "attempts") > 1)
        zeile += QStringLiteral(", ") + Meldungen::versuche(zahl(e, "attempts"));
    return zeile + QLatin1Char(')');
}

QJsonObject ergebnisObjekt(const QJsonObject &felder)
{
    QJsonObject objekt = felder;
    objekt.remove(QStringLiteral("upload_begun"));
    return objekt;
}

QByteArray ergebnisAlsJson(const QJsonObject &felder)
{
    return QJsonDocument(ergebnisObjekt(felder)).toJson(QJsonDocument::Compact);
}

Bericht::Bericht(Form form, Ausgabe &aus, QObject *parent)
    : QObject(parent), m_form(form), m_aus(aus)
{
}

void Bericht::abonnieren(Ereignisstrom &strom)
{
    connect(&strom, &Ereignisstrom::ereignis, this, &Bericht::ereignis);
}

void Bericht::ereignis(const Ereignis &e)
{
    const auto board = std::find_if(m_laufende.begin(), m_laufende.end(),
                                    [&e](const Laufend &l) { return l.port.name() == e.port(); });
    const bool bekannt = board != m_laufende.end();
    if (e.typ == QStringLiteral("bench_started") && e.felder.value(QStringLiteral("watch")).toBool()) {
        m_werkbank = true;
        werkbankAnsagen(e.felder);
    } else if (e.typ == QStringLiteral("port_taken")) {
        m_laufende << Laufend{Portangabe::ausFeldern(e.felder)};
        if (m_form == live)
            liveZeichnen();
    } else if (e.typ == QStringLiteral("step") && bekannt) {
        board->schritt = text(e.felder, "text");
        if (m_form == zeilen)
            zeile(kopf(board->port) + board->schritt);
        else if (m_form == live)
            liveZeichnen();
    } else if (e.typ == QStringLiteral("detect_begin") && bekannt) {
        board->upload.invalidate();
    } else if (e.typ == QStringLiteral("upload_begin") && bekannt) {
        board->upload.start();
    } else if (e.typ == QStringLiteral("page") && bekannt) {
        board->seite = zahl(e.felder, "page");
        board->seiten = zahl(e.felder, "pages");
        if (m_form == zeilen)
            zeile(kopf(board->port) + Texte::seite(board->seite, board->seiten));
        else if (m_form == live)
            liveZeichnen();
    } else if (e.typ == QStringLiteral("result")) {
        if (bekannt)
            m_laufende.erase(board);
        ergebnis(e.felder);
    } else if (e.typ == QStringLiteral("tally")) {
        m_bilanz = e.felder;
        if (m_werkbank && e.felder.value(QStringLiteral("accepting")).toBool())
            notiz(bilanzText(m_bilanz));
    } else if (e.typ == QStringLiteral("record_failed") && !m_protokollFehlerGesagt) {
        m_protokollFehlerGesagt = true;
        fehlermeldung(Meldungen::protokollFehlgeschlagen(text(e.felder, "log"), text(e.felder, "message"))
                      + QLatin1Char(' ') + Meldungen::keineWeiterenPlatinen());
    } else if (e.typ == QStringLiteral("sn_exhausted")) {
        ansage(Meldungen::snAufgebraucht(text(e.felder, "last")) + QLatin1Char(' ') + Meldungen::keineWeiterenPlatinen());
    } else if (e.typ == QStringLiteral("record_lost")) {
        fehlermeldung(Meldungen::protokollzeileVerloren(text(e.felder, "line")));
    } else if (e.typ == QStringLiteral("bench_ending") && m_werkbank) {
        ansage(bilanzText(m_bilanz));
    }
}

// What the watch does, said before the first board: the image, the ports,
// the record.
void Bericht::werkbankAnsagen(const QJsonObject &felder)
{
    const QJsonObject bild = felder.value(QStringLiteral("image")).toObject();
    ansage(Meldungen::watchAbbild(QFileInfo(text(bild, "file")).fileName(), Meldungen::seiten(zahl(bild, "pages")),
                                  text(bild, "crc")));
    if (felder.contains(QStringLiteral("filter"))) {
        QStringList filter;
        if (text(felder, "filter") != QStringLiteral("auto"))
            filter << QStringLiteral("USB ") + text(felder, "filter");
        if (felder.contains(QStringLiteral("serial")))
            filter << Meldungen::usbSeriennummer(text(felder, "serial"));
        ansage(Meldungen::watchAllePorts(filter.join(QStringLiteral(", "))));
    } else {
        QStringList genannt;
        for (const QJsonValue &port : felder.value(QStringLiteral("ports")).toArray())
            genannt << Portangabe::ausFeldern({{QStringLiteral("port"), port}}).anzeigename();
        ansage(Meldungen::watchPorts(genannt.join(QStringLiteral(", "))));
    }
    ansage(felder.value(QStringLiteral("log")).isString() ? Meldungen::watchProtokoll(text(felder, "log"))
                                                          : Meldungen::watchOhneProtokoll());
    ansage(Meldungen::wartet());
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

void Bericht::ergebnis(const QJsonObject &felder)
{
    if (m_form == json)
        m_aus.schreiben(QString::fromUtf8(ergebnisAlsJson(felder)) + QLatin1Char('\n'));
    else
        zeile(ergebnisAlsZeile(felder));
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
    for (const Laufend &board : std::as_const(m_laufende))
        ausgabe += QStringLiteral("\x1b[2K") + liveZeile(board) + QLatin1Char('\n');
    ausgabe += QStringLiteral("\x1b[J");
    m_gezeichnet = int(m_laufende.size());
    m_aus.schreiben(ausgabe);
}

// "Seite 3/15  13 %  11.2 kB/s  noch 10 s" while pages go out, else the
// last step.
QString Bericht::liveZeile(const Laufend &board) const
{
    const double sekunden = board.upload.isValid() ? board.upload.elapsed() / 1000.0 : 0;
    if (sekunden <= 0 || board.seite <= 0 || board.seiten <= 0)
        return kopf(board.port) + board.schritt;
    const int fertigeSeiten = board.seite - 1;
    QString zeile = kopf(board.port) + Texte::seite(board.seite, board.seiten)
        + QStringLiteral("  %1 %").arg(100 * fertigeSeiten / board.seiten);
    if (fertigeSeiten > 0) {
        const double bytesJeSekunde = fertigeSeiten * seitenbytes / sekunden;
        zeile += QStringLiteral("  ") + Meldungen::tempo(bytesJeSekunde / 1000,
                                                         qRound((board.seiten - fertigeSeiten) * seitenbytes / bytesJeSekunde));
    }
    return zeile;
}
