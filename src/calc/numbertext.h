#pragma once

#include <QString>
#include <QStringView>
#include <optional>

// Text forms of numbers shared by the engine and the grid. Always "." as the decimal point,
// whatever the locale.

// The engine's form: the shortest text with at most 15 significant digits, no 0 before the
// point (.5, -.25), exponent form at 1E+15 and above and below 1E-04 (1E+20, 1.5E-05).
QString NumberText(double value);

// The form a cell shows for a number: as NumberText, but with the 0 before the point (0.5).
QString gridNumberText(double value);
// The same, and what that text reads back as: the value itself, or the value cut to 15 digits.
QString gridNumberText(double value, double& readsBackAs);
// The form a cell shows for a number rounded to fewer significant digits (1 to 15), for a cell
// too narrow for the whole: an exponent form keeps its exponent, and a number with more digits
// before the point than it keeps takes the exponent form (123456 to 3 digits is 1.23E+05).
QString gridNumberText(double value, int significantDigits);
// The same text written to out, which has room for NumberTextRoom characters (the longest
// 15-digit form, such as -1.23456789012346E-308, with room to spare); returns its length.
constexpr int NumberTextRoom = 40;
int writeGridNumberText(double value, char16_t* out);

// The value that the 15-digit text of a number reads back as.
double cutTo15Digits(double value);

// True when the whole text is one decimal number: an optional sign, digits with at most one
// point and at least one digit, optionally a capital "E" with an optionally signed integer.
// Nothing else, not even a blank.
bool isNumber(QStringView text);

// The nearest double of a text that passes isNumber; nothing when it does not, or when the
// number lies outside the range of a double. This is how a formula takes a text as a number.
std::optional<double> readFormulaNumber(QStringView text);

// The looser reading of a text that only looks like a number, for showing and charting cells:
// blanks at both ends are ignored and a small "e" counts as the exponent's "E".
std::optional<double> readNumber(QStringView text);
