// Keyboard and mouse on a sheet: opening the overlay editor over a cell, committing or
// abandoning an edit, and pointing at cells while a formula is typed.
#include "celleditor.h"
#include "frmzelchild.h"
#include "sheetgrid.h"

#include <QKeyEvent>

namespace {

// "B12": column letter and row, as a formula refers to a cell.
QString reference(int row, int col)
{
    return QChar(char16_t(64 + col)) + QString::number(row);
}

} // namespace

bool frmZelChild::isEditing() const
{
    return !txtEdit->isHidden();
}

void frmZelChild::GridEdit(int keyAscii)
{
    GridState& grid = grdZel->state();
    if (keyAscii >= 0 && keyAscii <= 32) {
        showExpressionInCell();
        txtEdit->setText(grid.Text());
        txtEdit->setCursorPosition(txtEdit->text().size());
    } else {
        txtEdit->setText(QString(QChar(char16_t(keyAscii))));
        txtEdit->setCursorPosition(1);
    }
    openEditor();
}

void frmZelChild::openEditor()
{
    GridState& grid = grdZel->state();
    m_editRow = grid.Row();
    m_editCol = grid.Col();
    grdZel->showCurrentCell();
    const QRect cell = grdZel->cellRect(grid.Row(), grid.Col());
    txtEdit->setGeometry(cell.left(), cell.top(), std::max(1, grdZel->toPixels(grid.CellWidth() - 8)),
                         std::max(1, grdZel->toPixels(grid.CellHeight() - 8)));
    txtEdit->show();
    txtEdit->setFocus();
}

void frmZelChild::showExpressionInCell()
{
    GridState& grid = grdZel->state();
    const int row = grid.Row();
    const int col = grid.Col();
    if (!m_shown || m_shown->row != row || m_shown->col != col) {
        m_shown = ShownText{row, col, grid.Text()};
    }
    grid.setText(Ex(row, col));
}

void frmZelChild::restoreShownText()
{
    if (m_shown) {
        grdZel->state().setTextAt(m_shown->row, m_shown->col, m_shown->text);
        m_shown.reset();
    }
}

void frmZelChild::moveDownAndReopen()
{
    GridState& grid = grdZel->state();
    if (grid.Row() < grid.Rows() - 1) {
        grid.setRow(grid.Row() + 1);
    }
    m_host.setAddressLabel(cellAddress(grid.Row(), grid.Col()));
    m_host.setEditLine(Ex(grid.Row(), grid.Col()));
    showExpressionInCell();
    GridEdit(32);
}

// A character typed on the grid: one above 127 first opens the editor on the cell's
// expression (marking the sheet changed), then every character opens it as GridEdit says.
void frmZelChild::grdZel_KeyPress(int& keyAscii)
{
    if (m_model->entering()) {
        return;
    }
    if (keyAscii > 127) {
        GridEdit(32);
    }
    GridEdit(keyAscii);
}

// Text from an input method starts an entry like a typed character, with all of its text.
void frmZelChild::grdZel_TextComposed(const QString& text)
{
    if (m_model->entering() || text.isEmpty()) {
        return;
    }
    GridEdit(32);
    txtEdit->setText(text);
    txtEdit->setCursorPosition(text.size());
    openEditor();
}

void frmZelChild::grdZel_KeyDown(int& keyCode, Qt::KeyboardModifiers)
{
    if (keyCode == Qt::Key_Delete) {
        keyCode = 0;
        m_host.editDelete();
    }
}

void frmZelChild::txtEdit_KeyDown(int& keyCode, Qt::KeyboardModifiers)
{
    switch (keyCode) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        keyCode = 0;
        EnterCell();
        txtEdit->hide();
        grdZel->setFocus();
        moveDownAndReopen();
        break;
    case Qt::Key_Escape:
        keyCode = 0;
        txtEdit->hide();
        grdZel->setFocus();
        break;
    case Qt::Key_Up:
    case Qt::Key_Down:
        keyCode = 0; // the caret stays; the current cell does not move
        break;
    default:
        break;
    }
}

void frmZelChild::txtEdit_KeyHandled(int keyCode)
{
    switch (keyCode) {
    case Qt::Key_Left:
    case Qt::Key_Up:
    case Qt::Key_Right:
    case Qt::Key_Down:
        break;
    case Qt::Key_Escape:
        // The abandoned edit leaves the cell showing what it showed before.
        restoreShownText();
        break;
    default:
        showExpressionInCell();
        break;
    }
}

void frmZelChild::grdZel_LeaveCell()
{
    if (m_model->entering()) {
        return;
    }
    GridState& grid = grdZel->state();
    if (isEditing() && txtEdit->text().startsWith(QLatin1Char('='))) {
        // Pointing: the formula's cell is remembered and its editor stays open.
        ActiveR = grid.Row();
        ActiveC = grid.Col();
        ActiveRmove = ActiveR;
        ActiveCmove = ActiveC;
    } else if (isEditing()) {
        EnterCell();
        txtEdit->hide();
    } else {
        restoreShownText();
    }
}

void frmZelChild::grdZel_Click()
{
    if (m_model->entering()) {
        return;
    }
    GridState& grid = grdZel->state();
    Imove = grid.Row();
    Jmove = grid.Col();
    m_host.setAddressLabel(cellAddress(Imove, Jmove));
    m_host.setEditLine(QString());
    const QString text = txtEdit->text();
    if (!isEditing() || !text.startsWith(QLatin1Char('=')) || ActiveR == 0 || ActiveC == 0) {
        return;
    }
    QString appended;
    switch (text.back().unicode()) {
    case '+':
    case '-':
    case '*':
    case '/':
    case '^':
    case '=':
        appended = reference(Imove, Jmove);
        break;
    case '(':
        if (text.endsWith(QLatin1String("SUM(")) || text.endsWith(QLatin1String("sum("))) {
            // The dragged range with the cell where the drag started first, as selected.
            appended = reference(grid.Row(), grid.Col()) + QLatin1Char(':') +
                       reference(grid.RowSel(), grid.ColSel());
        } else {
            appended = reference(Imove, Jmove);
        }
        break;
    default:
        break;
    }
    txtEdit->setText(text + appended);
    txtEdit->setFocus();
    txtEdit->setCursorPosition(txtEdit->text().size());
    // Back to the formula's cell; a code move raises no leave-cell, so nothing redirects it.
    grid.setCurrent(ActiveR, ActiveC);
    ActiveR = 0;
    ActiveC = 0;
    SelMove = false;
}

void frmZelChild::grdZel_DblClick()
{
    if (m_model->entering()) {
        return;
    }
    GridState& grid = grdZel->state();
    if (isEditing() && !SelMove) {
        // Commit the formula being pointed for; with none recorded, the cell the editor is on.
        if (ActiveRmove != 0 && ActiveCmove != 0) {
            grid.setCurrent(ActiveRmove, ActiveCmove);
        } else {
            grid.setCurrent(m_editRow, m_editCol);
        }
        txtEdit->setFocus();
        EnterCell();
        txtEdit->hide();
        ActiveRmove = 0;
        ActiveCmove = 0;
        grid.setCurrent(Imove, Jmove);
    }
    const QString expression = Ex(Imove, Jmove);
    m_host.setEditLine(expression);
    showExpressionInCell();
    GridEdit(32);
}

void frmZelChild::grdZel_Scroll()
{
    if (isEditing()) {
        grdZel->setFocus();
    }
}
