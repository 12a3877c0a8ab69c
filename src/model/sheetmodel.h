#pragma once

#include "calc/cellsource.h"
#include "calc/cellvalue.h"
#include "calc/sheetsize.h"
#include "model/gridstate.h"
#include "model/sheetmetrics.h"

#include <QString>
#include <array>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

class clsCal;

// The layout a sheet file carries: column widths at display size 1 and the display scale.
struct SheetLayout
{
    float DisplayScale = 1.0f;
    // Until a file sets them, the default widths: a trailer cut short keeps these.
    std::array<int, LastCol + 1> ColWidths = [] {
        std::array<int, LastCol + 1> widths;
        widths.fill(DefaultColumnWidth);
        widths[0] = DefaultHeadingWidth;
        return widths;
    }();
};

// A cell's expression at its place, as a file or a copy of a sheet holds it.
struct StoredCell
{
    int row;
    int col;
    QString expression;
};

// One sheet without any window: the expressions (Ex) and values (ExVal) of its cells, the grid
// state that shows them, the text that passes through the overlay editor, the change mark and
// the formula being pointed for. Reading a cell moves the grid's current cell there, which the
// engine's range sum relies on to know the formula's own cell.
class SheetModel : public CellSource
{
public:
    static constexpr int StoreRows = LastRow + 2; // rows 0..501
    static constexpr int StoreCols = LastCol + 2; // columns 0..27
    using EngineSource = std::function<clsCal&()>;

    // The engine is asked for only when a formula is entered.
    explicit SheetModel(EngineSource engine);

    GridState& grid() { return m_grid; }
    const GridState& grid() const { return m_grid; }

    // The expression of a cell. Reading moves the grid's current cell to (row, col); writing
    // leaves the grid alone. Cells outside the store throw std::out_of_range.
    QString Ex(int row, int col);
    void setEx(int row, int col, const QString& expression);
    const CellValue& ExVal(int row, int col)
    {
        const size_t i = storeIndex(row, col);
        m_grid.setCurrent(row, col);
        return m_exVal[i];
    }
    void setExVal(int row, int col, const CellValue& value);
    // The expression without moving the current cell, for scans of the whole sheet.
    const QString& exWithoutMoving(int row, int col) const { return m_ex[storeIndex(row, col)]; }

    // Stores text as the expression of the grid's current cell, evaluates a formula and shows
    // its result or error marker; the current cell stays where it was.
    void enter(const QString& text);
    // Makes (row, col) current and enters text there as the overlay editor's Enter does: the
    // text becomes the editor's text first (a change of it marks the sheet changed).
    void enterAt(int row, int col, const QString& text);
    // A cell is being entered (grid events raised meanwhile must not start another entry).
    bool entering() const { return m_entering; }

    // The last row and the last column that hold an expression; (0, 0) for an empty sheet.
    std::pair<int, int> usedExtent() const;
    // Every cell that holds an expression, row by row, as a save or a copy of the sheet keeps
    // it. The expressions are shared with the sheet, not copied.
    std::vector<StoredCell> storedCells() const;
    // The decimal places the sheet's formulas are computed to.
    qint16 roundDigits() const;
    // Enters every cell up to the used extent again through the editor's text, one sweep row
    // by row.
    void recalculate();

    // The overlay editor's text. Every change of it marks the sheet changed, whether typed or
    // put there by a command; the sheet window shows it in its editor.
    const QString& editorText() const { return m_editorText; }
    void setEditorText(const QString& text);

    // The shown text of a cell as a command writes it (result: a formula's result). A cell
    // whose expression is shown while it is edited remembers this text for the edit's end.
    void showText(int row, int col, const QString& text, bool result = false);
    // Shows a cell's expression in place of its result while its text is edited, remembering
    // what it showed; showing another cell's expression puts the first one's text back.
    void showExpression(int row, int col);
    // An edit abandoned: the cell shows what it showed before, or what a command wrote to it
    // meanwhile.
    void restoreShownText();
    // The text a cell shows for its value or marker; while its expression stands in the cell
    // for an edit, the text it shows again when the edit ends.
    const QString& valueText(int row, int col) const
    {
        return m_shown && m_shown->row == row && m_shown->col == col ? m_shown->text
                                                                     : m_grid.textAt(row, col);
    }

    // The sheet differs from what was last read or saved.
    bool isChanged() const { return m_changed; }
    void markChanged() { m_changed = true; }
    void clearChanged() { m_changed = false; }

    // The cell whose formula is being typed while the user points at other cells; (0, 0) when
    // nobody points.
    int activeRow() const { return m_activeRow; }
    int activeCol() const { return m_activeCol; }
    void startPointing(int row, int col);
    void endPointing() { startPointing(0, 0); }

    // Column widths × scale, the heading column and the rows (but the heading row) at their
    // default sizes × scale, and the font size of the scale's display size. The layout's scale
    // becomes the sheet's display size.
    void applyLayout(const SheetLayout& layout);
    // The layout as a save writes it: the column widths ÷ the sheet's display size, cut to
    // whole twips, and that size.
    SheetLayout layout() const;

    // The display size the sheet is shown at: 1, 0.75 or 1.25. Each sheet has its own.
    float displayScale() const { return m_displayScale; }
    // Shows the sheet at another display size: the grid font in points, every row (headings
    // included) at the given height, every column (heading included) scaled by the new size ÷
    // the sheet's own, in whole twips with halves to even, so widths the user changed keep
    // their proportions.
    void setDisplaySize(const DisplaySize& size);

    // Told of every change to what a save would write: an expression or the layout. Changes
    // made to the grid's sizes from outside (a column dragged wider) are noted with
    // noteLayoutChange().
    void setCommitListener(std::function<void()> listener)
    {
        m_commitListener = std::move(listener);
    }
    void noteLayoutChange() { committed(); }

    // CellSource
    const CellValue& cellValue(int row, int col) override { return ExVal(row, col); }
    int currentRow() const override { return m_grid.Row(); }
    int currentCol() const override { return m_grid.Col(); }

private:
    size_t storeIndex(int row, int col) const
    {
        if (unsigned(row) >= unsigned(StoreRows) || unsigned(col) >= unsigned(StoreCols)) {
            outOfRange();
        }
        return size_t(row) * StoreCols + size_t(col);
    }
    [[noreturn]] static void outOfRange();
    void storeEx(int row, int col, const QString& expression);
    void committed()
    {
        if (m_commitListener) {
            m_commitListener();
        }
    }

    GridState m_grid;
    EngineSource m_engine;
    std::vector<QString> m_ex;
    std::vector<CellValue> m_exVal;
    // How many expressions each data row and column holds (index 0 unused).
    std::array<int, LastRow + 1> m_rowCounts{};
    std::array<int, LastCol + 1> m_colCounts{};
    QString m_editorText;
    // The cell showing its expression for an edit, and the text it shows once the edit ends.
    struct ShownText
    {
        int row = 0;
        int col = 0;
        QString text;
        bool result = false;
    };
    std::optional<ShownText> m_shown;
    std::function<void()> m_commitListener;
    float m_displayScale = 1.0f;
    bool m_entering = false;
    bool m_changed = false;
    int m_activeRow = 0;
    int m_activeCol = 0;
};
