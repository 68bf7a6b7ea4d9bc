#pragma once

#include <QJsonObject>
#include <QString>

#include <optional>

// A port as the command line names it: a COM number as in the window's port
// field, "COMn", or a device.
struct Portangabe
{
    int comNummer = 0;  // 0 for a device the window has no number for
    QString geraet;
    QString seriennummer;  // the USB serial number, when the system reports it
    QString usb;           // "0403:6001", when the system reports it

    // "COM3", or the device when it has no number.
    QString name() const;
    // "COM3 (/dev/ttyUSB2)", or the device when it has no number.
    QString bezeichnung() const;
    // "COM 3" as the window writes it, or the device when it has no number.
    QString anzeigename() const;
    // The device itself, whichever name reaches it: two links to one
    // device are one board.
    QString schluessel() const;

    static Portangabe fuerGeraet(const QString &geraet);
    // "port", "device", "serial" and "usb", as the event of a port taken on has them.
    QJsonObject felder() const;
    // The port an event names by its fields "port", "device" and "serial".
    static Portangabe ausFeldern(const QJsonObject &felder);
};

// Reads one value of -p ("3", "COM3", "/dev/ttyACM0"). A COM number outside
// 1 to 20 gives nothing and `fehler` says why.
std::optional<Portangabe> portangabeLesen(const QString &text, QString &fehler);
