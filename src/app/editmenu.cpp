// The Edit menu's block commands: copy, cut, paste, delete and undo inside the program, and
// the exchange with other programs through the system clipboard.
#include "celleditor.h"
#include "frmzel.h"
#include "gridpainter.h"
#include "sheetgrid.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMdiSubWindow>

namespace {

// Runs a block command on the active sheet's selection (corners ordered), drawing off.
template <class Command>
void onSelection(frmZelChild* sheet, Command command)
{
    if (!sheet) {
        return;
    }
    GridState& grid = sheet->grdZel->state();
    const QuietGrid quiet(grid);
    command(*sheet, grid, orderedSelection(grid));
}

} // namespace

void frmZel::mnuEditCopy_Click()
{
    onSelection(activeSheet(), [this](frmZelChild& sheet, GridState& grid, const CellRange& range) {
        // With one sheet open, the marks of earlier copies stay.
        if (m_app.OpenSheetCount != 1) {
            whitenSheet(grid);
        }
        m_copyBuf = takeBlock(sheet.model(), range, true);
        SelOK = true;
        DelOK = false;
    });
}

void frmZel::mnuEditCut_Click()
{
    onSelection(activeSheet(), [this](frmZelChild& sheet, GridState& grid, const CellRange& range) {
        whitenSheet(grid);
        m_copyBuf = takeBlock(sheet.model(), range, true);
        m_undoBuf = m_copyBuf;
        emptyRange(sheet.model(), range, true);
        SelOK = true;
        DelOK = true;
        sheet.IsChanged = true;
        m_undoSheet = &sheet;
    });
}

// The copy buffer stays: after Copy and Delete, Paste still pastes what was copied.
void frmZel::mnuEditDelete_Click()
{
    onSelection(activeSheet(), [this](frmZelChild& sheet, GridState&, const CellRange& range) {
        m_undoBuf = takeBlock(sheet.model(), range, false);
        emptyRange(sheet.model(), range, false);
        sheet.IsChanged = true;
        DelOK = true;
        m_undoSheet = &sheet;
    });
}

void frmZel::mnuEditPaste_Click()
{
    frmZelChild* sheet = activeSheet();
    if (!sheet || !SelOK || m_copyBuf.isEmpty()) {
        return;
    }
    GridState& grid = sheet->grdZel->state();
    {
        const QuietGrid quiet(grid);
        const int anchorRow = grid.Row();
        const int anchorCol = grid.Col();
        const CellRange& source = m_copyBuf.range();
        grid.setRowSel(std::min(anchorRow + source.bottom - source.top, 500));
        grid.setColSel(std::min(anchorCol + source.right - source.left, 26));
        QString editorText = sheet->txtEdit->text();
        pasteBlock(sheet->model(), m_copyBuf, anchorRow, anchorCol, editorText);
        // The source's own cells turn white on this sheet; another source sheet keeps its marks.
        whitenRange(grid, source);
        grid.setCurrent(anchorRow, anchorCol);
        sheet->ActiveR = 0;
        sheet->ActiveC = 0;
    }
    sheet->txtEdit->setText(QString());
    SelOK = false;
    DelOK = false;
    sheet->IsChanged = true;
}

// Undo goes to the sheet the last Cut or Delete happened on; if it has closed, nothing is
// undone and the right to undo ends.
void frmZel::mnuEditBack_Click()
{
    if (DelOK && m_undoSheet) {
        frmZelChild* sheet = m_undoSheet;
        if (auto* sub = qobject_cast<QMdiSubWindow*>(sheet->parentWidget())) {
            mdiArea->setActiveSubWindow(sub);
        }
        QString editorText = sheet->txtEdit->text();
        if (restoreBlock(sheet->model(), m_undoBuf, editorText)) {
            sheet->IsChanged = true;
        }
    }
    if (frmZelChild* active = activeSheet()) {
        active->txtEdit->setText(QString());
    }
    DelOK = false;
}

// What the selected cells show, rows ending in LF as texts do on this platform.
void frmZel::mnuEditCopyClip_Click()
{
    frmZelChild* sheet = activeSheet();
    if (!sheet) {
        return;
    }
    QString text = sheet->grdZel->state().Clip();
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(text);
}

// A picture of the selected block as the grid draws it: the other rows and columns hidden,
// the headings shrunk to a thin edge, no selection colour; the grid is put back exactly.
void frmZel::mnuEditCopyTable_Click()
{
    frmZelChild* sheet = activeSheet();
    if (!sheet) {
        return;
    }
    GridState& grid = sheet->grdZel->state();
    const BlockLayout layout(grid, orderedSelection(grid), 22, 25);
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setImage(sheet->grdZel->Picture(0));
    if (clipboard->image().isNull()) {
        clipboard->setImage(sheet->grdZel->Picture(1));
    }
}

void frmZel::mnuEditPasteClip_Click()
{
    frmZelChild* sheet = activeSheet();
    if (!sheet) {
        return;
    }
    QString editorText = sheet->txtEdit->text();
    bool changed = false;
    {
        const QuietGrid quiet(sheet->grdZel->state());
        changed = pasteText(sheet->model(), blockTextFromClipboard(QGuiApplication::clipboard()->text()), editorText);
    }
    // The last entered text stays in the editor, as after typing the cells in.
    sheet->txtEdit->setText(editorText);
    if (changed) {
        sheet->IsChanged = true;
    }
}
