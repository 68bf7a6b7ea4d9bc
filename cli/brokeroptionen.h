#pragma once

#include "broker/brokeradresse.h"

#include <QCommandLineOption>
#include <QCommandLineParser>

#include <optional>

// The options that send the bench's records to an MQTT broker.
struct Brokeroptionen
{
    Brokeroptionen();

    QList<QCommandLineOption> alle() const;
    // The settings, or none without --mqtt. `protokoll` is the log, beside
    // which the outbox lies by default. False on a usage error.
    bool lesen(const QCommandLineParser &parser, const QString &protokoll, const QString &werkbank,
               std::optional<Brokereinstellungen> &einstellungen, QString &fehler) const;

    const QCommandLineOption mqtt;
    const QCommandLineOption ca;
    const QCommandLineOption passwortdatei;
    const QCommandLineOption postausgang;
    const QCommandLineOption warten;
};
