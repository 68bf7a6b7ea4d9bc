#pragma once

#include "core/dialoge.h"

#include <QStringList>

#include <deque>

// Answers the modal boxes for a test: records every message and hands the
// file dialog the paths queued beforehand (nothing queued: Cancel).
class TestDialoge : public Dialoge
{
public:
    void meldung(const QString &text, const QString &titel, const QString &erlaeuterung) override
    {
        boxen << titel + ": " + text;
        erlaeuterungen << erlaeuterung;
    }

    std::optional<QString> ShowOpen(const CommonDialogSettings &settings) override
    {
        letzteEinstellungen = settings;
        if (dateien.empty())
            return std::nullopt;
        const QString pfad = dateien.front();
        dateien.pop_front();
        return pfad;
    }

    QStringList boxen;   // "title: text"
    QStringList erlaeuterungen;
    std::deque<QString> dateien;
    CommonDialogSettings letzteEinstellungen;
};
