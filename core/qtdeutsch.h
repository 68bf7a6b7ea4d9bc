#pragma once

// The program speaks German, so Qt's own texts (dialog buttons, command-line
// errors) do too, where the translation is installed.
void qtTexteAufDeutsch();
