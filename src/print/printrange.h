#pragma once

#include <QImage>
#include <QPointF>
#include <QSizeF>

class GridState;
class QPainter;
class QPrinter;
class QWidget;

// The page of a print: the selected block drawn as the grid shows it (the other rows and
// columns take no space, headings shrunk to 23 and 25 twips), its top left at (100, 100) twips
// from the printer's printable origin, at natural size.

// Where the block starts on the page, in twips.
constexpr int PageOffsetTwips = 100;

// Paints the page of the grid's ordered selection with a painter whose device has dpi dots per
// inch and starts at the printable origin. The grid is only read.
void paintPage(QPainter& painter, const GridState& grid, double dpi);

// The page as a printer prints it: its whole size and where its printable area starts, in
// twips from the paper's corner.
struct PageTwips
{
    QSizeF size;
    QPointF printableOrigin;
};
PageTwips pageTwips(const QPrinter& printer);

// The page at half size for the preview, at the screen's resolution screenDpi: the block where
// the printer puts it on the paper.
QImage previewPage(const GridState& grid, const PageTwips& page, double screenDpi);

// A printer's own margins only: the page's coordinates start where the printer can print (the
// paper's corner for a PDF file), not at a margin of the program's.
void usePrintableArea(QPrinter& printer);

// The printer dialog, answered by a user or by a test.
class PrintDialogs
{
public:
    virtual ~PrintDialogs() = default;
    // False when cancelled.
    virtual bool askPrinter(QWidget* parent, QPrinter& printer) = 0;
};

// Qt's printer dialog: the system's printers, or a PDF file where there are none; no choice of
// selection or pages, since a print is one page.
class BoxPrintDialogs : public PrintDialogs
{
public:
    bool askPrinter(QWidget* parent, QPrinter& printer) override;
};
