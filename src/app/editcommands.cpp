// The Edit menu's block commands: copy, cut, paste, delete and undo inside the program, and
// the exchange with other programs through the system clipboard.
#include "app/editcommands.h"

#include "app/frmzel.h"
#include "edit/clipboardtext.h"
#include "sheet/celleditor.h"
#include "sheet/sheetgrid.h"
#include "ui/gridpainter.h"

#include <QClipboard>
#include <QGuiApplication>

void EditCommands::mnuEditReSub_Click()
{
    if (frmZelChild* sheet = m_window.activeSheet()) {
        sheet->Recalculate();
    }
}

void EditCommands::mnuEditCopy_Click()
{
    if (frmZelChild* sheet = m_window.activeSheet()) {
        // With one sheet open, the marks of earlier copies stay.
        m_buffers.copy(sheet->model(), m_window.app().OpenSheetCount == 1);
    }
}

void EditCommands::mnuEditCut_Click()
{
    if (frmZelChild* sheet = m_window.activeSheet()) {
        m_buffers.cut(sheet->sharedModel());
    }
}

// The copy buffer stays: after Copy and Delete, Paste still pastes what was copied.
void EditCommands::mnuEditDelete_Click()
{
    if (frmZelChild* sheet = m_window.activeSheet()) {
        m_buffers.erase(sheet->sharedModel());
    }
}

void EditCommands::mnuEditPaste_Click()
{
    if (frmZelChild* sheet = m_window.activeSheet()) {
        m_buffers.paste(sheet->model());
        sheet->syncEditor();
    }
}

// Undo goes to the sheet the last Cut or Delete happened on; if it has closed, nothing is
// undone and the right to undo ends.
void EditCommands::mnuEditBack_Click()
{
    frmZelChild* target = m_window.sheetOf(m_buffers.undoSheet().get());
    if (target) {
        m_window.activate(*target);
    }
    m_buffers.undo();
    if (target) {
        target->syncEditor();
    }
    if (frmZelChild* active = m_window.activeSheet()) {
        active->setEditorText(QString());
    }
}

// What the selected cells show, as other programs read a block of cells.
void EditCommands::mnuEditCopyClip_Click()
{
    frmZelChild* sheet = m_window.activeSheet();
    if (!sheet) {
        return;
    }
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(clipboardText(sheet->grdZel->state().Clip()));
}

// A picture of the selected block as the grid draws it: the other rows and columns left out,
// the headings shrunk to a thin edge, no selection colour. The sheet itself is only read.
void EditCommands::mnuEditCopyTable_Click()
{
    frmZelChild* sheet = m_window.activeSheet();
    if (!sheet) {
        return;
    }
    const GridState& grid = sheet->grdZel->state();
    const GridPainter painter(grid, sheet->grdZel->dpi(), {orderedSelection(grid), 22, 25});
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setImage(painter.picture());
    if (clipboard->image().isNull()) {
        clipboard->setImage(painter.picture(true));
    }
}

void EditCommands::mnuEditPasteClip_Click()
{
    frmZelChild* sheet = m_window.activeSheet();
    if (!sheet) {
        return;
    }
    pasteText(sheet->model(), parseClipboardText(QGuiApplication::clipboard()->text()));
    // The last entered text stays in the editor, as after typing the cells in.
    sheet->syncEditor();
}
