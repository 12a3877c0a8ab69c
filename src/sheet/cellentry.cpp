// Entering a cell and recalculating a sheet.
#include "appstate.h"
#include "calcstatus.h"
#include "celleditor.h"
#include "clscal.h"
#include "frmzelchild.h"
#include "numbertext.h"
#include "sheetgrid.h"

#include <QGuiApplication>

namespace {

// Hourglass for as long as the object lives, whatever way the work ends.
class WaitCursor
{
public:
    WaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

} // namespace

void frmZelChild::EnterCell()
{
    enterExpression(txtEdit->text());
}

void frmZelChild::EnterEditLine(const QString& editLineText)
{
    enterExpression(editLineText);
}

void frmZelChild::enterExpression(const QString& text)
{
    GridState& grid = grdZel->state();
    const int row = grid.Row();
    const int col = grid.Col();
    const bool wasEntering = m_entering;
    m_entering = true;
    if (m_shown && m_shown->row == row && m_shown->col == col) {
        m_shown.reset(); // the cell gets a new shown text now
    }
    setEx(row, col, text);
    QString expression = Ex(row, col);
    if (!expression.startsWith(QLatin1Char('='))) {
        grid.setText(text);
        setExVal(row, col, CellValue::fromText(text));
        m_entering = wasEntering;
        return;
    }
    expression = expression.toUpper();
    setEx(row, col, expression);
    expression.remove(QLatin1Char('='));
    double value = 0;
    const CalcStatus status = m_host.app().engine().Calc(expression, value, *this);
    // Reading the cells a formula refers to moved the current cell.
    grid.setCurrent(row, col);
    if (status == CalcStatus::Ok) {
        grid.setText(gridNumberText(value));
        setExVal(row, col, CellValue::fromNumber(value));
    } else {
        grid.setText(markerText(status));
    }
    m_entering = wasEntering;
}

bool frmZelChild::Recalculate()
{
    if (isEditing()) {
        m_host.app().messages().critical(this, QStringLiteral("セル編集中は再計算できません！"));
        return false;
    }
    GridState& grid = grdZel->state();
    grid.setHighLight(0);
    grid.setRedraw(false);
    const int currentRow = grid.Row();
    const int currentCol = grid.Col();
    {
        const WaitCursor hourglass;
        // The used extent: the last row and the last column that hold an expression.
        int lastRow = 0;
        int lastCol = 0;
        for (int i = 1; i < grid.Rows(); ++i) {
            for (int j = 1; j < grid.Cols(); ++j) {
                if (!m_ex[storeIndex(i, j)].isEmpty()) {
                    lastRow = std::max(lastRow, i);
                    lastCol = std::max(lastCol, j);
                }
            }
        }
        // Each cell passes through the overlay editor's text, so a sheet whose expressions
        // differ from what the editor held is marked changed, as typing them would.
        QString editorText = txtEdit->text();
        for (int i = 1; i <= lastRow; ++i) {
            for (int j = 1; j <= lastCol; ++j) {
                grid.setCurrent(i, j);
                const QString& expression = m_ex[storeIndex(i, j)];
                if (expression != editorText) {
                    IsChanged = true;
                    editorText = expression;
                }
                enterExpression(QString(expression)); // a copy: the store is written meanwhile
            }
        }
    }
    grid.setCurrent(currentRow, currentCol);
    grid.setHighLight(1);
    grid.setRedraw(true);
    ActiveR = 0;
    ActiveC = 0;
    txtEdit->setText(QString());
    return true;
}
