// Entering a cell and recalculating a sheet.
#include "appstate.h"
#include "celleditor.h"
#include "frmzelchild.h"
#include "sheetgrid.h"
#include "waitcursor.h"

void frmZelChild::EnterCell()
{
    m_model->enter(m_model->editorText());
}

void frmZelChild::EnterEditLine(const QString& editLineText)
{
    m_model->enter(editLineText);
}

bool frmZelChild::Recalculate()
{
    if (isEditing()) {
        m_host.app().messages().critical(this, QStringLiteral("セル編集中は再計算できません！"));
        return false;
    }
    GridState& grid = grdZel->state();
    const int currentRow = grid.Row();
    const int currentCol = grid.Col();
    {
        const QuietGrid quiet(grid);
        const WaitCursor hourglass;
        m_model->restoreShownText();
        // Each cell passes through the editor's text, so a sheet whose expressions differ from
        // what the editor held is marked changed, as typing them would.
        m_model->recalculate();
        grid.setCurrent(currentRow, currentCol);
    }
    m_model->endPointing();
    setEditorText(QString());
    return true;
}
