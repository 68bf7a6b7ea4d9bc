#pragma once

#include <QCoreApplication>
#include <QString>

#include <optional>

// Where the bench's records go: the broker, how to log in, and the topics'
// prefix, read from mqtt://[USER@]HOST[:PORT][/PREFIX] or mqtts://….
struct Brokeradresse
{
    Q_DECLARE_TR_FUNCTIONS(Brokeradresse)

public:
    QString host;
    int port = 1883;
    QString benutzer;
    QString praefix = QStringLiteral("kvxflash");
    bool tls = false;

    // Nothing when the URL does not parse, and `fehler` says why.
    static std::optional<Brokeradresse> lesen(const QString &url, QString &fehler);
};

// Everything the broker's messenger needs besides the address.
struct Brokereinstellungen
{
    Brokeradresse adresse;
    QString passwort;
    QString caDatei;       // with mqtts://
    QString postausgang;   // the outbox file
    QString werkbank;      // the bench's name in the topics and records
    int warteSekunden = 10;
};
