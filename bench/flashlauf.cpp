#include "bench/flashlauf.h"

#include "core/abbruchsignal.h"
#include "bench/ereignis.h"

#include <QEventLoop>
#include <QJsonArray>
#include <QTimer>

Flashlauf::Flashlauf(const QList<Portangabe> &ports, const Firmwarebild &bild,
                     const Platine::Einstellungen &einstellungen, const Crc32 &crc, Ereignisstrom &strom,
                     QObject *parent)
    : QObject(parent), m_bild(bild), m_strom(strom)
{
    for (const Portangabe &port : ports) {
        auto *platine = new Platine(port, bild, einstellungen, crc, strom, this);
        connect(platine, &Platine::fertig, this, [this, platine] {
            m_bilanz.zaehlen(platine->ergebnis().art);
            m_strom.senden(QStringLiteral("tally"), m_bilanz.felder());
            if (--m_laufende == 0)
                emit fertig();
        });
        m_platinen << platine;
    }
}

void Flashlauf::starten()
{
    m_laufende = int(m_platinen.size());
    if (m_laufende == 0) {
        emit fertig();
        return;
    }
    for (Platine *platine : std::as_const(m_platinen))
        m_strom.senden(QStringLiteral("port_taken"), platine->port().felder());
    for (Platine *platine : std::as_const(m_platinen))
        platine->starten();
}

void Flashlauf::abbrechen()
{
    m_abgebrochen = true;
    for (Platine *platine : std::as_const(m_platinen))
        platine->abbrechen();
}

void Flashlauf::ausfuehren(Abbruchsignal &abbruch)
{
    QJsonArray ports;
    for (const Platine *platine : std::as_const(m_platinen))
        ports.append(platine->port().name());
    m_strom.senden(QStringLiteral("bench_started"), {{QStringLiteral("image"), m_bild.felder()},
                                                     {QStringLiteral("ports"), ports},
                                                     {QStringLiteral("log"), QJsonValue::Null},
                                                     {QStringLiteral("watch"), false}});
    QEventLoop schleife;
    connect(this, &Flashlauf::fertig, &schleife, &QEventLoop::quit);
    const QMetaObject::Connection abbrechen = connect(&abbruch, &Abbruchsignal::ausgeloest, this, &Flashlauf::abbrechen);
    QTimer::singleShot(0, this, &Flashlauf::starten);
    schleife.exec();
    disconnect(abbrechen);
    m_strom.senden(QStringLiteral("bench_ending"), {{QStringLiteral("status"), exitStatus()}});
}

int Flashlauf::exitStatus() const
{
    if (m_abgebrochen)
        return abbruchStatus;
    for (const Platine *platine : m_platinen) {
        if (const int status = ::exitStatus(platine->ergebnis().art))
            return status;
    }
    return 0;
}
