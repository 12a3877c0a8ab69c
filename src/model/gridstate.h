#pragma once

#include "calc/sheetsize.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <functional>
#include <vector>

// A rectangle of cells with its corners ordered.
struct CellRange
{
    int top = 0;
    int left = 0;
    int bottom = -1;
    int right = -1;

    bool isEmpty() const { return bottom < top || right < left; }
    bool contains(int row, int col) const
    {
        return row >= top && row <= bottom && col >= left && col <= right;
    }
    bool operator==(const CellRange&) const = default;
};

// Everything a sheet's grid shows, as a plain object: current cell, selection, shown texts,
// sizes in twips, colours and display switches. Code moves the current cell here with a range
// check and a few assignments, inline; the view is told at most once that something changed and
// repaints when the event loop gets to it.
class GridState
{
public:
    GridState(int rows = LastRow + 1, int cols = LastCol + 1);

    int Rows() const { return m_rows; }
    int Cols() const { return m_cols; }
    int FixedRows() const { return 1; }
    int FixedCols() const { return 1; }

    // The current cell. Setting it also collapses the selection onto it.
    int Row() const { return m_row; }
    int Col() const { return m_col; }
    void setRow(int row);
    void setCol(int col);
    // Inline: the engine moves the current cell with every cell it reads.
    void setCurrent(int row, int col)
    {
        checkCell(row, col);
        m_row = m_rowSel = row;
        m_col = m_colSel = col;
        changed();
    }

    // A1 current and selected alone, in view at the top left: where a sheet just read starts.
    void home()
    {
        setCurrent(FixedRows(), FixedCols());
        setTopRow(FixedRows());
        setLeftCol(FixedCols());
    }

    // The second corner of the selection; it may lie above or left of the current cell.
    int RowSel() const { return m_rowSel; }
    int ColSel() const { return m_colSel; }
    void setRowSel(int row);
    void setColSel(int col);
    // The selection with its corners ordered: top <= bottom, left <= right.
    int selTop() const { return std::min(m_row, m_rowSel); }
    int selBottom() const { return std::max(m_row, m_rowSel); }
    int selLeft() const { return std::min(m_col, m_colSel); }
    int selRight() const { return std::max(m_col, m_colSel); }
    bool isSelected(int row, int col) const;

    // Shown text of the current cell, and of any cell.
    const QString& Text() const { return textAt(m_row, m_col); }
    void setText(const QString& text) { setTextAt(m_row, m_col, text); }
    const QString& textAt(int row, int col) const;
    void setTextAt(int row, int col, const QString& text);
    // A formula's result as a cell's text: a number too wide for its cell is drawn in a shorter
    // form of the same value, where a typed number is cut off like any text.
    void setResultAt(int row, int col, const QString& text);
    bool isResult(int row, int col) const { return m_results[size_t(index(row, col))]; }

    int ColWidth(int col) const;
    int RowHeight(int row) const;
    void setColWidth(int col, int twips);
    void setRowHeight(int row, int twips);
    long RowData(int row) const;
    long ColData(int col) const;
    void setRowData(int row, long value);
    void setColData(int col, long value);

    // Geometry of the current cell in twips, relative to the grid's top-left corner as it is
    // scrolled (TopRow, LeftCol); a cell scrolled out of view lies at a negative offset.
    int CellLeft() const;
    int CellTop() const;
    int CellWidth() const { return ColWidth(m_col); }
    int CellHeight() const { return RowHeight(m_row); }
    int colLeft(int col) const;
    int rowTop(int row) const;

    // Background of the current cell, and of any cell, as 0xRRGGBB; DefaultBack (no colour of
    // its own) lets the cell take the default of its kind.
    static constexpr quint32 DefaultBack = 0xffffffffu;
    quint32 CellBackColor() const { return cellBackColorAt(m_row, m_col); }
    void setCellBackColor(quint32 rgb) { setCellBackColorAt(m_row, m_col, rgb); }
    quint32 cellBackColorAt(int row, int col) const;
    void setCellBackColorAt(int row, int col, quint32 rgb);

    double FontSize() const { return m_fontSize; }
    void setFontSize(double points);

    // 0: never draw the selection; 1: always.
    int HighLight() const { return m_highLight; }
    void setHighLight(int mode);
    // False suspends painting until it is set true again.
    bool Redraw() const { return m_redraw; }
    void setRedraw(bool on);

    // First data row and column in view.
    int TopRow() const { return m_topRow; }
    int LeftCol() const { return m_leftCol; }
    void setTopRow(int row);
    void setLeftCol(int col);

    // Shown texts of the selection, row by row.
    QList<QStringList> Clip() const;
    // Places rows of texts into the selection from its top-left cell on; rows and fields
    // beyond the selection are left out, cells they do not reach keep their texts.
    void setClip(const QList<QStringList>& rows);

    // The view's hook: called when something visible changed and the view has not been told
    // since its last paint.
    void setChangeListener(std::function<void()> listener) { m_listener = std::move(listener); }
    void markPainted() { m_dirty = false; }

private:
    int index(int row, int col) const;
    void checkCell(int row, int col) const
    {
        if (unsigned(row) >= unsigned(m_rows) || unsigned(col) >= unsigned(m_cols)) {
            outOfRange();
        }
    }
    [[noreturn]] static void outOfRange();
    // The view is told once that something visible changed, and only while drawing is on.
    void changed()
    {
        if (!m_dirty && m_redraw) {
            tellListener();
        }
    }
    void tellListener();

    int m_rows;
    int m_cols;
    int m_row = 1;
    int m_col = 1;
    int m_rowSel = 1;
    int m_colSel = 1;
    int m_topRow = 1;
    int m_leftCol = 1;
    int m_highLight = 1;
    bool m_redraw = true;
    bool m_dirty = false;
    double m_fontSize = 12;
    std::vector<QString> m_texts;
    std::vector<bool> m_results;
    std::vector<quint32> m_backColors;
    std::vector<int> m_colWidths;
    std::vector<int> m_rowHeights;
    std::vector<long> m_rowData;
    std::vector<long> m_colData;
    std::function<void()> m_listener;
};

// Drawing and highlight off for as long as the object lives: work that visits cells one by one
// through the current cell is painted once, at the end. Highlight comes back as "always".
class QuietGrid
{
public:
    explicit QuietGrid(GridState& grid) : m_grid(grid)
    {
        m_grid.setHighLight(0);
        m_grid.setRedraw(false);
    }
    ~QuietGrid()
    {
        m_grid.setHighLight(1);
        m_grid.setRedraw(true);
    }
    QuietGrid(const QuietGrid&) = delete;
    QuietGrid& operator=(const QuietGrid&) = delete;

private:
    GridState& m_grid;
};

// The grid's selection, whichever corner it was started from.
inline CellRange orderedSelection(const GridState& grid)
{
    return {grid.selTop(), grid.selLeft(), grid.selBottom(), grid.selRight()};
}

// Only the current cell is selected: there is no block to print or chart.
inline bool selectionIsOneCell(const GridState& grid)
{
    return grid.Row() == grid.RowSel() && grid.Col() == grid.ColSel();
}
