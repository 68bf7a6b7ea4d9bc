#pragma once

// The promises of the parts that take outside input, as checks driven by a
// byte string: the test suite feeds them seeded random bytes for a short
// while, the fuzzer its own inputs for as long as the developer lets it.
// Each check returns what broke, or the empty text.

#include "../fakecomport.h"
#include "../testdialoge.h"
#include "app/kvxload.h"
#include "leitung.h"
#include "serial/zahlenwert.h"
#include "core/texte.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>

#include <cmath>
#include <cstdlib>
#include <locale.h>

// Decisions read one by one from a byte string; past its end every decision is 0.
class Steuerung
{
public:
    explicit Steuerung(const QByteArray &bytes) : m_bytes(bytes) {}

    bool leer() const { return m_pos >= m_bytes.size(); }
    int wahl(int moeglichkeiten) { return leer() ? 0 : quint8(m_bytes[m_pos++]) % moeglichkeiten; }
    QByteArray bytes(int anzahl)
    {
        const QByteArray teil = m_bytes.mid(m_pos, anzahl);
        m_pos += teil.size();
        return teil;
    }

private:
    QByteArray m_bytes;
    qsizetype m_pos = 0;
};

namespace Zahlenpruefung {

inline QString sichtbar(const QString &text)
{
    return QString::fromLatin1(text.left(80).toUtf8().toPercentEncoding("+-.eEdD"));
}

inline QString abweichung(const QString &text, double gelesen, double erwartet)
{
    return QStringLiteral("\"%1\" reads %2, expected %3")
        .arg(sichtbar(text)).arg(gelesen, 0, 'g', 17).arg(erwartet, 0, 'g', 17);
}

// What a pasted text is made of: what numbers are made of, the blanks the
// reading skips, and characters that end a number (among them look-alikes of
// digits, a NUL, half a surrogate pair, and the letters of "inf" and "nan",
// which a library reader might take for a value).
inline QString zeichen(int nummer)
{
    static const QString alle = QStringLiteral("0123456789+-.eEdD \t\n\rx,infa\u00FC\u20AC\u0663\uFF15\u00A0\u00B2\u00BD")
        + QChar(0) + QString::fromUcs4(U"\U0001D7D7");
    return alle.at(nummer % alle.size());
}

inline QString textAus(Steuerung &s)
{
    QString text;
    while (!s.leer())
        text += zeichen(s.wahl(256));
    return text;
}

inline bool gleich(double a, double b)
{
    return a == b || (std::isnan(a) && std::isnan(b));
}

// Any text reads as a number or an infinity, never NaN; blanks between any
// two characters change nothing, nor does a character that no number can
// continue appended to it.
inline QString jederText(const QString &text)
{
    const double wert = zahlenwert(text);
    if (std::isnan(wert))
        return abweichung(text, wert, 0);
    QString gedehnt;
    for (const QChar c : text)
        gedehnt += c + QStringLiteral(" \t\n");
    if (!gleich(zahlenwert(gedehnt), wert))
        return QStringLiteral("blanks change it: ") + abweichung(gedehnt, zahlenwert(gedehnt), wert);
    if (!gleich(zahlenwert(text + u'\u00A7'), wert))
        return QStringLiteral("a character after it changes it: ") + abweichung(text, zahlenwert(text + u'\u00A7'), wert);
    return {};
}

inline QByteArray ziffern(Steuerung &s, int anzahl)
{
    QByteArray z;
    for (int i = 0; i < anzahl; ++i)
        z += char('0' + s.wahl(10));
    return z;
}

// The C library's reading of a plain number, whatever the program's locale.
inline double referenz(const QByteArray &schlicht)
{
    static const locale_t c = newlocale(LC_ALL_MASK, "C", locale_t(nullptr));
    return strtod_l(schlicht.constData(), nullptr, c);
}

// A well-formed number built from the decisions (sign, digits, point,
// fraction, exponent with E or D), blanks strewn in and a character after it
// that ends it: it must read as the C library reads its plain form.
inline QString wohlgeformt(Steuerung &s)
{
    static const char *const vorzeichen[] = {"", "+", "-"};
    static const char *const enden[] = {"", "x", ",", "/", "\r", "\xC3\xBC", "\xE2\x82\xAC", "#"};
    const QByteArray zeichen = vorzeichen[s.wahl(3)];
    const QByteArray ganz = ziffern(s, s.wahl(30));
    const bool punkt = s.wahl(2);
    const QByteArray bruch = ziffern(s, punkt ? s.wahl(30) : 0);
    const bool mitExponent = s.wahl(2);
    const char buchstabe = "eEdD"[s.wahl(4)];
    const QByteArray exponentZeichen = vorzeichen[s.wahl(3)];
    const QByteArray exponent = ziffern(s, mitExponent ? s.wahl(9) : 0);

    const QByteArray mantisse = zeichen + ganz + (punkt ? '.' + bruch : QByteArray());
    QByteArray text = mantisse;
    if (mitExponent)
        text += buchstabe + exponentZeichen + exponent;
    text += enden[s.wahl(8)];
    QString gestreut;
    for (const QChar c : QString::fromUtf8(text))
        gestreut += QString(" \t\n").left(s.wahl(6) == 0 ? 1 + s.wahl(3) : 0) + c;

    const bool ohneZiffern = ganz.isEmpty() && bruch.isEmpty();
    const QByteArray schlicht = mantisse + (exponent.isEmpty() ? QByteArray() : 'e' + exponentZeichen + exponent);
    const double erwartet = ohneZiffern ? 0.0 : referenz(schlicht);
    const double gelesen = zahlenwert(gestreut);
    return gleich(gelesen, erwartet) ? QString() : abweichung(gestreut, gelesen, erwartet);
}

} // namespace Zahlenpruefung

// Uploads in the real window on a scripted port, each driven by a byte
// string: which image, then one event after another. The promises: the state
// is one of the seven; the bytes handed to the port are always a beginning
// of the clean upload's bytes (pages whole and in order), at most one piece
// at a time and none at rest; success is shown exactly when the answer to
// "$" equals the image's CRC.
class Uploadpruefstand
{
public:
    Uploadpruefstand()
    {
        m_fenster.Form_Load();   // builds the CRC table; the scripted port has no line to set
        // Sizes around the page and piece edges, up to the largest image; every
        // page differs from every other, so a reordered page shows.
        for (const int groesse : {1, 511, 8191, 8192, 8193, 3 * 8192 + 513, 7 * 8192, 15 * 8192 - 1, 15 * 8192}) {
            QByteArray inhalt(groesse, Qt::Uninitialized);
            for (int i = 0; i < groesse; ++i)
                inhalt[i] = char(i * 7 + (i / 8192) * 101 + (i / 512) * 3);
            const QString pfad = QDir(m_ordner.path()).filePath(QString::number(groesse));
            QFile datei(pfad);
            if (datei.open(QIODevice::WriteOnly))
                datei.write(inhalt);
            m_bilder << pfad;
        }
    }

    QString folge(const QByteArray &steuerbytes)
    {
        Steuerung s(steuerbytes);
        m_fenster.upload.zurRuhe();
        m_port.eingang.clear();
        m_dialoge.meldungen.clear();
        m_dialoge.titel_.clear();
        QString fehler = klicke(s);
        while (fehler.isEmpty() && !s.leer())
            fehler = ereignis(s);
        return fehler;
    }

    // Uploads whose success was shown, rightly.
    int erfolge() const { return m_erfolge; }

private:
    quint8 status() const { return m_fenster.upload.uploadstatus; }
    bool erfolgAngezeigt() const { return m_fenster.Label3->text() == Texte::updateErfolgreich; }

    QString klicke(Steuerung &s)
    {
        m_dialoge.dateien.push_back(m_bilder.at(s.wahl(int(m_bilder.size()))));
        m_port.gesendet.clear();
        m_geprueft = 0;
        m_fenster.Upload_Click();
        m_leitung = leitung(m_fenster.datei.dateipuffer);
        m_uebereinstimmend = 0;
        if (status() != Uploadablauf::warte_programmiermodus)
            return QStringLiteral("the click left state %1").arg(status());
        return neueAusgabe(false);
    }

    QString ereignis(Steuerung &s)
    {
        const quint8 vorher = status();
        const bool erfolgVorher = erfolgAngezeigt();
        bool genaueCrc = false;
        const int art = s.wahl(256);
        if (art < 128) {
            m_port.sendepufferLeer();
        } else if (art < 240) {
            genaueCrc = empfange(antwortAus(s));
        } else if (art < 252) {
            m_port.melde(qint16(ComPort::comEvReceive + 1 + art % 8));   // line errors, modem lines
        } else if (art == 252) {
            m_fenster.upload.zurRuhe();                                   // a new detection
        } else if (art == 253) {
            m_fenster.upload.portVerloren();
        } else if (m_fenster.Upload->isEnabled()) {
            return klicke(s);
        }
        return pruefe(vorher, erfolgVorher, genaueCrc);
    }

    // Whether the receive event came and took exactly the image's CRC.
    bool empfange(const QByteArray &antwort)
    {
        const QByteArray wartend = m_port.eingang + antwort;
        const bool genommen = m_port.RThreshold() > 0 && wartend.size() >= m_port.RThreshold();
        m_port.empfange(antwort);
        return genommen && wartend == m_fenster.datei.crcwert;
    }

    // Answers from the board or the line: CR, CR and more, noise, the
    // image's CRC, and the CRC spoilt by one byte more, less or different.
    QByteArray antwortAus(Steuerung &s) const
    {
        QByteArray crc = m_fenster.datei.crcwert;
        switch (s.wahl(8)) {
        case 0: case 1: case 2: return "\r";
        case 3: return "\r" + s.bytes(s.wahl(6));
        case 4: return s.bytes(1 + s.wahl(6));
        case 5: case 6: return crc;
        }
        const int stelle = s.wahl(4);
        switch (s.wahl(3)) {
        case 0: return crc + s.bytes(1);
        case 1: return crc.left(stelle);
        default:
            crc[stelle] = char(crc[stelle] ^ (1 + s.wahl(255)));
            return crc;
        }
    }

    QString pruefe(quint8 vorher, bool erfolgVorher, bool genaueCrc)
    {
        if (status() > Uploadablauf::upload_fertig)
            return QStringLiteral("state %1").arg(status());
        if (vorher == Uploadablauf::kein_upload && m_port.gesendet.size() > m_geprueft)
            return QStringLiteral("sent at rest");
        const bool ganzesBild = m_uebereinstimmend == m_leitung.size();
        if (erfolgAngezeigt() && !erfolgVorher && !(vorher == Uploadablauf::warte_crc && genaueCrc && ganzesBild))
            return QStringLiteral("success shown in state %1 without the exact CRC after the whole image").arg(vorher);
        if (vorher == Uploadablauf::warte_crc && genaueCrc && !erfolgAngezeigt())
            return QStringLiteral("the exact CRC did not give success");
        if (erfolgAngezeigt() && !erfolgVorher)
            ++m_erfolge;
        return neueAusgabe(true);
    }

    QString neueAusgabe(bool hoechstensEine)
    {
        if (hoechstensEine && m_port.gesendet.size() > m_geprueft + 1)
            return QStringLiteral("more than one piece for one event");
        for (; m_geprueft < m_port.gesendet.size(); ++m_geprueft) {
            const QByteArray &stueck = m_port.gesendet.at(m_geprueft);
            if (stueck.size() > 513)
                return QStringLiteral("%1 bytes handed over at once").arg(stueck.size());
            if (m_leitung.mid(m_uebereinstimmend, stueck.size()) != stueck)
                return QStringLiteral("the bytes leave the clean upload at byte %1").arg(m_uebereinstimmend);
            m_uebereinstimmend += stueck.size();
        }
        return {};
    }

    QTemporaryDir m_ordner;
    QStringList m_bilder;
    FakeComPort m_port;
    TestDialoge m_dialoge;
    KVXLoad m_fenster{m_port, m_dialoge};
    QByteArray m_leitung;
    qsizetype m_geprueft = 0;         // pieces handed to the port that have been checked
    qsizetype m_uebereinstimmend = 0; // bytes of m_leitung handed over so far
    int m_erfolge = 0;
};
