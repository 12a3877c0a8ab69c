// The print commands and the display settings of the main window.
#include "clscal.h"
#include "celleditor.h"
#include "dlgketa.h"
#include "frmpreview.h"
#include "frmzel.h"
#include "sheetgrid.h"
#include "waitcursor.h"

#include <QPainter>
#include <QPrinter>

QPrinter& frmZel::printer()
{
    if (!m_printer) {
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    }
    return *m_printer;
}

void frmZel::setPrintDialogs(std::unique_ptr<PrintDialogs> dialogs)
{
    m_printDialogs = std::move(dialogs);
}

bool frmZel::printRangeSelected(frmZelChild& sheet)
{
    const GridState& grid = sheet.grdZel->state();
    if (grid.Row() == grid.RowSel() && grid.Col() == grid.ColSel()) {
        m_app.messages().critical(this, QStringLiteral("印刷範囲が選択されていません！"));
        return false;
    }
    return true;
}

void frmZel::mnuFilePrint_Click()
{
    frmZelChild* sheet = activeSheet();
    if (!sheet || !printRangeSelected(*sheet)) {
        return;
    }
    if (!m_printDialogs) {
        m_printDialogs = std::make_unique<BoxPrintDialogs>();
    }
    QPrinter& target = printer();
    QWidget* dialogParent = m_preview && m_preview->isVisible() ? static_cast<QWidget*>(m_preview) : this;
    if (!m_printDialogs->askPrinter(dialogParent, target)) {
        return; // cancelled: nothing is printed
    }
    bool printed = false;
    {
        const WaitCursor hourglass;
        QPainter painter;
        if (painter.begin(&target)) {
            paintPage(painter, sheet->grdZel->state(), target.resolution());
            printed = painter.end() && target.printerState() != QPrinter::Error;
        }
    }
    if (!printed) {
        m_app.messages().critical(this, QStringLiteral("印刷できませんでした！"));
    }
}

void frmZel::mnuFilePreview_Click()
{
    frmZelChild* sheet = activeSheet();
    if (!sheet || !printRangeSelected(*sheet)) {
        return;
    }
    if (!m_preview) {
        m_preview = new frmPreview(this);
        connect(m_preview, &frmPreview::printRequested, this, &frmZel::mnuFilePrint_Click);
    }
    const double screenDpi = logicalDpiX() > 0 ? logicalDpiX() : 96;
    m_preview->showPage(previewPage(sheet->grdZel->state(), pageSizeTwips(printer()), screenDpi));
    m_preview->exec();
}

// Only the active sheet is resized; the scale it is resized from is the program's one
// DisplayScale, whichever sheet last set it.
void frmZel::setDisplaySize(const DisplaySize& size)
{
    frmZelChild* sheet = activeSheet();
    if (!sheet || m_app.DisplayScale == size.scale) {
        return;
    }
    if (sheet->isEditing()) {
        m_app.messages().critical(this, QStringLiteral("セル入力中はサイズ変更できません！"));
        return;
    }
    GridState& grid = sheet->grdZel->state();
    const QuietGrid quiet(grid);
    const float from = m_app.DisplayScale;
    m_app.DisplayScale = size.scale;
    // Writing the headings leaves the current cell on the last row's heading, where the next
    // typed key would be entered; the user's cell is put back.
    const int row = grid.Row();
    const int col = grid.Col();
    sheet->Titles();
    grid.setCurrent(row, col);
    applyDisplaySize(grid, from, size);
}

void frmZel::mnuSetDis75_Click()
{
    setDisplaySize(Size75);
}

void frmZel::mnuSetDis100_Click()
{
    setDisplaySize(Size100);
}

void frmZel::mnuSetDis125_Click()
{
    setDisplaySize(Size125);
}

void frmZel::mnuSetDisKeta_Click()
{
    if (!m_keta) {
        m_keta = new dlgKeta(this);
        connect(m_keta, &dlgKeta::digitsChosen, this,
                [this](qint16 digits) { m_app.engine().setRoundDigits(digits); });
    }
    m_keta->show();
    m_keta->raise();
    m_keta->activateWindow();
}
