#pragma once

#include "model/gridstate.h"

#include <QColor>
#include <QFont>
#include <QRect>
#include <QSize>
#include <optional>
#include <vector>

class QFontMetrics;
class QImage;
class QPainter;
class QPalette;

// The one way a block of cells is drawn: on screen, on the printed page, in the preview and
// in the picture put on the clipboard, so that cells look alike everywhere. It draws the
// heading row and column and the data from TopRow and LeftCol on, with the sizes, texts,
// fonts and colours of the grid, at the given resolution (dots per inch); twips convert at
// 1440 to the inch.
class GridPainter
{
public:
    GridPainter(const GridState& grid, double dpi);

    // One block of cells alone, as a page and the picture on the clipboard show it: the heading
    // row and column shrunk to a thin edge, the block's rows and columns right after them
    // whatever is scrolled into view, no selection colour. The grid itself is not touched.
    struct Block
    {
        CellRange cells;
        int headingHeight; // twips
        int headingWidth;  // twips
    };
    GridPainter(const GridState& grid, double dpi, const Block& block);

    // Size in device pixels of every row and column as laid out, not cut to any window.
    QSize pictureSize() const;
    // Paints the cells that meet clip (in device pixels); the area beyond the last cell is
    // filled grey when fillBeyond is set.
    void paint(QPainter& painter, const QRect& clip, bool fillBeyond) const;

    // Hit test in device pixels: the cell under a point, or false beyond the last cell.
    bool cellAt(const QPoint& point, int& row, int& col) const;
    // Device-pixel rectangle of a cell as laid out (may lie outside the visible area).
    QRect cellRect(int row, int col) const;

    int toPixels(int twips) const;
    int toTwips(int pixels) const;

    // The grid's font: a proportional Japanese Gothic at the grid's size.
    static QFont gridFont(double points);

    // A white image whose resolution is dpi, so that fonts in points come out at the size the
    // cells are laid out for.
    static QImage blankImage(const QSize& size, double dpi);
    // An image of what the painter draws; monochrome when asked (the clipboard's fallback).
    QImage picture(bool monochrome = false) const;

private:
    // What a data cell shows in room pixels: its text, but a formula's numeric result too wide
    // for the room in a shorter form of the same value, or # marks.
    QString shownText(int row, int col, const QFontMetrics& metrics, int room) const;
    struct Axis
    {
        std::vector<int> index; // grid row or column at each laid-out position
        std::vector<int> edge;  // device-pixel start of each, plus the end
    };
    Axis layoutAxis(Qt::Orientation orientation) const;
    struct CellColours
    {
        QColor back;
        QColor fore;
        QColor line;
    };
    bool showsSelection() const;
    CellColours coloursOf(const QPalette& palette, int row, int col) const;
    void paintCell(QPainter& painter, const QPalette& palette, const QRect& cell, int row,
                   int col) const;
    void paintCurrentFrame(QPainter& painter, const QPalette& palette, const QRect& clip) const;

    const GridState& m_grid;
    double m_dpi;
    std::optional<Block> m_block;
};
