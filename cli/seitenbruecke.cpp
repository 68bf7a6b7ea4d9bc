#include "cli/seitenbruecke.h"

#include "cli/bericht.h"
#include "cli/firmwarebild.h"
#include "cli/optionen.h"
#include "cli/platine.h"

#include <QDateTime>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>

Seitenbruecke::Seitenbruecke(const Optionen &optionen, const Firmwarebild &bild, QObject *parent)
    : QObject(parent), m_optionen(optionen), m_bild(bild)
{
    m_zaehler = {{"ok", 0}, {"failed", 0}, {"not_found", 0}, {"aborted", 0}};
}

void Seitenbruecke::beginnen()
{
    QJsonArray ports;
    for (const Portangabe &port : m_optionen.ports)
        ports << port.name();
    melden("bench_started",
           {{"image", QJsonObject{{"file", QFileInfo(m_bild.pfad).fileName()}, {"pages", m_bild.seiten()},
                                  {"crc", QString::fromLatin1(m_bild.crc.toHex())},
                                  {"sha256", QString::fromLatin1(m_bild.sha256.toHex())}}},
            {"ports", ports},
            {"log", m_optionen.protokolldatei.isEmpty() ? QJsonValue() : QJsonValue(m_optionen.protokolldatei)},
            {"watch", m_optionen.modus == Optionen::beobachten}});
}

void Seitenbruecke::beobachten(Platine *platine)
{
    const QString port = platine->port().name();
    melden("detect_begin", {{"port", port}, {"attempt", 1}});
    connect(platine, &Platine::fortschritt, this, [this, platine, port] {
        if (platine->seite() == 0)
            melden("upload_begin", {{"port", port}, {"pages", platine->seitenzahl()}});
        else
            melden("page", {{"port", port}, {"page", platine->seite()}, {"pages", platine->seitenzahl()}});
    });
    connect(platine, &Platine::fertig, this, [this, platine] {
        QJsonObject ergebnis = QJsonDocument::fromJson(ergebnisAlsJson(platine->port(), platine->ergebnis())).object();
        melden("result", ergebnis);
        const QString art = ergebnis.value("result").toString();
        const QString zaehler = art == "ok" || art == "not_found" || art == "aborted" ? art : QStringLiteral("failed");
        m_zaehler[zaehler] = m_zaehler[zaehler].toInt() + 1;
        melden("tally", m_zaehler);
    });
}

void Seitenbruecke::melden(const QString &art, QJsonObject felder)
{
    felder.insert("seq", ++m_seq);
    felder.insert("type", art);
    felder.insert("time", QDateTime::currentDateTime().toOffsetFromUtc(QDateTime::currentDateTime().offsetFromUtc())
                              .toString(Qt::ISODateWithMs));
    emit ereignis(felder);
}
