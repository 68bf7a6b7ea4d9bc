#pragma once

#include "bench/platine.h"
#include "bench/portangabe.h"
#include "bench/seriennummernfeld.h"
#include "broker/brokeradresse.h"
#include "cli/seitenoptionen.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QList>
#include <QStringList>

#include <optional>

// What the command line asks for.
struct Optionen
{
    Q_DECLARE_TR_FUNCTIONS(Optionen)

public:
    enum Modus { flashen, auflisten, beobachten, untersuchen, statistik };

    Modus modus = flashen;
    QList<Portangabe> ports;     // empty with -p auto
    bool automatisch = false;    // -p auto, or no -p: the board that answers
    bool nurEine = false;        // no -p: exactly one board must answer
    Platine::Einstellungen einstellungen;
    bool json = false;
    bool leise = false;
    bool pruefen = false;        // --list --probe
    // The watch's filters and record.
    std::optional<quint16> usbVid;
    std::optional<quint16> usbPid;
    QString seriennummer;
    QString protokolldatei;
    QString bildpfad;
    bool roh = false;  // --raw: the file as it is, whatever its form
    // --stats: the log read, and from when on.
    QString statistikdatei;
    std::optional<QDateTime> seit;
    // A serial number per board: where it goes, the counter, where it starts.
    std::optional<Seriennummernfeld> snFeld;
    QString snZaehler;
    quint64 snErste = 1;
    // Every record also to an MQTT broker.
    std::optional<Brokereinstellungen> broker;
    bool snUeberschreiben = false;  // --sn-overwrite: the field may hold data
    // --expect-sha256: the only image this job takes.
    QByteArray erwartetesSha256;
    // The bench page, and the bench's name there.
    std::optional<Seitenangabe> seite;
    QString werkbankname;
};

// The value of --lang, found before the options are read, so that they are
// read, and their errors told, in that language.
QString gewuenschteSprache(const QStringList &argumente);

// Reads the arguments (the program's name first). --help, --help-all and
// --version print and end the program here. A usage error gives nothing, and
// `fehler` says what is wrong.
std::optional<Optionen> optionenLesen(const QStringList &argumente, QString &fehler);
