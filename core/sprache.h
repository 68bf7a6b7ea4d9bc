#pragma once

// The language of the user interface: German, the language the texts are
// written in, or English.

#include <QString>

// "de" or "en": the one asked for (a command-line option), else the one in
// KVXLOADER_LANG, else the user's locale. Anything else asked for is ignored.
QString spracheWaehlen(const QString &gewuenscht = QString());

// Chooses the language as above and installs the program's translation and
// Qt's own (dialog buttons, command-line errors) for it. Called again, it
// replaces what it installed before.
void spracheEinrichten(const QString &gewuenscht = QString());

// The language set up last; German before the first set-up.
QString eingerichteteSprache();
