#pragma once

#include <QtGlobal>

// Outcome of one evaluation. The numbers are the error kinds the cell markers are chosen by;
// Undefined covers every input the formula rules give no result for, and shows as "Err" alone.
enum class CalcStatus : qint16 {
    Ok = 0,
    BadCharacter = 1,   // a character that may not appear, two operators in a row, a bad reference
    BadParenthesis = 2, // unbalanced parentheses or an unusable minus sign
    TooLong = 3,        // more than 255 characters
    DivisionByZero = 4,
    BadFunction = 5,   // unknown function, bad argument, bad range or range cell
    CircularRange = 6, // a range sum over the formula's own cell
    EmptyCell = 7,     // a reference to an empty cell
    Undefined = 8,
};

class QString;

// The text a cell shows for a failed formula: "Err" and the word of its kind, or "Err" alone.
QString markerText(CalcStatus status);
