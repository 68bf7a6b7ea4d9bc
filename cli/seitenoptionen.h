#pragma once

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QHostAddress>

#include <optional>

// Where the bench page is served.
struct Seitenangabe
{
    QHostAddress adresse;
    quint16 port = 0;  // 0: any free port
};

// The option --serve [ADDR:]PORT.
class Seitenoptionen
{
public:
    Seitenoptionen();
    QList<QCommandLineOption> alle() const { return {m_serve}; }

    // False, with the reason, when --serve names no address and port.
    bool lesen(const QCommandLineParser &parser, std::optional<Seitenangabe> &seite, QString &fehler) const;

    static std::optional<Seitenangabe> seitenangabeLesen(const QString &text);

private:
    QCommandLineOption m_serve;
};
