#pragma once

#include <QString>

// The numeric value of a text as the port field reads it: blanks, tabs and line
// feeds are ignored, and the number (sign, digits, decimal point, exponent) is
// read up to the first character that cannot continue it. A text without a
// leading number is 0. Any text gives a finite value or an infinity, never
// undefined behaviour.
double zahlenwert(const QString &text);
