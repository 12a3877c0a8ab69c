// Keyboard and mouse on a sheet: opening the overlay editor over a cell, committing or
// abandoning an edit, and pointing at cells while a formula is typed.
#include "sheet/celleditor.h"
#include "sheet/frmzelchild.h"
#include "sheet/gridaccessible.h"
#include "sheet/sheetgrid.h"
#include "ui/gridpainter.h"

#include <QKeyEvent>
#include <QSignalBlocker>

bool frmZelChild::isEditing() const
{
    return !txtEdit->isHidden();
}

bool frmZelChild::editorIsActiveControl() const
{
    return focusWidget() == static_cast<QWidget*>(txtEdit) || grdZel->inputTarget() == txtEdit;
}

void frmZelChild::setEditorText(const QString& text)
{
    m_model->setEditorText(text);
    syncEditor();
}

void frmZelChild::syncEditor()
{
    if (txtEdit->text() != m_model->editorText()) {
        txtEdit->setText(m_model->editorText());
    }
}

// The editor is shown and focused before its text is set, so that a screen reader tells where
// the typing goes before what is typed.
void frmZelChild::GridEdit(int keyAscii)
{
    GridState& grid = grdZel->state();
    if (keyAscii >= 0 && keyAscii <= 32) {
        showExpressionInCell();
        openEditor();
        setEditorText(grid.Text());
        txtEdit->setCursorPosition(txtEdit->text().size());
    } else {
        openEditor();
        setEditorText(QString(QChar(char16_t(keyAscii))));
        txtEdit->setCursorPosition(1);
    }
}

void frmZelChild::openEditor()
{
    GridState& grid = grdZel->state();
    m_editRow = grid.Row();
    m_editCol = grid.Col();
    grdZel->showCurrentCell();
    // What is typed fits the cell at every display size.
    if (txtEdit->font().pointSizeF() != grid.FontSize()) {
        txtEdit->setFont(GridPainter::gridFont(grid.FontSize()));
    }
    // A screen reader names the editor with the cell it types into, and does not hear the text
    // an earlier cell left in it: a hidden editor is shown empty until its new text is set (the
    // model keeps the text, so whether the sheet changes is decided as before).
    txtEdit->setAccessibleName(QStringLiteral("セル入力 ") + cellName(grid.Row(), grid.Col()));
    if (txtEdit->isHidden()) {
        const QSignalBlocker quiet(txtEdit);
        txtEdit->clear();
    }
    const QRect cell = grdZel->cellRect(grid.Row(), grid.Col());
    txtEdit->setGeometry(cell.left(), cell.top(),
                         std::max(1, grdZel->toPixels(grid.CellWidth() - 8)),
                         std::max(1, grdZel->toPixels(grid.CellHeight() - 8)));
    txtEdit->show();
    focusEditor();
}

void frmZelChild::focusEditor()
{
    if (grdZel->inputTarget() != txtEdit) {
        txtEdit->setFocus();
    }
}

void frmZelChild::showExpressionInCell()
{
    const GridState& grid = grdZel->state();
    m_model->showExpression(grid.Row(), grid.Col());
}

void frmZelChild::moveDownAndReopen()
{
    GridState& grid = grdZel->state();
    if (grid.Row() < grid.Rows() - 1) {
        grid.setRow(grid.Row() + 1);
    }
    showCurrentAddress();
    m_host.setEditLine(Ex(grid.Row(), grid.Col()));
    showExpressionInCell();
    // The editor keeps the focus on the new cell, so a screen reader is told the cell apart.
    announceNotice(*grdZel, cellName(grid.Row(), grid.Col()));
    GridEdit(32);
}

void frmZelChild::showCurrentAddress()
{
    const GridState& grid = grdZel->state();
    m_host.setAddressLabel(cellAddress(grid.Row(), grid.Col()));
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

// An input method starts composing on the grid: the editor opens over the current cell as for
// a typed character above 127, empty, and takes the grid's input while the grid keeps the
// focus, so the composition shows in the editor and nothing of it is lost.
void frmZelChild::grdZel_CompositionStarted()
{
    if (m_model->entering()) {
        return;
    }
    m_composition = Composition{false, m_model->isChanged(), m_model->editorText()};
    grdZel->setInputTarget(txtEdit); // before opening, so the editor does not take the focus
    GridEdit(32);
    setEditorText(QString());
}

// A composition cancelled before anything was committed leaves the sheet as it was.
void frmZelChild::grdZel_CompositionChanged(const QInputMethodEvent& event)
{
    m_composition.committed |= !event.commitString().isEmpty();
    if (m_composition.committed || !event.preeditString().isEmpty() || !txtEdit->text().isEmpty()) {
        return;
    }
    txtEdit->hide();
    m_model->restoreShownText();
    setEditorText(m_composition.editorText);
    if (!m_composition.wasChanged) {
        m_model->clearChanged();
    }
}

// Several characters from one key start an entry like a typed character, with all of them.
void frmZelChild::grdZel_TextComposed(const QString& text)
{
    if (m_model->entering() || text.isEmpty()) {
        return;
    }
    GridEdit(32);
    setEditorText(text);
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
        // The abandoned edit leaves the cell showing what it showed before, or what a command
        // wrote to it meanwhile.
        m_model->restoreShownText();
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
    if (isEditing() && m_model->editorText().startsWith(QLatin1Char('='))) {
        // Pointing: the formula's cell is remembered and its editor stays open.
        m_model->startPointing(grid.Row(), grid.Col());
        ActiveRmove = grid.Row();
        ActiveCmove = grid.Col();
    } else if (isEditing()) {
        EnterCell();
        txtEdit->hide();
    } else {
        m_model->restoreShownText();
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
    const QString text = m_model->editorText();
    const int formulaRow = m_model->activeRow();
    const int formulaCol = m_model->activeCol();
    if (!isEditing() || !text.startsWith(QLatin1Char('=')) || formulaRow == 0 || formulaCol == 0) {
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
        appended = cellName(Imove, Jmove);
        break;
    case '(':
        if (text.endsWith(QLatin1String("SUM(")) || text.endsWith(QLatin1String("sum("))) {
            // The dragged range with the cell where the drag started first, as selected.
            appended = cellName(grid.Row(), grid.Col()) + QLatin1Char(':') +
                       cellName(grid.RowSel(), grid.ColSel());
        } else {
            appended = cellName(Imove, Jmove);
        }
        break;
    default:
        break;
    }
    setEditorText(text + appended);
    focusEditor();
    txtEdit->setCursorPosition(txtEdit->text().size());
    // Back to the formula's cell; a code move raises no leave-cell, so nothing redirects it.
    grid.setCurrent(formulaRow, formulaCol);
    m_model->endPointing();
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

// The grid's own keys moved: the label names the cell they reached and the edit line, which
// would stand beside another cell's expression, is emptied as after a click.
void frmZelChild::grdZel_Navigated()
{
    showCurrentAddress();
    m_host.setEditLine(QString());
}

void frmZelChild::grdZel_Scroll()
{
    if (isEditing()) {
        grdZel->setFocus();
    }
}
