#pragma once

#include "cellsource.h"
#include "cellvalue.h"

#include <QString>
#include <array>
#include <functional>
#include <utility>
#include <vector>

class GridState;
class clsCal;

// The layout a sheet file carries from the reader to a sheet's grid: column widths at display
// size 1, the display scale, and whether a layout is waiting to be applied.
struct SheetLayout {
    float DisplayScale = 1.0f;
    bool LayoutPending = false;
    // Until a file sets them, the default widths: a trailer cut short keeps these.
    std::array<int, 27> ColWidths = [] {
        std::array<int, 27> widths;
        widths.fill(1200);
        widths[0] = 600;
        return widths;
    }();
};

// The cells of one sheet without any window: the expressions (Ex), their values (ExVal) and
// the grid state that shows them. Reading a cell moves the grid's current cell there, which
// the engine's range sum relies on to know the formula's own cell.
class SheetModel : public CellSource
{
public:
    static constexpr int StoreRows = 502; // rows 0..501
    static constexpr int StoreCols = 28;  // columns 0..27
    using EngineSource = std::function<clsCal&()>;

    // The engine is asked for only when a formula is entered.
    SheetModel(GridState& grid, EngineSource engine);

    GridState& grid() { return m_grid; }
    const GridState& grid() const { return m_grid; }

    // The expression of a cell. Reading moves the grid's current cell to (row, col); writing
    // leaves the grid alone. Cells outside the store throw std::out_of_range.
    QString Ex(int row, int col);
    void setEx(int row, int col, const QString& expression);
    const CellValue& ExVal(int row, int col);
    void setExVal(int row, int col, const CellValue& value);
    // The expression without moving the current cell, for scans of the whole sheet.
    const QString& expression(int row, int col) const { return m_ex[storeIndex(row, col)]; }

    // Stores text as the expression of the grid's current cell, evaluates a formula and shows
    // its result or error marker; the current cell stays where it was.
    void enter(const QString& text);
    // Makes (row, col) current and enters text there as the overlay editor's Enter does: the
    // text passes through editorText (the editor's text); returns whether that text changed,
    // which marks a sheet changed.
    bool enterAt(int row, int col, const QString& text, QString& editorText);
    // A cell is being entered (grid events raised meanwhile must not start another entry).
    bool entering() const { return m_entering; }

    // The last row and the last column that hold an expression; (0, 0) for an empty sheet.
    std::pair<int, int> usedExtent() const;
    // Enters every cell up to the used extent again, one sweep row by row. Each expression
    // passes through editorText, as through the overlay editor; returns whether that text
    // changed on the way.
    bool recalculate(QString& editorText);

    // Column widths × scale, heading column 600 × scale, rows 360 × scale and the font size of
    // the scale (12, 9 or 16; any other scale keeps the font).
    void applyLayout(const std::array<int, 27>& colWidths, float scale);

    // CellSource
    const CellValue& cellValue(int row, int col) override { return ExVal(row, col); }
    int currentRow() const override;
    int currentCol() const override;

private:
    size_t storeIndex(int row, int col) const;

    GridState& m_grid;
    EngineSource m_engine;
    std::vector<QString> m_ex;
    std::vector<CellValue> m_exVal;
    bool m_entering = false;
};
