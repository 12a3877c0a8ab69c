#include "edit/editbuffers.h"

#include "model/sheetmodel.h"

namespace {

// The expressions of a range, visited column by column, each column top to bottom; marked pink
// when asked. The current cell ends on the range's bottom-right cell.
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

// Empties the cells of a range, column by column: shown text and expression; the stored value
// stays and nothing is recomputed.
void emptyRange(SheetModel& sheet, const CellRange& range, bool mark)
{
    GridState& grid = sheet.grid();
    for (int c = range.left; c <= range.right; ++c) {
        for (int r = range.top; r <= range.bottom; ++r) {
            grid.setCurrent(r, c);
            sheet.showText(r, c, QString());
            if (mark) {
                grid.setCellBackColor(cellcolour::Marked);
            }
            sheet.setEx(r, c, QString());
        }
    }
}

} // namespace

void EditBuffers::copy(SheetModel& sheet, bool keepMarks)
{
    GridState& grid = sheet.grid();
    const QuietGrid quiet(grid);
    if (!keepMarks) {
        whitenSheet(grid);
    }
    m_copyBuf = takeBlock(sheet, orderedSelection(grid), true);
    m_selOK = true;
    m_delOK = false;
}

void EditBuffers::cut(const std::shared_ptr<SheetModel>& sheet)
{
    GridState& grid = sheet->grid();
    const QuietGrid quiet(grid);
    const CellRange range = orderedSelection(grid);
    whitenSheet(grid);
    m_copyBuf = takeBlock(*sheet, range, true);
    m_undoBuf = m_copyBuf;
    emptyRange(*sheet, range, true);
    m_undoSheet = sheet;
    m_selOK = true;
    m_delOK = true;
    sheet->markChanged();
}

void EditBuffers::erase(const std::shared_ptr<SheetModel>& sheet)
{
    GridState& grid = sheet->grid();
    const QuietGrid quiet(grid);
    const CellRange range = orderedSelection(grid);
    m_undoBuf = takeBlock(*sheet, range, false);
    emptyRange(*sheet, range, false);
    m_undoSheet = sheet;
    m_delOK = true;
    sheet->markChanged();
}

void EditBuffers::paste(SheetModel& sheet)
{
    if (!m_selOK || m_copyBuf.isEmpty()) {
        return;
    }
    GridState& grid = sheet.grid();
    {
        const QuietGrid quiet(grid);
        const int anchorRow = grid.Row();
        const int anchorCol = grid.Col();
        const CellRange& source = m_copyBuf.range();
        const int height = source.bottom - source.top;
        const int width = source.right - source.left;
        grid.setRowSel(std::min(anchorRow + height, LastRow));
        grid.setColSel(std::min(anchorCol + width, LastCol));
        for (int c = anchorCol; c <= anchorCol + width && c <= LastCol; ++c) {
            for (int r = anchorRow; r <= anchorRow + height && r <= LastRow; ++r) {
                sheet.enterAt(
                    r, c,
                    m_copyBuf.at(source.top + (r - anchorRow), source.left + (c - anchorCol)));
            }
        }
        // The source's own cells turn white on this sheet; another source sheet keeps its marks.
        whitenRange(grid, source);
        grid.setCurrent(anchorRow, anchorCol);
        sheet.endPointing();
    }
    sheet.setEditorText(QString());
    m_selOK = false;
    m_delOK = false;
    sheet.markChanged();
}

void EditBuffers::undo()
{
    if (const std::shared_ptr<SheetModel> sheet = undoSheet()) {
        const CellRange& range = m_undoBuf.range();
        for (int c = range.left; c <= range.right; ++c) {
            for (int r = range.top; r <= range.bottom; ++r) {
                sheet->grid().setCellBackColorAt(r, c, cellcolour::White);
                sheet->enterAt(r, c, m_undoBuf.at(r, c));
            }
        }
    }
    m_delOK = false;
}
