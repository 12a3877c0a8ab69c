#include "cellblock.h"

#include "gridstate.h"
#include "sheetmodel.h"

namespace {

constexpr int LastRow = 500;
constexpr int LastCol = 26;

} // namespace

CellBlock::CellBlock(const CellRange& range)
    : m_range(range), m_texts(range.isEmpty() ? 0 : size_t(range.bottom - range.top + 1) * size_t(range.right - range.left + 1))
{
}

const QString& CellBlock::at(int row, int col) const
{
    static const QString empty;
    if (!m_range.contains(row, col)) {
        return empty;
    }
    return m_texts[size_t(row - m_range.top) * size_t(m_range.right - m_range.left + 1) + size_t(col - m_range.left)];
}

void CellBlock::set(int row, int col, const QString& text)
{
    if (m_range.contains(row, col)) {
        m_texts[size_t(row - m_range.top) * size_t(m_range.right - m_range.left + 1) + size_t(col - m_range.left)] = text;
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

CellBlock takeBlock(SheetModel& sheet, const CellRange& range, bool mark)
{
    CellBlock block(range);
    GridState& grid = sheet.grid();
    for (int c = range.left; c <= range.right; ++c) {
        for (int r = range.top; r <= range.bottom; ++r) {
            block.set(r, c, sheet.Ex(r, c)); // the read makes the cell current
            if (mark) {
                grid.setCellBackColor(cellcolour::Marked);
            }
        }
    }
    return block;
}

void emptyRange(SheetModel& sheet, const CellRange& range, bool mark)
{
    GridState& grid = sheet.grid();
    for (int c = range.left; c <= range.right; ++c) {
        for (int r = range.top; r <= range.bottom; ++r) {
            grid.setCurrent(r, c);
            grid.setText(QString());
            if (mark) {
                grid.setCellBackColor(cellcolour::Marked);
            }
            sheet.setEx(r, c, QString());
        }
    }
}

bool pasteBlock(SheetModel& sheet, const CellBlock& block, int anchorRow, int anchorCol, QString& editorText)
{
    const CellRange& source = block.range();
    bool changed = false;
    for (int c = anchorCol; c <= anchorCol + (source.right - source.left) && c <= LastCol; ++c) {
        for (int r = anchorRow; r <= anchorRow + (source.bottom - source.top) && r <= LastRow; ++r) {
            const QString& text = block.at(source.top + (r - anchorRow), source.left + (c - anchorCol));
            changed |= sheet.enterAt(r, c, text, editorText);
        }
    }
    return changed;
}

bool restoreBlock(SheetModel& sheet, const CellBlock& block, QString& editorText)
{
    const CellRange& range = block.range();
    bool changed = false;
    for (int c = range.left; c <= range.right; ++c) {
        for (int r = range.top; r <= range.bottom; ++r) {
            sheet.grid().setCellBackColorAt(r, c, cellcolour::White);
            changed |= sheet.enterAt(r, c, block.at(r, c), editorText);
        }
    }
    return changed;
}

QString blockTextFromClipboard(QString text)
{
    text.replace(QLatin1String("\r\n"), QLatin1String("\r"));
    text.replace(QLatin1Char('\n'), QLatin1Char('\r'));
    if (text.endsWith(QLatin1Char('\r'))) {
        text.chop(1);
    }
    return text;
}

bool pasteText(SheetModel& sheet, const QString& blockText, QString& editorText)
{
    GridState& grid = sheet.grid();
    grid.setClip(blockText);
    const CellRange range = orderedSelection(grid);
    bool changed = false;
    for (int r = range.top; r <= range.bottom && r <= LastRow; ++r) {
        for (int c = range.left; c <= range.right && c <= LastCol; ++c) {
            const QString shown = grid.text(r, c);
            changed |= sheet.enterAt(r, c, shown, editorText);
        }
    }
    return changed;
}
