#include "app/displaycommands.h"

#include "app/frmzel.h"
#include "calc/clscal.h"
#include "model/sheetmetrics.h"
#include "settings/dlgketa.h"
#include "sheet/sheetgrid.h"

// Only the active sheet is resized, from its own display size.
void DisplayCommands::setDisplaySize(const DisplaySize& size)
{
    frmZelChild* sheet = m_window.activeSheet();
    if (!sheet || sheet->model().displayScale() == size.scale) {
        return;
    }
    if (sheet->isEditing()) {
        m_window.app().messages().critical(&m_window,
                                           QStringLiteral("セル入力中はサイズ変更できません！"));
        return;
    }
    GridState& grid = sheet->grdZel->state();
    {
        const QuietGrid quiet(grid);
        // Writing the headings leaves the current cell on the last row's heading, where the
        // next typed key would be entered; the user's cell is put back.
        const int row = grid.Row();
        const int col = grid.Col();
        sheet->Titles();
        grid.setCurrent(row, col);
        sheet->model().setDisplaySize(size);
    }
    sheet->layoutChangedByUser();
    // The cell the user works on stays in view at the new size.
    sheet->grdZel->showCurrentCell();
}

void DisplayCommands::mnuSetDis75_Click()
{
    setDisplaySize(Size75);
}

void DisplayCommands::mnuSetDis100_Click()
{
    setDisplaySize(Size100);
}

void DisplayCommands::mnuSetDis125_Click()
{
    setDisplaySize(Size125);
}

void DisplayCommands::mnuSetDisKeta_Click()
{
    if (!m_keta) {
        m_keta = new dlgKeta(&m_window);
        QObject::connect(m_keta, &dlgKeta::digitsChosen, &m_window,
                         [this](qint16 digits) { m_window.app().engine().setRoundDigits(digits); });
    }
    m_keta->show();
    m_keta->raise();
    m_keta->activateWindow();
}
