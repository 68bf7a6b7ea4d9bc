#pragma once

#include <QString>

// Standard output, each text written at once and checked: a full disk or a
// reader that went away (a closed pipe) is noticed and said once on standard
// error, never lost in a buffer.
class Ausgabe
{
public:
    void schreiben(const QString &text);
    // Whether something could not be written.
    bool fehlgeschlagen() const { return m_fehlgeschlagen; }

private:
    bool m_fehlgeschlagen = false;
};

// "kvxflash: " and the text, as a line on standard error.
void fehlermeldung(const QString &text);
