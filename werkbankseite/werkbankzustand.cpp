#include "werkbankseite/werkbankzustand.h"

#include <QJsonArray>

#include <algorithm>

namespace {

QString str(const char *text) { return QString::fromLatin1(text); }

// The tile's state for a board's result; every kind of failure is "failed".
QString zustandFuer(const QString &ergebnis)
{
    if (ergebnis == str("ok") || ergebnis == str("not_found") || ergebnis == str("aborted"))
        return ergebnis;
    return str("failed");
}

// Port order: numbers in a name compare as numbers, so COM2 comes before
// COM10 whatever the locale.
bool portVor(const QString &a, const QString &b)
{
    qsizetype i = 0;
    qsizetype j = 0;
    while (i < a.size() && j < b.size()) {
        if (a[i].isDigit() && b[j].isDigit()) {
            const qsizetype anfangA = i;
            const qsizetype anfangB = j;
            while (i < a.size() && a[i].isDigit())
                ++i;
            while (j < b.size() && b[j].isDigit())
                ++j;
            const qulonglong x = a.mid(anfangA, i - anfangA).toULongLong();
            const qulonglong y = b.mid(anfangB, j - anfangB).toULongLong();
            if (x != y)
                return x < y;
        } else if (a[i] != b[j]) {
            return a[i] < b[j];
        } else {
            ++i;
            ++j;
        }
    }
    return a.size() - i < b.size() - j;
}

} // namespace

Werkbankzustand::Werkbankzustand(const QString &werkbankname)
    : m_name(werkbankname), m_protokoll(QJsonValue::Null), m_endstatus(QJsonValue::Null)
{
    m_zaehler = {{str("ok"), 0}, {str("failed"), 0}, {str("not_found"), 0}, {str("aborted"), 0}};
}

void Werkbankzustand::anwenden(const QJsonObject &ereignis)
{
    const qint64 seq = ereignis.value(str("seq")).toInteger();
    // A run numbers its events from 1; an event twice is taken once.
    if (seq <= m_seq)
        return;
    m_seq = seq;
    const QString art = ereignis.value(str("type")).toString();
    const QString port = ereignis.value(str("port")).toString();

    if (art == str("bench_started")) {
        m_bild = ereignis.value(str("image")).toObject();
        m_protokoll = ereignis.value(str("log"));
        m_beginn = ereignis.value(str("time")).toString();
        for (const QJsonValue &genannt : ereignis.value(str("ports")).toArray())
            sockel(genannt.toString());
    } else if (art == str("port_taken")) {
        Sockel &s = sockel(port);
        neueBelegung(s);
        s.vorhanden = true;
        s.usbSeriennummer = ereignis.value(str("serial")).toString();
    } else if (art == str("port_gone")) {
        sockel(port).vorhanden = false;
    } else if (art == str("detect_begin")) {
        Sockel &s = sockel(port);
        // A board that ended on this socket was taken away: this is the next
        // one. Whether the port is there only port_taken and port_gone say: a
        // retry may begin on a port already pulled.
        if (!s.ergebnis.isEmpty()) {
            const Sockel vorher = s;
            neueBelegung(s);
            s.usbSeriennummer = vorher.usbSeriennummer;
            s.vorhanden = vorher.vorhanden;
        }
        s.zustand = str("detecting");
    } else if (art == str("upload_begin")) {
        Sockel &s = sockel(port);
        s.zustand = str("flashing");
        s.seite = 0;
        s.seiten = ereignis.value(str("pages")).toInt();
        s.sn = ereignis.value(str("sn")).toString();
    } else if (art == str("page")) {
        Sockel &s = sockel(port);
        s.zustand = str("flashing");
        s.seite = ereignis.value(str("page")).toInt();
        s.seiten = ereignis.value(str("pages")).toInt();
    } else if (art == str("result")) {
        Sockel &s = sockel(port);
        s.ergebnis = ereignis;
        s.ergebnis.remove(str("seq"));
        s.ergebnis.remove(str("type"));
        s.zustand = zustandFuer(ereignis.value(str("result")).toString());
        if (ereignis.contains(str("sn")))
            s.sn = ereignis.value(str("sn")).toString();
        if (s.zustand == str("ok") && ereignis.value(str("attempts")).toInt(1) == 1)
            ++m_ersterVersuch;
        // A port without a bootloader may be any device: no verdict on a board.
        if (s.zustand != str("not_found"))
            m_letztes = s.ergebnis;
    } else if (art == str("tally")) {
        for (const QString &feld : m_zaehler.keys())
            m_zaehler[feld] = ereignis.value(feld).toInt();
    } else if (art == str("bench_ending")) {
        m_endstatus = ereignis.value(str("status"));
    }
}

QJsonObject Werkbankzustand::schnappschuss() const
{
    QJsonArray sockel;
    for (const Sockel &s : m_sockel)
        sockel << alsJson(s);
    QJsonObject zaehler = m_zaehler;
    zaehler[str("first_pass")] = m_ersterVersuch;
    return {{str("bench"), m_name},
            {str("image"), m_bild},
            {str("log"), m_protokoll},
            {str("started"), m_beginn.isEmpty() ? QJsonValue() : QJsonValue(m_beginn)},
            {str("sockets"), sockel},
            {str("last"), m_letztes.isEmpty() ? QJsonValue() : QJsonValue(m_letztes)},
            {str("tally"), zaehler},
            {str("ended"), m_endstatus},
            {str("seq"), m_seq}};
}

Werkbankzustand::Sockel &Werkbankzustand::sockel(const QString &port)
{
    const auto vor = [](const Sockel &s, const QString &p) { return portVor(s.port, p); };
    auto stelle = std::lower_bound(m_sockel.begin(), m_sockel.end(), port, vor);
    if (stelle == m_sockel.end() || stelle->port != port) {
        Sockel neu;
        neu.port = port;
        stelle = m_sockel.insert(stelle, neu);
    }
    return *stelle;
}

void Werkbankzustand::neueBelegung(Sockel &sockel)
{
    const QString port = sockel.port;
    sockel = Sockel();
    sockel.port = port;
}

QJsonObject Werkbankzustand::alsJson(const Sockel &s)
{
    const QJsonValue sekunden = s.ergebnis.value(str("seconds"));
    return {{str("port"), s.port},
            {str("state"), s.zustand},
            {str("page"), s.seite},
            {str("pages"), s.seiten},
            {str("sn"), s.sn},
            {str("seconds"), sekunden.isUndefined() ? QJsonValue() : sekunden},
            {str("serial"), s.usbSeriennummer},
            {str("present"), s.vorhanden},
            {str("result"), s.ergebnis.isEmpty() ? QJsonValue() : QJsonValue(s.ergebnis)}};
}
