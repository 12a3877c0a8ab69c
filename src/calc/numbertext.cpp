#include "calc/numbertext.h"

#include <algorithm>

#include "calc/decimaldigits.h"

#include <QVarLengthArray>
#include <charconv>
#include <cmath>
#include <cstdint>

namespace {

// The usual case, a value that is the nearest double of a decimal with at most 15 digits
// between 1E-04 and 1E+15: the shortest such decimal, found by scaling, written to out.
// Returns its length, or 0 for any other value.
int plainDecimal(double value, bool zeroBeforePoint, char16_t* out)
{
    const double magnitude = std::fabs(value);
    if (!(magnitude >= 1e-4 && magnitude < 1e15)) {
        return 0;
    }
    for (int decimals = 0; decimals <= 19; ++decimals) {
        const double product = magnitude * ExactPow10[size_t(decimals)];
        const double scaled = std::nearbyint(product);
        if (scaled >= 1e15) {
            return 0;
        }
        // Where scaled / 10^decimals gives the value back, the product lies within two roundings
        // (a few parts in 2^52) of scaled; a product further off fails the division below for
        // certain, and is passed over without dividing.
        if (std::fabs(product - scaled) > scaled * 0x1p-50 ||
            scaled / ExactPow10[size_t(decimals)] != magnitude) {
            continue;
        }
        char digits[24];
        int n = 0;
        for (auto k = std::uint64_t(scaled); k != 0; k /= 10) {
            digits[n++] = char('0' + k % 10);
        }
        int length = 0;
        if (value < 0) {
            out[length++] = u'-';
        }
        if (n <= decimals) { // below 1
            if (zeroBeforePoint) {
                out[length++] = u'0';
            }
            out[length++] = u'.';
            for (int zeros = decimals - n; zeros > 0; --zeros) {
                out[length++] = u'0';
            }
        }
        for (int i = n - 1; i >= 0; --i) {
            out[length++] = char16_t(digits[i]);
            if (i == decimals && i > 0) {
                out[length++] = u'.';
            }
        }
        return length;
    }
    return 0;
}

// printf's %.15G, written to out (NumberTextRoom characters): it switches to the exponent form
// exactly where the engine's rule does. Returns the length; exact tells whether the text
// reads back as the value itself (or 0 for -0).
int formatted15(double value, bool zeroBeforePoint, char16_t* out, bool* exact = nullptr)
{
    if (exact) {
        *exact = true;
    }
    if (value == 0.0) {
        out[0] = u'0'; // also for -0, which a cell never shows
        return 1;
    }
    if (const int length = plainDecimal(value, zeroBeforePoint, out); length > 0) {
        return length;
    }
    if (exact) {
        *exact = false;
    }
    char buf[NumberTextRoom];
    const auto [end, ec] =
        std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, 15);
    if (ec != std::errc()) {
        return 0;
    }
    const char* begin = buf;
    int length = 0;
    if (*begin == '-') {
        out[length++] = u'-';
        ++begin;
    }
    if (!zeroBeforePoint && begin[0] == '0' && begin + 1 < end && begin[1] == '.') {
        ++begin;
    }
    for (const char* p = begin; p != end; ++p) {
        out[length++] = char16_t(*p == 'e' ? 'E' : *p);
    }
    return length;
}

QString formattedText(double value, bool zeroBeforePoint)
{
    char16_t text[NumberTextRoom];
    const int length = formatted15(value, zeroBeforePoint, text);
    return QString(reinterpret_cast<const QChar*>(text), length);
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

QString gridNumberText(double value, int significantDigits)
{
    if (value == 0.0) {
        return QStringLiteral("0");
    }
    char buf[NumberTextRoom];
    const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general,
                                         std::clamp(significantDigits, 1, 15));
    if (ec != std::errc()) {
        return gridNumberText(value);
    }
    QString text = QString::fromLatin1(buf, end - buf);
    text.replace(QLatin1Char('e'), QLatin1Char('E'));
    return text;
}

QString NumberText(double value)
{
    return formattedText(value, false);
}

QString gridNumberText(double value)
{
    return formattedText(value, true);
}

QString gridNumberText(double value, double& readsBackAs)
{
    char16_t text[NumberTextRoom];
    bool exact = false;
    const int length = formatted15(value, true, text, &exact);
    const QStringView view(text, length);
    readsBackAs = exact ? value + 0.0 : readFormulaNumber(view).value_or(value);
    return view.toString();
}

int writeGridNumberText(double value, char16_t* out)
{
    return formatted15(value, true, out);
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

namespace {

// The nearest double of a well-formed number text through the general reader.
std::optional<double> generalValue(QStringView text)
{
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

// The number test in one pass; smallE lets "e" stand for the exponent's "E". When value is
// given it receives the nearest double, or nothing beyond the range of a double. Formulas read
// numbers all the time, so the usual plain decimal is read on the way.
bool scanNumber(QStringView text, bool smallE, std::optional<double>* value = nullptr)
{
    const qsizetype n = text.size();
    qsizetype i = 0;
    const bool negative = n > 0 && text[0] == QLatin1Char('-');
    if (negative || (n > 0 && text[0] == QLatin1Char('+'))) {
        ++i;
    }
    DecimalDigits digits;
    for (; i < n; ++i) {
        const char16_t u = text[i].unicode();
        if (u >= '0' && u <= '9') {
            digits.addDigit(u);
        } else if (u == '.' && !digits.hasPoint()) {
            digits.addPoint();
        } else {
            break;
        }
    }
    if (!digits.hasDigits()) {
        return false;
    }
    bool exponent = false;
    if (i < n && (text[i] == QLatin1Char('E') || (smallE && text[i] == QLatin1Char('e')))) {
        exponent = true;
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
    if (i != n) {
        return false;
    }
    if (value) {
        const auto plain = exponent ? std::nullopt : digits.value(negative);
        *value = plain ? plain : generalValue(text);
    }
    return true;
}

} // namespace

bool isNumber(QStringView text)
{
    return scanNumber(text, false);
}

std::optional<double> readFormulaNumber(QStringView text)
{
    std::optional<double> value;
    scanNumber(text, false, &value);
    return value;
}

std::optional<double> readNumber(QStringView text)
{
    std::optional<double> value;
    scanNumber(trimmedBlanks(text), true, &value);
    return value;
}
