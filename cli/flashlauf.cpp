#include "cli/flashlauf.h"

#include "core/abbruchsignal.h"

#include <QEventLoop>
#include <QTimer>

int exitStatus(Ergebnis::Art art)
{
    switch (art) {
    case Ergebnis::ok: return 0;
    case Ergebnis::datei: return 2;
    case Ergebnis::nicht_gefunden: return 3;
    case Ergebnis::port: return 4;
    case Ergebnis::zeitueberschreitung: return 5;
    case Ergebnis::protokoll: return 6;
    case Ergebnis::abgebrochen: return Flashlauf::abbruchStatus;
    }
    return 1;
}

Flashlauf::Flashlauf(const QList<Portangabe> &ports, const Firmwarebild &bild,
                     const Platine::Einstellungen &einstellungen, const Crc32 &crc, QObject *parent)
    : QObject(parent)
{
    for (const Portangabe &port : ports) {
        auto *platine = new Platine(port, bild, einstellungen, crc, this);
        connect(platine, &Platine::fertig, this, [this] {
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
    QEventLoop schleife;
    connect(this, &Flashlauf::fertig, &schleife, &QEventLoop::quit);
    const QMetaObject::Connection abbrechen = connect(&abbruch, &Abbruchsignal::ausgeloest, this, &Flashlauf::abbrechen);
    QTimer::singleShot(0, this, &Flashlauf::starten);
    schleife.exec();
    disconnect(abbrechen);
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
