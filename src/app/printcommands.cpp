#include "app/printcommands.h"

#include "app/frmzel.h"
#include "print/frmpreview.h"
#include "sheet/sheetgrid.h"
#include "ui/waitcursor.h"

#include <QPainter>
#include <QPrinter>

PrintCommands::PrintCommands(frmZel& window) : m_window(window) {}

PrintCommands::~PrintCommands() = default;

QPrinter& PrintCommands::printer()
{
    if (!m_printer) {
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    }
    return *m_printer;
}

bool PrintCommands::rangeSelected(frmZelChild& sheet)
{
    if (selectionIsOneCell(sheet.grdZel->state())) {
        m_window.app().messages().critical(&m_window,
                                           QStringLiteral("印刷範囲が選択されていません！"));
        return false;
    }
    return true;
}

void PrintCommands::mnuFilePrint_Click()
{
    frmZelChild* sheet = m_window.activeSheet();
    if (!sheet || !rangeSelected(*sheet)) {
        return;
    }
    if (!m_printDialogs) {
        m_printDialogs = std::make_unique<BoxPrintDialogs>();
    }
    QPrinter& target = printer();
    QWidget* dialogParent =
        m_preview && m_preview->isVisible() ? static_cast<QWidget*>(m_preview) : &m_window;
    if (!m_printDialogs->askPrinter(dialogParent, target)) {
        return; // cancelled: nothing is printed
    }
    usePrintableArea(target);
    target.setDocName(sheet->windowTitle()); // the job's name in the queue
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
        // A printer that failed may stay active and refuse every later print: the next one
        // starts on a fresh printer.
        m_printer.reset();
        m_window.app().messages().critical(&m_window, QStringLiteral("印刷できませんでした！"));
    }
}

void PrintCommands::mnuFilePreview_Click()
{
    frmZelChild* sheet = m_window.activeSheet();
    if (!sheet || !rangeSelected(*sheet)) {
        return;
    }
    if (!m_preview) {
        m_preview = new frmPreview(&m_window);
        QObject::connect(m_preview, &frmPreview::printRequested, &m_window,
                         [this] { mnuFilePrint_Click(); });
    }
    const double screenDpi = m_window.logicalDpiX() > 0 ? m_window.logicalDpiX() : 96;
    usePrintableArea(printer());
    m_preview->showPage(previewPage(sheet->grdZel->state(), pageTwips(printer()), screenDpi));
    m_preview->exec();
}
