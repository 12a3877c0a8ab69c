#include "printrange.h"

#include "gridpainter.h"
#include "gridstate.h"

#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <cmath>

void paintPage(QPainter& painter, GridState& grid, double dpi)
{
    const BlockLayout layout(grid, orderedSelection(grid), 23, 25);
    const GridPainter gp(grid, dpi);
    const QSize size = gp.pictureSize();
    painter.save();
    painter.translate(gp.toPixels(PageOffsetTwips), gp.toPixels(PageOffsetTwips));
    painter.setClipRect(QRect(QPoint(0, 0), size));
    gp.paint(painter, QRect(QPoint(0, 0), size), false);
    painter.restore();
}

QImage previewPage(GridState& grid, const QSizeF& pageTwips, double screenDpi)
{
    // Half the page at the screen's resolution is the whole page at half that resolution.
    const double dpi = screenDpi / 2;
    const QSize size(int(std::lround(pageTwips.width() * dpi / 1440)), int(std::lround(pageTwips.height() * dpi / 1440)));
    QImage image = GridPainter::blankImage(size, dpi);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::TextAntialiasing);
    paintPage(painter, grid, dpi);
    return image;
}

bool BoxPrintDialogs::askPrinter(QWidget* parent, QPrinter& printer)
{
    QPrintDialog dialog(&printer, parent);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
    return dialog.exec() == QDialog::Accepted;
}

QSizeF pageSizeTwips(const QPrinter& printer)
{
    return printer.pageLayout().fullRect(QPageLayout::Point).size() * 20;
}
