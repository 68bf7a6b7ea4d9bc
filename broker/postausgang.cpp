#include "broker/postausgang.h"

#include "bench/schreiben.h"
#include "core/texte.h"

#include <QFileInfo>

namespace {

constexpr char wartet = '-';
constexpr char genommen = '+';
constexpr qint64 leseschritt = 64 * 1024;

} // namespace

Postausgang::Postausgang(const QString &pfad)
    : m_pfad(pfad), m_datei(pfad)
{
}

bool Postausgang::oeffnen(QString &fehler)
{
    if (QFileInfo(m_pfad).exists() && !QFileInfo(m_pfad).isFile()) {
        fehler = QFileInfo(m_pfad).isDir() ? Texte::istEinOrdner() : Texte::keineNormaleDatei();
        return false;
    }
    if (!m_datei.open(QIODevice::ReadWrite | QIODevice::Unbuffered)) {
        fehler = m_datei.errorString();
        return false;
    }
    m_wartende = 0;
    qint64 ende = 0;
    qint64 ganz = 0;
    for (qint64 stelle = 0; zeilenende(stelle, ende); stelle = ganz = ende + 1)
        if (m_puffer.at(stelle - m_pufferStelle) == wartet)
            ++m_wartende;
    // The rest after the last full line was never written whole.
    if (m_datei.size() > ganz && !m_datei.resize(ganz)) {
        fehler = m_datei.errorString();
        return false;
    }
    m_puffer.clear();
    if (m_wartende == 0 && m_datei.size() > 0)
        m_datei.resize(0);
    return true;
}

bool Postausgang::ablegen(const QByteArray &eintrag, QString &fehler)
{
    fehler = dauerhaftAnhaengen(m_pfad, wartet + eintrag + '\n');
    if (!fehler.isEmpty())
        return false;
    ++m_wartende;
    return true;
}

std::optional<Postausgang::Eintrag> Postausgang::naechster(qint64 stelle)
{
    qint64 ende = 0;
    for (; zeilenende(stelle, ende); stelle = ende + 1) {
        const qint64 anfang = stelle - m_pufferStelle;
        if (m_puffer.at(anfang) == wartet)
            return Eintrag{stelle, ende + 1, m_puffer.mid(anfang + 1, ende - stelle - 1)};
    }
    return std::nullopt;
}

// Where the line at `stelle` ends (its '\n'), read into the buffer; false
// at the end of the file.
bool Postausgang::zeilenende(qint64 stelle, qint64 &ende)
{
    const qint64 gesucht = stelle - m_pufferStelle;
    qsizetype fund = gesucht >= 0 && gesucht < m_puffer.size() ? m_puffer.indexOf('\n', gesucht) : -1;
    // A line longer than one step is read in larger steps.
    for (qint64 schritt = leseschritt; fund < 0; schritt *= 2) {
        if (!m_datei.seek(stelle))
            return false;
        m_puffer = m_datei.read(schritt);
        m_pufferStelle = stelle;
        fund = m_puffer.indexOf('\n');
        if (fund < 0 && m_puffer.size() < schritt)
            return false;
    }
    ende = m_pufferStelle + fund;
    return true;
}

// The mark needs no fdatasync: lost in a crash, it only means the record is
// sent once more, with the same id.
void Postausgang::bestaetigen(qint64 stelle)
{
    char zeichen = 0;
    if (!m_datei.seek(stelle) || !m_datei.getChar(&zeichen) || zeichen != wartet)
        return;
    if (!m_datei.seek(stelle) || !m_datei.putChar(genommen))
        return;
    if (stelle >= m_pufferStelle && stelle < m_pufferStelle + m_puffer.size())
        m_puffer[stelle - m_pufferStelle] = genommen;
    if (--m_wartende == 0) {
        m_datei.resize(0);
        m_puffer.clear();
    }
}
