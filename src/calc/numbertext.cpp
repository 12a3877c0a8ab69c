#include "numbertext.h"

#include <QVarLengthArray>
#include <charconv>
#include <cmath>

namespace {

// printf's %.15G: it switches to the exponent form exactly where the engine's rule does.
QString formatted15(double value, bool zeroBeforePoint)
{
    if (value == 0.0) {
        return QStringLiteral("0"); // also for -0, which a cell never shows
    }
    char buf[40];
    const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, 15);
    if (ec != std::errc()) {
        return QString();
    }
    const char* begin = buf;
    QString text;
    text.reserve(int(end - begin));
    if (*begin == '-') {
        text += QLatin1Char('-');
        ++begin;
    }
    if (!zeroBeforePoint && begin[0] == '0' && begin + 1 < end && begin[1] == '.') {
        ++begin;
    }
    for (const char* p = begin; p != end; ++p) {
        text += QLatin1Char(*p == 'e' ? 'E' : *p);
    }
    return text;
}

bool isDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

QStringView trimmedBlanks(QStringView text)
{
    qsizetype b = 0;
    qsizetype e = text.size();
    while (b < e && (text[b] == QLatin1Char(' ') || text[b] == QLatin1Char('\t'))) {
        ++b;
    }
    while (e > b && (text[e - 1] == QLatin1Char(' ') || text[e - 1] == QLatin1Char('\t'))) {
        --e;
    }
    return text.sliced(b, e - b);
}

} // namespace

QString NumberText(double value)
{
    return formatted15(value, false);
}

QString gridNumberText(double value)
{
    return formatted15(value, true);
}

double cutTo15Digits(double value)
{
    if (!std::isfinite(value)) {
        return value;
    }
    char buf[40];
    const auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, 14);
    double back = value;
    std::from_chars(buf, r.ptr, back);
    return back;
}

bool isNumber(QStringView text)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    if (i < n && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-'))) {
        ++i;
    }
    int digits = 0;
    int points = 0;
    for (; i < n; ++i) {
        if (isDigit(text[i])) {
            ++digits;
        } else if (text[i] == QLatin1Char('.')) {
            if (++points > 1) {
                return false;
            }
        } else {
            break;
        }
    }
    if (digits == 0) {
        return false;
    }
    if (i < n && (text[i] == QLatin1Char('E') || text[i] == QLatin1Char('e'))) {
        ++i;
        if (i < n && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-'))) {
            ++i;
        }
        const qsizetype expStart = i;
        while (i < n && isDigit(text[i])) {
            ++i;
        }
        if (i == expStart) {
            return false;
        }
    }
    return i == n;
}

std::optional<double> readNumber(QStringView text)
{
    text = trimmedBlanks(text);
    if (!isNumber(text)) {
        return std::nullopt;
    }
    if (text.front() == QLatin1Char('+')) {
        text = text.sliced(1); // from_chars takes no plus sign
    }
    QVarLengthArray<char, 64> ascii(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        ascii[i] = char(text[i].unicode());
    }
    double value = 0;
    const auto [ptr, ec] = std::from_chars(ascii.data(), ascii.data() + ascii.size(), value);
    if (ec != std::errc() || ptr != ascii.data() + ascii.size()) {
        return std::nullopt;
    }
    return value;
}
