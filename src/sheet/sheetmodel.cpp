#include "sheetmodel.h"

#include "calcstatus.h"
#include "clscal.h"
#include "numbertext.h"

#include <cmath>
#include <stdexcept>

SheetModel::SheetModel(EngineSource engine)
    : m_grid(LastRow + 1, LastCol + 1), m_engine(std::move(engine)), m_ex(size_t(StoreRows) * StoreCols),
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

namespace {

// Whether upper-casing can change the text: only a lower-case ASCII letter or a character
// beyond ASCII can.
bool mayHaveLowerCase(QStringView text)
{
    for (const QChar c : text) {
        if (c.unicode() >= u'a') {
            return true;
        }
    }
    return false;
}

} // namespace

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

    QString& expression = m_ex[storeIndex(row, col)];
    expression = text;
    if (!expression.startsWith(QLatin1Char('='))) {
        showText(row, col, text);
        setExVal(row, col, CellValue::fromText(text));
        return;
    }
    if (mayHaveLowerCase(expression)) {
        expression = expression.toUpper();
    }
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
        const CellValue result = CellValue::fromNumber(value);
        showText(row, col, result.text());
        setExVal(row, col, result);
    } else {
        showText(row, col, markerText(status));
    }
}

void SheetModel::enterAt(int row, int col, const QString& text)
{
    m_grid.setCurrent(row, col);
    setEditorText(text);
    enter(text);
}

std::pair<int, int> SheetModel::usedExtent() const
{
    int lastRow = 0;
    int lastCol = 0;
    for (int i = 1; i <= LastRow; ++i) {
        for (int j = 1; j <= LastCol; ++j) {
            if (!m_ex[storeIndex(i, j)].isEmpty()) {
                lastRow = std::max(lastRow, i);
                lastCol = std::max(lastCol, j);
            }
        }
    }
    return {lastRow, lastCol};
}

void SheetModel::recalculate()
{
    const auto [lastRow, lastCol] = usedExtent();
    for (int i = 1; i <= lastRow; ++i) {
        for (int j = 1; j <= lastCol; ++j) {
            // A copy: entering writes the store.
            enterAt(i, j, QString(m_ex[storeIndex(i, j)]));
        }
    }
}

void SheetModel::setEditorText(const QString& text)
{
    if (text != m_editorText) {
        m_editorText = text;
        m_changed = true;
    }
}

void SheetModel::showText(int row, int col, const QString& text)
{
    m_grid.setTextAt(row, col, text);
    if (m_shown && m_shown->row == row && m_shown->col == col) {
        m_shown->text = text;
    }
}

void SheetModel::showExpression(int row, int col)
{
    if (m_shown && (m_shown->row != row || m_shown->col != col)) {
        restoreShownText();
    }
    if (!m_shown) {
        m_shown = ShownText{row, col, m_grid.text(row, col)};
    }
    m_grid.setTextAt(row, col, m_ex[storeIndex(row, col)]);
}

void SheetModel::restoreShownText()
{
    if (m_shown) {
        m_grid.setTextAt(m_shown->row, m_shown->col, m_shown->text);
        m_shown.reset();
    }
}

void SheetModel::startPointing(int row, int col)
{
    m_activeRow = row;
    m_activeCol = col;
}

void SheetModel::applyLayout(const SheetLayout& layout)
{
    const double scale = layout.DisplayScale;
    for (int c = 1; c < m_grid.Cols(); ++c) {
        m_grid.setColWidth(c, int(std::nearbyint(layout.ColWidths[size_t(c)] * scale)));
    }
    m_grid.setColWidth(0, int(std::nearbyint(600 * scale)));
    for (int r = 1; r < m_grid.Rows(); ++r) {
        m_grid.setRowHeight(r, int(std::nearbyint(360 * scale)));
    }
    if (layout.DisplayScale == 1.0f) {
        m_grid.setFontSize(12);
    } else if (layout.DisplayScale == 0.75f) {
        m_grid.setFontSize(9);
    } else if (layout.DisplayScale == 1.25f) {
        m_grid.setFontSize(16);
    }
}
