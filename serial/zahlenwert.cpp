#include "serial/zahlenwert.h"

#include <QByteArray>

#include <limits>

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The text without the characters that the reading skips, as ASCII: any
// other character cannot be part of a number and ends the reading anyway.
QByteArray withoutBlanks(const QString &text)
{
    QByteArray kept;
    for (const QChar c : text) {
        if (c == u' ' || c == u'\t' || c == u'\n')
            continue;
        kept.append(c.unicode() < 128 ? static_cast<char>(c.unicode()) : '\x7f');
    }
    return kept;
}

// Far beyond the range of a double, whatever the digits.
constexpr qint64 ausserhalbJederGroessenordnung = 400;
// Large enough that no text of any length moves a capped value back into range.
constexpr qint64 groessterExponent = qint64(1) << 40;

} // namespace

double zahlenwert(const QString &text)
{
    const QByteArray s = withoutBlanks(text);
    qsizetype i = 0;
    const bool negativ = i < s.size() && s[i] == '-';
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        ++i;

    QByteArray ganz, bruch;
    while (i < s.size() && isDigit(s[i]))
        ganz.append(s[i++]);
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && isDigit(s[i]))
            bruch.append(s[i++]);
    }

    // An exponent counts only with at least one digit.
    qint64 exponent = 0;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E' || s[i] == 'd' || s[i] == 'D')) {
        qsizetype j = i + 1;
        const bool exponentNegativ = j < s.size() && s[j] == '-';
        if (j < s.size() && (s[j] == '+' || s[j] == '-'))
            ++j;
        for (; j < s.size() && isDigit(s[j]); ++j)
            exponent = qMin(exponent * 10 + (s[j] - '0'), groessterExponent);
        if (exponentNegativ)
            exponent = -exponent;
    }

    const QByteArray ziffern = ganz + bruch;
    qsizetype ersteZiffer = 0;
    while (ersteZiffer < ziffern.size() && ziffern[ersteZiffer] == '0')
        ++ersteZiffer;
    if (ersteZiffer == ziffern.size())
        return 0.0;

    // The power of ten of the first significant digit decides overflow and
    // underflow before any conversion sees the text.
    const qint64 groessenordnung = qint64(ganz.size() - ersteZiffer) + exponent;
    if (groessenordnung > ausserhalbJederGroessenordnung)
        return negativ ? -std::numeric_limits<double>::infinity() : std::numeric_limits<double>::infinity();
    if (groessenordnung < -ausserhalbJederGroessenordnung)
        return 0.0;

    const QByteArray zahl = (negativ ? "-0" : "0") + ganz + '.' + bruch + "0e" + QByteArray::number(exponent);
    bool ok = false;
    const double wert = zahl.toDouble(&ok);
    // Just beyond the largest double, Qt answers 0; the value is an infinity.
    if (!ok && groessenordnung > 0)
        return negativ ? -std::numeric_limits<double>::infinity() : std::numeric_limits<double>::infinity();
    return wert;
}
