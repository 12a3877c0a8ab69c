// Entering a cell and recalculating a sheet.
#include "appstate.h"
#include "celleditor.h"
#include "frmzelchild.h"
#include "sheetgrid.h"
#include "waitcursor.h"


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
    const GridState& grid = grdZel->state();
    if (m_shown && m_shown->row == grid.Row() && m_shown->col == grid.Col()) {
        m_shown.reset(); // the cell gets a new shown text now
    }
    m_model->enter(text);
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
        // Each cell passes through the overlay editor's text, so a sheet whose expressions
        // differ from what the editor held is marked changed, as typing them would.
        restoreShownText();
        QString editorText = txtEdit->text();
        if (m_model->recalculate(editorText)) {
            IsChanged = true;
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
