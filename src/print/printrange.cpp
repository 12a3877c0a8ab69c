#include "print/printrange.h"

#include "model/gridstate.h"
#include "ui/gridpainter.h"

#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <cmath>

void paintPage(QPainter& painter, const GridState& grid, double dpi)
{
    const GridPainter gp(grid, dpi, {orderedSelection(grid), 23, 25});
    const QSize size = gp.pictureSize();
    painter.save();
    painter.translate(gp.toPixels(PageOffsetTwips), gp.toPixels(PageOffsetTwips));
    painter.setClipRect(QRect(QPoint(0, 0), size));
    gp.paint(painter, QRect(QPoint(0, 0), size), false);
    painter.restore();
}

PageTwips pageTwips(const QPrinter& printer)
{
    const QPageLayout layout = printer.pageLayout();
    const QRectF paper = layout.fullRect(QPageLayout::Point);
    const QRectF printable = layout.paintRect(QPageLayout::Point);
    return {paper.size() * 20, (printable.topLeft() - paper.topLeft()) * 20};
}

QImage previewPage(const GridState& grid, const PageTwips& page, double screenDpi)
{
    // Half the page at the screen's resolution is the whole page at half that resolution.
    const double dpi = screenDpi / 2;
    auto pixels = [dpi](double twips) { return twips * dpi / 1440; };
    const QSize size(int(std::lround(pixels(page.size.width()))),
                     int(std::lround(pixels(page.size.height()))));
    QImage image = GridPainter::blankImage(size, dpi);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.translate(std::lround(pixels(page.printableOrigin.x())),
                      std::lround(pixels(page.printableOrigin.y())));
    paintPage(painter, grid, dpi);
    return image;
}

void usePrintableArea(QPrinter& printer)
{
    const QPageLayout layout = printer.pageLayout();
    printer.setPageMargins(layout.minimumMargins(), layout.units());
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
