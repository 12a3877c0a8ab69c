#pragma once

#include <QString>
#include <optional>
#include <vector>

// Formulas of books written by other spreadsheets, as this program's formulas hold them.

// A block of cells of the sheet, rows and columns counted from 1, corners in order.
struct CellBlock
{
    int top = 0;
    int left = 0;
    int bottom = 0;
    int right = 0;
};

// A book's formula (without its "=") as this program's formula (without its "="): nothing when
// it uses anything beyond the operators + - * / ^, parentheses, numbers, references A1 to Z500,
// SIN COS TAN ABS SQRT, PI() and SUM of one range. Blanks between tokens are dropped; names are
// taken in capitals. Whether the formula computes is the engine's to say, as when it is typed.
std::optional<QString> programFormula(const QString& bookFormula);

// The cells a formula of ours reads: a block of one cell for each reference, and a range sum's
// whole block.
std::vector<CellBlock> formulaBlocks(const QString& formula);

// A shared formula moved from the cell it was written for by (rows, cols), as a spreadsheet
// copies it: every reference shifts, fixed parts (with "$") stay. Nothing when a reference
// leaves the sheet.
std::optional<QString> shiftedFormula(const QString& formula, int rows, int cols);
