#include "serial/zahlenwert.h"

#include <QByteArray>

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The text without the characters that the reading skips, as Latin-1: any
// character outside it cannot be part of a number and ends the reading anyway.
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

} // namespace

double zahlenwert(const QString &text)
{
    const QByteArray s = withoutBlanks(text);
    qsizetype i = 0;
    QByteArray number;

    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        number.append(s[i++]);
    const qsizetype mantissaStart = i;
    while (i < s.size() && isDigit(s[i]))
        number.append(s[i++]);
    if (i < s.size() && s[i] == '.') {
        number.append(s[i++]);
        while (i < s.size() && isDigit(s[i]))
            number.append(s[i++]);
    }
    const bool hasDigits = number.size() > (mantissaStart + (number.contains('.') ? 1 : 0));
    if (!hasDigits)
        return 0.0;

    // An exponent counts only with at least one digit; a huge one is capped,
    // which keeps the result an infinity or zero, as the real value demands.
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E' || s[i] == 'd' || s[i] == 'D')) {
        qsizetype j = i + 1;
        const bool negative = j < s.size() && s[j] == '-';
        if (j < s.size() && (s[j] == '+' || s[j] == '-'))
            ++j;
        long exponent = 0;
        const qsizetype digitsStart = j;
        for (; j < s.size() && isDigit(s[j]); ++j)
            exponent = qMin(exponent * 10 + (s[j] - '0'), 100000L);
        if (j > digitsStart)
            number.append('e').append(negative ? "-" : "").append(QByteArray::number(exponent));
    }

    bool ok = false;
    const double value = number.toDouble(&ok);
    return value;
}
