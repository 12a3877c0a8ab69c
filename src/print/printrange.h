#pragma once

#include <QImage>
#include <QSizeF>

class GridState;
class QPainter;
class QPrinter;
class QWidget;

// The page of a print: the selected block drawn as the grid shows it (the other rows and
// columns take no space, headings shrunk to 23 and 25 twips), its top left at (100, 100) twips
// from the page's printable origin, at natural size.

// Where the block starts on the page, in twips.
constexpr int PageOffsetTwips = 100;

// Paints the page of the grid's ordered selection with a painter whose device has dpi dots per
// inch; the grid is laid out for it and put back exactly.
void paintPage(QPainter& painter, GridState& grid, double dpi);

// The page at half size for the preview: pageTwips is the printer page's size in twips, the
// image is half of it at the screen's resolution screenDpi.
QImage previewPage(GridState& grid, const QSizeF& pageTwips, double screenDpi);

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

// The physical size of the printer's page in twips.
QSizeF pageSizeTwips(const QPrinter& printer);
