#include "model/gridstate.h"

#include "model/sheetmetrics.h"

#include <QStringList>
#include <numeric>
#include <stdexcept>

GridState::GridState(int rows, int cols)
    : m_rows(rows), m_cols(cols), m_texts(size_t(rows) * cols), m_results(size_t(rows) * cols),
      m_backColors(size_t(rows) * cols, DefaultBack), m_colWidths(cols, DefaultColumnWidth),
      m_rowHeights(rows, DefaultRowHeight), m_rowData(rows, 0), m_colData(cols, 0)
{
    if (cols > 0) {
        m_colWidths[0] = DefaultHeadingWidth;
    }
}

void GridState::outOfRange()
{
    throw std::out_of_range("grid cell out of range");
}

int GridState::index(int row, int col) const
{
    checkCell(row, col);
    return row * m_cols + col;
}

void GridState::tellListener()
{
    m_dirty = true;
    if (m_listener) {
        m_listener();
    }
}

void GridState::setRow(int row)
{
    checkCell(row, m_col);
    m_row = m_rowSel = row;
    m_colSel = m_col;
    changed();
}

void GridState::setCol(int col)
{
    checkCell(m_row, col);
    m_col = m_colSel = col;
    m_rowSel = m_row;
    changed();
}

void GridState::setRowSel(int row)
{
    checkCell(row, m_col);
    m_rowSel = row;
    changed();
}

void GridState::setColSel(int col)
{
    checkCell(m_row, col);
    m_colSel = col;
    changed();
}

bool GridState::isSelected(int row, int col) const
{
    return row >= selTop() && row <= selBottom() && col >= selLeft() && col <= selRight();
}

const QString& GridState::textAt(int row, int col) const
{
    return m_texts[index(row, col)];
}

void GridState::setResultAt(int row, int col, const QString& text)
{
    setTextAt(row, col, text);
    m_results[size_t(index(row, col))] = true;
}

void GridState::setTextAt(int row, int col, const QString& text)
{
    m_results[size_t(index(row, col))] = false;
    QString& shown = m_texts[index(row, col)];
    if (!shown.isSharedWith(text)) {
        shown = text;
    }
    changed();
}

int GridState::ColWidth(int col) const
{
    checkCell(0, col);
    return m_colWidths[col];
}

int GridState::RowHeight(int row) const
{
    checkCell(row, 0);
    return m_rowHeights[row];
}

void GridState::setColWidth(int col, int twips)
{
    checkCell(0, col);
    m_colWidths[col] = std::max(0, twips);
    changed();
}

void GridState::setRowHeight(int row, int twips)
{
    checkCell(row, 0);
    m_rowHeights[row] = std::max(0, twips);
    changed();
}

long GridState::RowData(int row) const
{
    checkCell(row, 0);
    return m_rowData[row];
}

long GridState::ColData(int col) const
{
    checkCell(0, col);
    return m_colData[col];
}

void GridState::setRowData(int row, long value)
{
    checkCell(row, 0);
    m_rowData[row] = value;
}

void GridState::setColData(int col, long value)
{
    checkCell(0, col);
    m_colData[col] = value;
}

namespace {

// Offset of a line (column or row) from the grid's edge: heading lines stay in place, the
// others start after the headings, scrolled so that `first` is the first one shown.
int lineOffset(const std::vector<int>& sizes, int fixed, int first, int line)
{
    const auto begin = sizes.begin();
    if (line < fixed) {
        return std::accumulate(begin, begin + line, 0);
    }
    const int headings = std::accumulate(begin, begin + fixed, 0);
    if (line >= first) {
        return headings + std::accumulate(begin + first, begin + line, 0);
    }
    return headings - std::accumulate(begin + line, begin + first, 0);
}

} // namespace

int GridState::colLeft(int col) const
{
    checkCell(0, col);
    return lineOffset(m_colWidths, FixedCols(), m_leftCol, col);
}

int GridState::rowTop(int row) const
{
    checkCell(row, 0);
    return lineOffset(m_rowHeights, FixedRows(), m_topRow, row);
}

int GridState::CellLeft() const
{
    return colLeft(m_col);
}

int GridState::CellTop() const
{
    return rowTop(m_row);
}

quint32 GridState::cellBackColorAt(int row, int col) const
{
    return m_backColors[index(row, col)];
}

void GridState::setCellBackColorAt(int row, int col, quint32 rgb)
{
    m_backColors[index(row, col)] = rgb == DefaultBack ? rgb : (rgb & 0xffffffu);
    changed();
}

void GridState::setFontSize(double points)
{
    m_fontSize = points;
    changed();
}

void GridState::setHighLight(int mode)
{
    m_highLight = mode;
    changed();
}

void GridState::setRedraw(bool on)
{
    m_redraw = on;
    if (on) {
        m_dirty = false;
        changed();
    }
}

void GridState::setTopRow(int row)
{
    checkCell(row, 0);
    m_topRow = std::max(row, FixedRows());
    changed();
}

void GridState::setLeftCol(int col)
{
    checkCell(0, col);
    m_leftCol = std::max(col, FixedCols());
    changed();
}

QList<QStringList> GridState::Clip() const
{
    QList<QStringList> rows;
    for (int r = selTop(); r <= selBottom(); ++r) {
        QStringList row;
        for (int c = selLeft(); c <= selRight(); ++c) {
            row.append(textAt(r, c));
        }
        rows.append(row);
    }
    return rows;
}

void GridState::setClip(const QList<QStringList>& rows)
{
    int r = selTop();
    for (const QStringList& fields : rows) {
        if (r > selBottom()) {
            break;
        }
        int c = selLeft();
        for (const QString& field : fields) {
            if (c > selRight()) {
                break;
            }
            m_texts[index(r, c)] = field;
            m_results[size_t(index(r, c))] = false;
            ++c;
        }
        ++r;
    }
    changed();
}
