#pragma once

#include "gridstate.h"

#include <QString>
#include <vector>

class SheetModel;

// The editing commands' work on one sheet's cells: taking a block of expressions, emptying,
// pasting and restoring it, and the pink marking of a copied block. The main window keeps the
// buffers and flags between commands.

// Expressions of a rectangle, each kept at its own row and column.
class CellBlock
{
public:
    CellBlock() = default;
    explicit CellBlock(const CellRange& range);

    bool isEmpty() const { return m_range.isEmpty(); }
    const CellRange& range() const { return m_range; }
    const QString& at(int row, int col) const;
    void set(int row, int col, const QString& text);

private:
    CellRange m_range;
    std::vector<QString> m_texts;
};

namespace cellcolour {
constexpr quint32 Marked = 0xFFC0FF; // a block in the copy buffer
constexpr quint32 White = 0xFFFFFF;
} // namespace cellcolour

// Every cell of the sheet (rows 1 to 500, columns 1 to 26) white again.
void whitenSheet(GridState& grid);
// Whitens the cells of a range.
void whitenRange(GridState& grid, const CellRange& range);

// The expressions of a range, visited column by column, each column top to bottom; marked pink
// when asked. The current cell ends on the range's bottom-right cell.
CellBlock takeBlock(SheetModel& sheet, const CellRange& range, bool mark);

// Empties the cells of a range (shown text and expression; the stored value stays and nothing
// is recomputed), column by column; marked pink when asked.
void emptyRange(SheetModel& sheet, const CellRange& range, bool mark);

// Enters the block with its top-left cell at the anchor, column by column, each column top to
// bottom, dropping what falls beyond row 500 or column 26. Each text passes through
// editorText as through the overlay editor; returns whether that text changed.
bool pasteBlock(SheetModel& sheet, const CellBlock& block, int anchorRow, int anchorCol, QString& editorText);

// Puts a block back where it was taken from, column by column: each cell white again and
// entered anew. Returns whether the editor's text changed on the way.
bool restoreBlock(SheetModel& sheet, const CellBlock& block, QString& editorText);

// A text from the clipboard as the grid's block text: rows end at CR LF, CR or LF alike, and
// one row end at the very end makes no further row.
QString blockTextFromClipboard(QString text);

// Spreads a block text over the ordered selection from its top-left cell, then enters every
// cell of the selection row by row from what it shows. Returns whether the editor's text
// changed on the way.
bool pasteText(SheetModel& sheet, const QString& blockText, QString& editorText);
