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
        meldungen << text;
        titel_ << titel;
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

    QStringList meldungen;
    QStringList titel_;
    QStringList erlaeuterungen;
    std::deque<QString> dateien;
    CommonDialogSettings letzteEinstellungen;
};
