#pragma once

#include <QChar>
#include <QString>

// The shape of every sheet: data rows 1..LastRow and columns 1..LastCol ("A".."Z"); row 0 and
// column 0 are the headings.
inline constexpr int LastRow = 500;
inline constexpr int LastCol = 26;

// "A" for column 1 .. "Z" for column 26.
inline QChar columnLetter(int col)
{
    return QChar(char16_t(u'A' + col - 1));
}

// "B12": the letter and the row, as a formula refers to a cell.
inline QString cellName(int row, int col)
{
    return columnLetter(col) + QString::number(row);
}
