#include "sheetmodel.h"

#include "calcstatus.h"
#include "clscal.h"
#include "gridstate.h"
#include "numbertext.h"

#include <cmath>
#include <stdexcept>

SheetModel::SheetModel(GridState& grid, EngineSource engine)
    : m_grid(grid), m_engine(std::move(engine)), m_ex(size_t(StoreRows) * StoreCols),
      m_exVal(size_t(StoreRows) * StoreCols)
{
}

size_t SheetModel::storeIndex(int row, int col) const
{
    if (row < 0 || row >= StoreRows || col < 0 || col >= StoreCols) {
        throw std::out_of_range("cell store index out of range");
    }
    return size_t(row) * StoreCols + size_t(col);
}

QString SheetModel::Ex(int row, int col)
{
    const size_t i = storeIndex(row, col);
    m_grid.setCurrent(row, col);
    return m_ex[i];
}

void SheetModel::setEx(int row, int col, const QString& expression)
{
    m_ex[storeIndex(row, col)] = expression;
}

const CellValue& SheetModel::ExVal(int row, int col)
{
    const size_t i = storeIndex(row, col);
    m_grid.setCurrent(row, col);
    return m_exVal[i];
}

void SheetModel::setExVal(int row, int col, const CellValue& value)
{
    m_exVal[storeIndex(row, col)] = value;
}

int SheetModel::currentRow() const
{
    return m_grid.Row();
}

int SheetModel::currentCol() const
{
    return m_grid.Col();
}

void SheetModel::enter(const QString& text)
{
    const int row = m_grid.Row();
    const int col = m_grid.Col();
    struct Entering {
        bool& flag;
        bool was;
        ~Entering() { flag = was; }
    } entering{m_entering, m_entering};
    m_entering = true;

    setEx(row, col, text);
    QString expression = Ex(row, col);
    if (!expression.startsWith(QLatin1Char('='))) {
        m_grid.setText(text);
        setExVal(row, col, CellValue::fromText(text));
        return;
    }
    expression = expression.toUpper();
    setEx(row, col, expression);
    // Every "=" goes before evaluating; usually there is only the leading one to skip.
    QStringView formula = QStringView(expression).sliced(1);
    QString withoutEquals;
    if (formula.contains(QLatin1Char('='))) {
        withoutEquals = formula.toString().remove(QLatin1Char('='));
        formula = withoutEquals;
    }
    double value = 0;
    const CalcStatus status = m_engine().Calc(formula, value, *this);
    // Reading the cells a formula refers to moved the current cell.
    m_grid.setCurrent(row, col);
    if (status == CalcStatus::Ok) {
        m_grid.setText(gridNumberText(value));
        setExVal(row, col, CellValue::fromNumber(value));
    } else {
        m_grid.setText(markerText(status));
    }
}

std::pair<int, int> SheetModel::usedExtent() const
{
    int lastRow = 0;
    int lastCol = 0;
    for (int i = 1; i < m_grid.Rows(); ++i) {
        for (int j = 1; j < m_grid.Cols(); ++j) {
            if (!m_ex[storeIndex(i, j)].isEmpty()) {
                lastRow = std::max(lastRow, i);
                lastCol = std::max(lastCol, j);
            }
        }
    }
    return {lastRow, lastCol};
}

bool SheetModel::recalculate(QString& editorText)
{
    const auto [lastRow, lastCol] = usedExtent();
    bool changed = false;
    for (int i = 1; i <= lastRow; ++i) {
        for (int j = 1; j <= lastCol; ++j) {
            // A copy: entering writes the store.
            changed |= enterAt(i, j, QString(m_ex[storeIndex(i, j)]), editorText);
        }
    }
    return changed;
}

bool SheetModel::enterAt(int row, int col, const QString& text, QString& editorText)
{
    m_grid.setCurrent(row, col);
    const bool changed = text != editorText;
    editorText = text;
    enter(text);
    return changed;
}

void SheetModel::applyLayout(const std::array<int, 27>& colWidths, float scale)
{
    for (int c = 1; c < m_grid.Cols(); ++c) {
        m_grid.setColWidth(c, int(std::nearbyint(colWidths[size_t(c)] * double(scale))));
    }
    m_grid.setColWidth(0, int(std::nearbyint(600 * double(scale))));
    for (int r = 1; r < m_grid.Rows(); ++r) {
        m_grid.setRowHeight(r, int(std::nearbyint(360 * double(scale))));
    }
    if (scale == 1.0f) {
        m_grid.setFontSize(12);
    } else if (scale == 0.75f) {
        m_grid.setFontSize(9);
    } else if (scale == 1.25f) {
        m_grid.setFontSize(16);
    }
}
