#include "update/firmwareabbild.h"

#include "core/texte.h"

#include <limits>
#include <optional>

namespace {

constexpr char fuellbyte = '\xFF';
constexpr quint64 hoechsteMoeglicheAdresse = std::numeric_limits<quint64>::max();

// The image as records and segments fill it. Below the limit each byte is
// kept with a mark that it was written, so that an overlap with other bytes
// is seen; beyond, only the highest address is noted.
class Ablage
{
public:
    explicit Ablage(quint64 grenze) : m_grenze(grenze) {}

    // Places `anzahl` bytes at `adresse`: the first address already written
    // with another byte, if any.
    std::optional<quint64> ablegen(quint64 adresse, const char *daten, quint64 anzahl)
    {
        if (anzahl == 0)
            return std::nullopt;
        const quint64 letzte = anzahl - 1 > hoechsteMoeglicheAdresse - adresse ? hoechsteMoeglicheAdresse
                                                                               : adresse + anzahl - 1;
        m_abbild.ersteAdresse = m_beschrieben ? qMin(m_abbild.ersteAdresse, adresse) : adresse;
        m_abbild.letzteAdresse = m_beschrieben ? qMax(m_abbild.letzteAdresse, letzte) : letzte;
        m_beschrieben = true;
        if (adresse >= m_grenze)
            return std::nullopt;
        const qsizetype ende = qsizetype(qMin(letzte, m_grenze - 1)) + 1;
        if (m_abbild.bytes.size() < ende) {
            m_belegt.resize(ende, '\0');
            m_abbild.bytes.resize(ende, fuellbyte);
        }
        char *bytes = m_abbild.bytes.data();
        char *belegt = m_belegt.data();
        for (qsizetype stelle = qsizetype(adresse); stelle < ende; ++stelle, ++daten) {
            if (belegt[stelle] && bytes[stelle] != *daten)
                return quint64(stelle);
            m_abbild.datenbytes += !belegt[stelle];
            belegt[stelle] = 1;
            bytes[stelle] = *daten;
        }
        return std::nullopt;
    }

    Firmwareabbild abbild(Abbildangaben::Format format) const
    {
        Firmwareabbild abbild = m_abbild;
        abbild.format = format;
        if (!m_beschrieben)
            abbild.fehler = Texte::keineDaten();
        return abbild;
    }

private:
    const quint64 m_grenze;
    Firmwareabbild m_abbild;
    QByteArray m_belegt;
    bool m_beschrieben = false;
};

Firmwareabbild abgelehnt(Abbildangaben::Format format, const QString &fehler)
{
    Firmwareabbild abbild;
    abbild.format = format;
    abbild.fehler = fehler;
    return abbild;
}

int hexwert(char zeichen)
{
    if (zeichen >= '0' && zeichen <= '9')
        return zeichen - '0';
    if (zeichen >= 'A' && zeichen <= 'F')
        return zeichen - 'A' + 10;
    if (zeichen >= 'a' && zeichen <= 'f')
        return zeichen - 'a' + 10;
    return -1;
}

// How many hex digits stand from `anfang` on.
qsizetype hexziffern(QByteArrayView text, qsizetype anfang)
{
    qsizetype ende = anfang;
    while (ende < text.size() && hexwert(text[ende]) >= 0)
        ++ende;
    return ende - anfang;
}

// One line of a record format, read: its bytes to place at `adresse`, or
// the reason it is refused; `schluss` after the record that ends the file.
struct Datensatz
{
    QString fehler;
    quint64 adresse = 0;
    QByteArray daten;
    bool schluss = false;
};

// The bytes that the hex digits after the first `kopf` characters spell,
// the record's count first: false, with the reason, when they are not
// a record of `zusatz` bytes beyond the count.
bool datensatzbytes(QByteArrayView zeile, qsizetype kopf, int zusatz, const QString &wo, QByteArray &bytes,
                    QString &fehler)
{
    const qsizetype ziffern = zeile.size() - kopf;
    if (hexziffern(zeile, kopf) != ziffern)
        fehler = Texte::keinDatensatz(wo);
    else if (ziffern % 2 != 0 || ziffern < 2)
        fehler = Texte::datensatzUnvollstaendig(wo);
    if (!fehler.isEmpty())
        return false;
    bytes = QByteArray::fromHex(zeile.sliced(kopf).toByteArray());
    const int laenge = quint8(bytes[0]) + zusatz;
    if (bytes.size() != laenge)
        fehler = bytes.size() < laenge ? Texte::datensatzUnvollstaendig(wo) : Texte::keinDatensatz(wo);
    return fehler.isEmpty();
}

quint32 summe(const QByteArray &bytes)
{
    quint32 s = 0;
    for (const char b : bytes)
        s += quint8(b);
    return s & 0xFF;
}

// `anzahl` bytes from `stelle` on, most significant first.
quint64 grossEndian(const QByteArray &bytes, qsizetype stelle, int anzahl)
{
    quint64 wert = 0;
    for (int i = 0; i < anzahl; ++i)
        wert = (wert << 8) | quint8(bytes[stelle + i]);
    return wert;
}

// Hands each non-empty line of `datei` to `tun` with its number, one at a
// time, without copying the file: LF, CR and CR LF each end a line. Stops
// when `tun` says false.
template<typename Tun>
void jedeZeile(const QByteArray &datei, Tun tun)
{
    int nummer = 0;
    for (qsizetype anfang = 0; anfang < datei.size();) {
        qsizetype ende = anfang;
        while (ende < datei.size() && datei[ende] != '\r' && datei[ende] != '\n')
            ++ende;
        ++nummer;
        if (ende > anfang && !tun(QByteArrayView(datei).sliced(anfang, ende - anfang), nummer))
            return;
        anfang = ende + (datei.mid(ende, 2) == "\r\n" ? 2 : 1);
    }
}

// The line formats: every non-empty line a record, nothing after the record
// that ends the file.
template<typename Lesen>
Firmwareabbild zeilenweise(const QByteArray &datei, Abbildangaben::Format format, quint64 grenze, bool schlussNoetig,
                           Lesen datensatzLesen)
{
    Ablage ablage(grenze);
    bool schluss = false;
    QString fehler;
    jedeZeile(datei, [&](QByteArrayView zeile, int nummer) {
        const QString wo = Texte::zeile(nummer);
        if (schluss) {
            fehler = Texte::nachDemSchluss(wo);
            return false;
        }
        const Datensatz satz = datensatzLesen(zeile, wo);
        fehler = satz.fehler;
        if (fehler.isEmpty())
            if (const auto belegt = ablage.ablegen(satz.adresse, satz.daten.constData(), quint64(satz.daten.size())))
                fehler = Texte::andersBelegt(wo, *belegt);
        schluss = satz.schluss;
        return fehler.isEmpty();
    });
    if (fehler.isEmpty() && schlussNoetig && !schluss)
        fehler = Texte::schlussFehlt();
    return fehler.isEmpty() ? ablage.abbild(format) : abgelehnt(format, fehler);
}

// Intel HEX: ":", count, 16-bit offset, type, data, checksum. Type 02 sets
// a segment base, 04 a linear one; as GNU binutils reads them, the offsets
// count from their sum, so a file that mixes them lies where objcopy puts
// it. 03 and 05 name a start address the bootloader has no use for.
Firmwareabbild hexLesen(const QByteArray &datei, quint64 grenze)
{
    quint64 segmentbasis = 0;
    quint64 linearbasis = 0;
    return zeilenweise(datei, Abbildangaben::ihex, grenze, true, [&](QByteArrayView zeile, const QString &wo) {
        // The count each type but data must have.
        static const int laengeFuerTyp[] = {-1, 0, 2, 4, 2, 4};
        Datensatz satz;
        QByteArray b;
        if (!zeile.startsWith(':'))
            satz.fehler = Texte::keinDatensatz(wo);
        else if (datensatzbytes(zeile, 1, 5, wo, b, satz.fehler) && summe(b) != 0)
            satz.fehler = Texte::pruefsummeFalsch(wo);
        if (!satz.fehler.isEmpty())
            return satz;
        const int typ = quint8(b[3]);
        if (typ > 5 || (typ > 0 && quint8(b[0]) != laengeFuerTyp[typ])) {
            satz.fehler = Texte::keinDatensatz(wo);
        } else if (typ == 0) {
            satz.adresse = linearbasis + segmentbasis + grossEndian(b, 1, 2);
            satz.daten = b.mid(4, quint8(b[0]));
        } else if (typ == 2) {
            segmentbasis = grossEndian(b, 4, 2) << 4;
        } else if (typ == 4) {
            linearbasis = grossEndian(b, 4, 2) << 16;
        }
        satz.schluss = typ == 1;
        return satz;
    });
}

// Motorola S-records: "S", type, count, address of 2, 3 or 4 bytes, data,
// checksum. S0 is a header, S5 and S6 count the data records so far, S7 to
// S9 end the file with a start address and nothing else.
Firmwareabbild srecLesen(const QByteArray &datei, quint64 grenze)
{
    quint64 datensaetze = 0;
    return zeilenweise(datei, Abbildangaben::srec, grenze, false, [&datensaetze](QByteArrayView zeile,
                                                                                const QString &wo) {
        static const int adressbytes[] = {2, 2, 3, 4, 0, 2, 3, 4, 3, 2};
        Datensatz satz;
        QByteArray b;
        const int typ = zeile.size() > 1 ? zeile[1] - '0' : -1;
        if (!zeile.startsWith('S') || typ < 0 || typ > 9 || typ == 4)
            satz.fehler = Texte::keinDatensatz(wo);
        else if (datensatzbytes(zeile, 2, 1, wo, b, satz.fehler)
                 && (quint8(b[0]) < adressbytes[typ] + 1 || (typ >= 7 && quint8(b[0]) != adressbytes[typ] + 1)))
            satz.fehler = Texte::keinDatensatz(wo);
        else if (satz.fehler.isEmpty() && summe(b) != 0xFF)
            satz.fehler = Texte::pruefsummeFalsch(wo);
        if (!satz.fehler.isEmpty())
            return satz;
        const quint64 adresse = grossEndian(b, 1, adressbytes[typ]);
        if (typ >= 1 && typ <= 3) {
            satz.adresse = adresse;
            satz.daten = b.mid(1 + adressbytes[typ], quint8(b[0]) - adressbytes[typ] - 1);
            ++datensaetze;
        } else if ((typ == 5 || typ == 6) && adresse != datensaetze) {
            satz.fehler = Texte::datensatzzahlFalsch(wo);
        }
        satz.schluss = typ >= 7;
        return satz;
    });
}

// The fields of an ELF file in its byte order.
class Elf
{
public:
    explicit Elf(const QByteArray &datei)
        : d(datei), gross(datei.size() > 5 && datei[5] == 2), breit(datei.size() > 4 && datei[4] == 2)
    {
    }

    // The loadable bytes of every PT_LOAD segment, at its physical address.
    Firmwareabbild lesen(quint64 grenze) const
    {
        const quint64 groesse = quint64(d.size());
        if (groesse < (breit ? 64u : 52u) || (d[4] != 1 && d[4] != 2) || (d[5] != 1 && d[5] != 2))
            return abgelehnt(Abbildangaben::elf, Texte::elfKopfFehlerhaft());
        const quint64 tabelle = breit ? zahl(32, 8) : zahl(28, 4);
        const quint64 eintrag = zahl(breit ? 54 : 42, 2);
        const quint64 eintraege = zahl(breit ? 56 : 44, 2);
        if (eintraege > 0 && (eintrag != (breit ? 56u : 32u) || tabelle > groesse
                              || eintraege * eintrag > groesse - tabelle))
            return abgelehnt(Abbildangaben::elf, Texte::elfKopfFehlerhaft());

        const quint64 koepfe = qMax<quint64>(breit ? 64u : 52u, tabelle + eintraege * eintrag);
        bool koepfeGeladen = false;
        Ablage ablage(grenze);
        int ladbare = 0;
        for (quint64 nummer = 0; nummer < eintraege; ++nummer) {
            const qsizetype kopf = qsizetype(tabelle + nummer * eintrag);
            const quint64 versatz = breit ? zahl(kopf + 8, 8) : zahl(kopf + 4, 4);
            const quint64 physisch = breit ? zahl(kopf + 24, 8) : zahl(kopf + 12, 4);
            const quint64 dateibytes = breit ? zahl(kopf + 32, 8) : zahl(kopf + 16, 4);
            const quint64 speicherbytes = breit ? zahl(kopf + 40, 8) : zahl(kopf + 20, 4);
            if (zahl(kopf, 4) != ptLoad || dateibytes == 0)
                continue;
            // Firmware has a handful; thousands laid over each other would
            // only keep the window busy for seconds.
            if (++ladbare > hoechstensLadbare)
                return abgelehnt(Abbildangaben::elf, Texte::elfKopfFehlerhaft());
            const QString wo = Texte::segment(int(nummer));
            if (versatz > groesse || dateibytes > groesse - versatz)
                return abgelehnt(Abbildangaben::elf, Texte::ausserhalbDerDatei(wo));
            if (dateibytes > speicherbytes)
                return abgelehnt(Abbildangaben::elf, Texte::mehrAlsImSpeicher(wo));
            if (const auto belegt = ablage.ablegen(physisch, d.constData() + versatz, dateibytes))
                return abgelehnt(Abbildangaben::elf, Texte::andersBelegt(wo, *belegt));
            koepfeGeladen = koepfeGeladen || versatz < koepfe;
        }
        Firmwareabbild abbild = ablage.abbild(Abbildangaben::elf);
        abbild.koepfeGeladen = koepfeGeladen;
        return abbild;
    }

private:
    static constexpr quint64 ptLoad = 1;
    static constexpr int hoechstensLadbare = 1024;

    quint64 zahl(qsizetype stelle, int anzahl) const
    {
        quint64 wert = 0;
        for (int i = 0; i < anzahl; ++i)
            wert |= quint64(quint8(d[stelle + i])) << (8 * (gross ? anzahl - 1 - i : i));
        return wert;
    }

    const QByteArray &d;
    const bool gross;  // big-endian
    const bool breit;  // 64-bit
};

// Whether a line has the look of a record of a line format, damaged or not.
bool wieHex(QByteArrayView zeile)
{
    return zeile.size() > 1 && zeile[0] == ':' && hexwert(zeile[1]) >= 0;
}

bool wieSrec(QByteArrayView zeile)
{
    return zeile.size() > 1 && (zeile[0] == 'S' || zeile[0] == 's') && zeile[1] >= '0' && zeile[1] <= '9';
}

} // namespace

Abbildangaben::Format Firmwareabbild::erkennen(const QByteArray &datei)
{
    // An ELF file's class and byte order are checked by its reader.
    if (datei.startsWith("\x7F" "ELF"))
        return elf;
    // A line format when most of its lines look like records, blanks and a
    // byte-order mark aside: a line that is not one is then a damaged record,
    // refused by the reader, never sent as text.
    qsizetype zeilen = 0, hexzeilen = 0, sreczeilen = 0;
    jedeZeile(datei, [&](QByteArrayView zeile, int) {
        zeile = zeile.trimmed();
        if (zeile.startsWith("\xEF\xBB\xBF"))
            zeile = zeile.sliced(3);
        ++zeilen;
        hexzeilen += wieHex(zeile);
        sreczeilen += wieSrec(zeile);
        return true;
    });
    if (2 * hexzeilen > zeilen)
        return ihex;
    if (2 * sreczeilen > zeilen)
        return srec;
    return roh;
}

Firmwareabbild Firmwareabbild::lesen(const QByteArray &datei, Format format, quint64 grenze)
{
    switch (format) {
    case ihex:
        return hexLesen(datei, grenze);
    case srec:
        return srecLesen(datei, grenze);
    case elf:
        return Elf(datei).lesen(grenze);
    case roh:
        break;
    }
    Firmwareabbild abbild;
    abbild.bytes = datei;
    abbild.letzteAdresse = quint64(qMax<qsizetype>(datei.size(), 1) - 1);
    abbild.datenbytes = datei.size();
    if (datei.isEmpty())
        abbild.fehler = Texte::keineDaten();
    return abbild;
}
