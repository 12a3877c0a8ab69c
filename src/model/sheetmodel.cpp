#include "model/sheetmodel.h"

#include "calc/calcstatus.h"
#include "calc/clscal.h"
#include "calc/numbertext.h"

#include <cmath>
#include <stdexcept>

SheetModel::SheetModel(EngineSource engine)
    : m_grid(LastRow + 1, LastCol + 1), m_engine(std::move(engine)),
      m_ex(size_t(StoreRows) * StoreCols), m_exVal(size_t(StoreRows) * StoreCols)
{
}

void SheetModel::outOfRange()
{
    throw std::out_of_range("cell store index out of range");
}

QString SheetModel::Ex(int row, int col)
{
    const size_t i = storeIndex(row, col);
    m_grid.setCurrent(row, col);
    return m_ex[i];
}

void SheetModel::setEx(int row, int col, const QString& expression)
{
    storeEx(row, col, expression);
}

// Every expression is stored here, so that the count of expressions in each data row and
// column stays true and the used extent is found without looking at every cell.
void SheetModel::storeEx(int row, int col, const QString& expression)
{
    QString& stored = m_ex[storeIndex(row, col)];
    if (row >= 1 && row <= LastRow && col >= 1 && col <= LastCol &&
        stored.isEmpty() != expression.isEmpty()) {
        const int step = expression.isEmpty() ? -1 : 1;
        m_rowCounts[size_t(row)] += step;
        m_colCounts[size_t(col)] += step;
    }
    if (!stored.isSharedWith(expression) && stored != expression) {
        stored = expression;
        committed();
    }
}

void SheetModel::setExVal(int row, int col, const CellValue& value)
{
    m_exVal[storeIndex(row, col)] = value;
}

namespace {

// What one pass over a formula tells: whether upper-casing can change it (only a lower-case
// ASCII letter or a character beyond ASCII can), and whether an "=" follows the leading one.
struct FormulaScan
{
    bool mayHaveLowerCase = false;
    bool moreEquals = false;
};

FormulaScan scanFormula(QStringView formula)
{
    // Plain flags over plain characters, so the compiler can take many characters at a time.
    unsigned lower = 0;
    unsigned equals = 0;
    const char16_t* text = formula.utf16();
    for (qsizetype i = 1; i < formula.size(); ++i) {
        lower |= text[i] >= u'a';
        equals |= text[i] == u'=';
    }
    return {lower != 0, equals != 0};
}

} // namespace

void SheetModel::enter(const QString& text)
{
    const int row = m_grid.Row();
    const int col = m_grid.Col();
    struct Entering
    {
        bool& flag;
        bool was;
        ~Entering() { flag = was; }
    } entering{m_entering, m_entering};
    m_entering = true;

    const size_t cell = storeIndex(row, col);
    storeEx(row, col, text); // a recalculation enters the stored text itself
    QString& expression = m_ex[cell];
    if (!expression.startsWith(QLatin1Char('='))) {
        showText(row, col, text);
        CellValue& stored = m_exVal[cell];
        if (stored.isNumber() || !stored.text().isSharedWith(text)) {
            stored = CellValue::fromText(text);
        }
        return;
    }
    const FormulaScan scan = scanFormula(expression);
    if (scan.mayHaveLowerCase) {
        expression = expression.toUpper();
    }
    // Every "=" goes before evaluating; usually there is only the leading one to skip.
    QStringView formula = QStringView(expression).sliced(1);
    QString withoutEquals;
    if (scan.moreEquals) {
        withoutEquals = formula.toString().remove(QLatin1Char('='));
        formula = withoutEquals;
    }
    double value = 0;
    const CalcStatus status = m_engine().Calc(formula, value, *this);
    // Reading the cells a formula refers to moved the current cell.
    m_grid.setCurrent(row, col);
    if (status == CalcStatus::Ok) {
        // A result that did not change keeps its text: recalculating a settled sheet formats
        // and stores nothing anew. (The engine never gives -0, so equal numbers are the same.)
        CellValue& stored = m_exVal[cell];
        if (!stored.isNumber() || stored.number() != value) {
            stored = CellValue::fromNumber(value);
        }
        showText(row, col, stored.text(), true);
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
    int lastRow = LastRow;
    while (lastRow > 0 && m_rowCounts[size_t(lastRow)] == 0) {
        --lastRow;
    }
    int lastCol = LastCol;
    while (lastCol > 0 && m_colCounts[size_t(lastCol)] == 0) {
        --lastCol;
    }
    return {lastRow, lastCol};
}

std::vector<StoredCell> SheetModel::storedCells() const
{
    std::vector<StoredCell> cells;
    const auto [lastRow, lastCol] = usedExtent();
    cells.reserve(size_t(lastRow) * size_t(lastCol));
    for (int r = 1; r <= lastRow; ++r) {
        for (int c = 1; c <= lastCol; ++c) {
            if (const QString& expression = exWithoutMoving(r, c); !expression.isEmpty()) {
                cells.push_back({r, c, expression});
            }
        }
    }
    return cells;
}

qint16 SheetModel::roundDigits() const
{
    return m_engine().RoundDigits();
}

void SheetModel::recalculate()
{
    const auto [lastRow, lastCol] = usedExtent();
    // Every expression passes through the editor's text as enterAt passes it; what that leaves
    // behind is only whether the text changed on the way and the last one, so the text is
    // compared cell by cell and stored once. (Stored expressions are capitals already, so
    // entering one leaves it as it is.)
    const QString* editor = &m_editorText;
    for (int i = 1; i <= lastRow; ++i) {
        for (int j = 1; j <= lastCol; ++j) {
            const QString& text = m_ex[storeIndex(i, j)];
            m_changed = m_changed || *editor != text;
            editor = &text;
            m_grid.setCurrent(i, j);
            enter(text);
        }
    }
    if (editor != &m_editorText) {
        m_editorText = *editor;
    }
}

void SheetModel::setEditorText(const QString& text)
{
    if (!m_editorText.isSharedWith(text) && text != m_editorText) {
        m_editorText = text;
        m_changed = true;
    }
}

void SheetModel::showText(int row, int col, const QString& text, bool result)
{
    if (result) {
        m_grid.setResultAt(row, col, text);
    } else {
        m_grid.setTextAt(row, col, text);
    }
    if (m_shown && m_shown->row == row && m_shown->col == col) {
        m_shown->text = text;
        m_shown->result = result;
    }
}

void SheetModel::showExpression(int row, int col)
{
    if (m_shown && (m_shown->row != row || m_shown->col != col)) {
        restoreShownText();
    }
    if (!m_shown) {
        m_shown = ShownText{row, col, m_grid.textAt(row, col), m_grid.isResult(row, col)};
    }
    m_grid.setTextAt(row, col, m_ex[storeIndex(row, col)]);
}

void SheetModel::restoreShownText()
{
    if (m_shown) {
        const ShownText shown = *std::exchange(m_shown, std::nullopt);
        showText(shown.row, shown.col, shown.text, shown.result);
    }
}

void SheetModel::startPointing(int row, int col)
{
    m_activeRow = row;
    m_activeCol = col;
}

SheetLayout SheetModel::layout() const
{
    SheetLayout layout;
    layout.DisplayScale = m_displayScale;
    for (int c = 1; c <= LastCol; ++c) {
        layout.ColWidths[size_t(c)] = int(m_grid.ColWidth(c) / double(m_displayScale));
    }
    return layout;
}

void SheetModel::setDisplaySize(const DisplaySize& size)
{
    m_grid.setFontSize(size.fontSize);
    const double ratio = double(size.scale) / double(m_displayScale);
    for (int c = 0; c < m_grid.Cols(); ++c) {
        m_grid.setColWidth(c, int(std::nearbyint(m_grid.ColWidth(c) * ratio)));
    }
    for (int r = 0; r < m_grid.Rows(); ++r) {
        m_grid.setRowHeight(r, size.rowHeight);
    }
    m_displayScale = size.scale;
    committed();
}

void SheetModel::applyLayout(const SheetLayout& layout)
{
    const double scale = layout.DisplayScale;
    for (int c = 1; c < m_grid.Cols(); ++c) {
        m_grid.setColWidth(c, int(std::nearbyint(layout.ColWidths[size_t(c)] * scale)));
    }
    m_grid.setColWidth(0, int(std::nearbyint(DefaultHeadingWidth * scale)));
    for (int r = 1; r < m_grid.Rows(); ++r) {
        m_grid.setRowHeight(r, int(std::nearbyint(DefaultRowHeight * scale)));
    }
    if (const std::optional<DisplaySize> size = displaySizeOf(layout.DisplayScale)) {
        m_grid.setFontSize(size->fontSize);
    }
    m_displayScale = layout.DisplayScale;
    committed();
}
