#include "edit/cellblock.h"

#include "model/gridstate.h"
#include "model/sheetmodel.h"

CellBlock::CellBlock(const CellRange& range)
    : m_range(range),
      m_texts(range.isEmpty()
                  ? 0
                  : size_t(range.bottom - range.top + 1) * size_t(range.right - range.left + 1))
{
}

const QString& CellBlock::at(int row, int col) const
{
    static const QString empty;
    if (!m_range.contains(row, col)) {
        return empty;
    }
    return m_texts[size_t(row - m_range.top) * size_t(m_range.right - m_range.left + 1) +
                   size_t(col - m_range.left)];
}

void CellBlock::set(int row, int col, const QString& text)
{
    if (m_range.contains(row, col)) {
        m_texts[size_t(row - m_range.top) * size_t(m_range.right - m_range.left + 1) +
                size_t(col - m_range.left)] = text;
    }
}

void whitenSheet(GridState& grid)
{
    whitenRange(grid, {1, 1, LastRow, LastCol});
}

void whitenRange(GridState& grid, const CellRange& range)
{
    for (int c = range.left; c <= range.right; ++c) {
        for (int r = range.top; r <= range.bottom; ++r) {
            grid.setCellBackColorAt(r, c, cellcolour::White);
        }
    }
}

void pasteText(SheetModel& sheet, const QList<QStringList>& rows)
{
    GridState& grid = sheet.grid();
    const QuietGrid quiet(grid);
    grid.setClip(rows);
    const CellRange range = orderedSelection(grid);
    for (int r = range.top; r <= range.bottom && r <= LastRow; ++r) {
        for (int c = range.left; c <= range.right && c <= LastCol; ++c) {
            sheet.enterAt(r, c, QString(grid.textAt(r, c))); // a copy: entering rewrites the text
        }
    }
}
