#pragma once

#include "model/gridstate.h"

#include <QString>
#include <vector>

class SheetModel;

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

// Spreads rows of texts over the ordered selection from its top-left cell, then enters every
// cell of the selection row by row from what it shows, each through the editor's text, which
// keeps the last one. Drawing and highlight are off meanwhile.
void pasteText(SheetModel& sheet, const QList<QStringList>& rows);
