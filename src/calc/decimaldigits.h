#pragma once

#include <array>
#include <cstdint>
#include <optional>

// The powers of ten a double holds exactly.
inline constexpr std::array<double, 23> ExactPow10 = {
    1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
    1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// The digits and point of a plain decimal, taken one character at a time by whoever scans the
// text anyway: the number test, and the evaluator reading its operands. Up to 15 significant
// digits and 22 decimals the digits as a whole number are exact, and so is the power of ten,
// so one division gives the nearest double, as the general reader would. Beyond that, and for
// what is no decimal (no digit, two points), value() has nothing and the text is left to the
// general reader.
class DecimalDigits
{
public:
    void addDigit(char16_t u)
    {
        ++m_digits;
        if (m_significant != 0 || u != u'0') {
            ++m_significant;
        }
        if (m_significant <= 15) {
            m_mantissa = m_mantissa * 10 + (u - u'0');
        }
        m_decimals += m_points;
    }
    void addPoint() { ++m_points; }
    bool hasPoint() const { return m_points != 0; }
    bool hasDigits() const { return m_digits != 0; }

    std::optional<double> value(bool negative = false) const
    {
        if (m_digits == 0 || m_points > 1 || m_significant > 15 || m_decimals > 22) {
            return std::nullopt;
        }
        const double magnitude = double(m_mantissa) / ExactPow10[size_t(m_decimals)];
        return negative ? -magnitude : magnitude;
    }

private:
    std::int64_t m_mantissa = 0;
    int m_digits = 0;
    int m_significant = 0;
    int m_decimals = 0;
    int m_points = 0;
};
