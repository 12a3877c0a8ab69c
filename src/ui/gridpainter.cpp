#include "ui/gridpainter.h"

#include "model/sheetmetrics.h"

#include "calc/numbertext.h"
#include "model/gridstate.h"

#include <QApplication>
#include <QFontDatabase>
#include <QImage>
#include <QPainter>
#include <QPalette>
#include <cmath>

namespace {

const QColor HeadingBack = QColor::fromRgb(QRgb(HeadingColour));
const QColor SelectionBack = QColor::fromRgb(QRgb(SelectionColour));
const QColor BeyondBack = QColor::fromRgb(QRgb(BeyondColour));
const QColor DataLine = QColor::fromRgb(QRgb(BeyondColour));
const QColor HeadingLine = QColor::fromRgb(QRgb(HeadingLineColour));

} // namespace

GridPainter::GridPainter(const GridState& grid, double dpi) : m_grid(grid), m_dpi(dpi) {}

GridPainter::GridPainter(const GridState& grid, double dpi, const Block& block)
    : m_grid(grid), m_dpi(dpi), m_block(block)
{
}

int GridPainter::toPixels(int twips) const
{
    return int(std::lround(twips * m_dpi / 1440.0));
}

int GridPainter::toTwips(int pixels) const
{
    return int(std::lround(pixels * 1440.0 / m_dpi));
}

QFont GridPainter::gridFont(double points)
{
    static const QString family = [] {
        const QStringList wanted{QString::fromLatin1(GridFontFamily),
                                 QStringLiteral("IPAPゴシック"), QStringLiteral("Noto Sans CJK JP"),
                                 QStringLiteral("VL PGothic")};
        const QStringList families = QFontDatabase::families();
        for (const QString& f : wanted) {
            if (families.contains(f)) {
                return f;
            }
        }
        return QString();
    }();
    QFont font;
    if (!family.isEmpty()) {
        font.setFamily(family);
    }
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(points > 0 ? points : 12);
    return font;
}

// Edges are rounded from running twip totals, so a block drawn at any resolution has the
// size its twips give, without rounding errors adding up. The heading comes first, then the
// data lines from first to last (the ones in view, or a block's); hidden ones take no place.
GridPainter::Axis GridPainter::layoutAxis(Qt::Orientation orientation) const
{
    const bool columns = orientation == Qt::Horizontal;
    const auto sizeOf = [&](int i) { return columns ? m_grid.ColWidth(i) : m_grid.RowHeight(i); };
    int heading = sizeOf(0);
    int first = columns ? m_grid.LeftCol() : m_grid.TopRow();
    int last = (columns ? m_grid.Cols() : m_grid.Rows()) - 1;
    if (m_block) {
        heading = columns ? m_block->headingWidth : m_block->headingHeight;
        first = columns ? m_block->cells.left : m_block->cells.top;
        last = columns ? m_block->cells.right : m_block->cells.bottom;
    }
    Axis axis;
    int twips = 0;
    axis.edge.push_back(0);
    auto add = [&](int i, int size) {
        if (size > 0) {
            twips += size;
            axis.index.push_back(i);
            axis.edge.push_back(toPixels(twips));
        }
    };
    add(0, heading);
    for (int i = first; i <= last; ++i) {
        add(i, sizeOf(i));
    }
    return axis;
}

QSize GridPainter::pictureSize() const
{
    return QSize(layoutAxis(Qt::Horizontal).edge.back(), layoutAxis(Qt::Vertical).edge.back());
}

bool GridPainter::cellAt(const QPoint& point, int& row, int& col) const
{
    const Axis cols = layoutAxis(Qt::Horizontal);
    const Axis rows = layoutAxis(Qt::Vertical);
    auto find = [](const Axis& a, int v) {
        const auto it = std::upper_bound(a.edge.begin(), a.edge.end(), v);
        const long i = long(it - a.edge.begin()) - 1;
        return (i >= 0 && i < long(a.index.size())) ? a.index[size_t(i)] : -1;
    };
    col = find(cols, point.x());
    row = find(rows, point.y());
    return row >= 0 && col >= 0;
}

QRect GridPainter::cellRect(int row, int col) const
{
    const int x = toPixels(m_grid.colLeft(col));
    const int y = toPixels(m_grid.rowTop(row));
    return QRect(x, y, toPixels(m_grid.colLeft(col) + m_grid.ColWidth(col)) - x,
                 toPixels(m_grid.rowTop(row) + m_grid.RowHeight(row)) - y);
}

// The cells that meet the clip, each filled, ruled and written; the area beyond the last cell;
// the current cell's frame on top.
void GridPainter::paint(QPainter& painter, const QRect& clip, bool fillBeyond) const
{
    const Axis cols = layoutAxis(Qt::Horizontal);
    const Axis rows = layoutAxis(Qt::Vertical);
    const QPalette palette = QApplication::palette();
    painter.save();
    painter.setFont(gridFont(m_grid.FontSize()));
    if (fillBeyond) {
        const QRegion beyond =
            QRegion(clip).subtracted(QRegion(0, 0, cols.edge.back(), rows.edge.back()));
        for (const QRect& r : beyond) {
            painter.fillRect(r, BeyondBack);
        }
    }
    for (size_t ri = 0; ri < rows.index.size(); ++ri) {
        const int top = rows.edge[ri];
        const int bottom = rows.edge[ri + 1];
        if (bottom <= clip.top() || top > clip.bottom()) {
            continue;
        }
        for (size_t ci = 0; ci < cols.index.size(); ++ci) {
            const int left = cols.edge[ci];
            const int right = cols.edge[ci + 1];
            if (right > clip.left() && left <= clip.right()) {
                paintCell(painter, palette, QRect(left, top, right - left, bottom - top),
                          rows.index[ri], cols.index[ci]);
            }
        }
    }
    if (showsSelection()) {
        paintCurrentFrame(painter, palette, clip);
    }
    painter.restore();
}

bool GridPainter::showsSelection() const
{
    return m_grid.HighLight() != 0 && !m_block;
}

// A heading is light blue; a data cell white or its own colour, the selection's colour when it
// lies in a selected block (the current cell keeps its own, as the frame marks it).
GridPainter::CellColours GridPainter::coloursOf(const QPalette& palette, int row, int col) const
{
    if (row < m_grid.FixedRows() || col < m_grid.FixedCols()) {
        return {HeadingBack, palette.color(QPalette::ButtonText), HeadingLine};
    }
    CellColours colours{palette.color(QPalette::Base), palette.color(QPalette::Text), DataLine};
    if (const quint32 own = m_grid.cellBackColorAt(row, col); own != GridState::DefaultBack) {
        colours.back = QColor::fromRgb(QRgb(own));
    }
    const bool block = !selectionIsOneCell(m_grid);
    const bool current = row == m_grid.Row() && col == m_grid.Col();
    if (showsSelection() && block && !current && m_grid.isSelected(row, col)) {
        colours.back = SelectionBack;
        colours.fore = palette.color(QPalette::HighlightedText);
    }
    return colours;
}

// The cell's background, its lines at the right and bottom, and its text inside a margin.
void GridPainter::paintCell(QPainter& painter, const QPalette& palette, const QRect& cell, int row,
                            int col) const
{
    const CellColours colours = coloursOf(palette, row, col);
    painter.fillRect(cell, colours.back);
    painter.setPen(colours.line);
    painter.drawLine(cell.left(), cell.bottom(), cell.right(), cell.bottom());
    painter.drawLine(cell.right(), cell.top(), cell.right(), cell.bottom());

    const int margin = std::max(1, toPixels(30));
    const int room = cell.width() - 2 * margin - 1;
    const bool heading = row < m_grid.FixedRows() || col < m_grid.FixedCols();
    const QString text =
        heading ? m_grid.textAt(row, col) : shownText(row, col, painter.fontMetrics(), room);
    if (text.isEmpty()) {
        return;
    }
    Qt::Alignment align = Qt::AlignVCenter;
    if (heading) {
        align |= Qt::AlignHCenter;
    } else if ((m_grid.isResult(row, col) || readNumber(text)) &&
               painter.fontMetrics().horizontalAdvance(text) <= room) {
        align |= Qt::AlignRight;
    } else {
        // Text, and a number too wide for its cell: its first digits are shown, so
        // 183.33333 never reads as 83.33333.
        align |= Qt::AlignLeft;
    }
    painter.setPen(colours.fore);
    painter.save();
    painter.setClipRect(cell.adjusted(0, 0, -1, -1), Qt::IntersectClip);
    painter.drawText(cell.adjusted(margin, 0, -margin - 1, -1), int(align) | Qt::TextSingleLine,
                     text);
    painter.restore();
}

// The current cell's frame, as a spreadsheet shows where typing goes; not over the headings.
void GridPainter::paintCurrentFrame(QPainter& painter, const QPalette& palette,
                                    const QRect& clip) const
{
    if (m_grid.Row() < m_grid.FixedRows() || m_grid.Col() < m_grid.FixedCols()) {
        return;
    }
    int fixedWidth = 0;
    int fixedHeight = 0;
    for (int c = 0; c < m_grid.FixedCols(); ++c) {
        fixedWidth += m_grid.ColWidth(c);
    }
    for (int r = 0; r < m_grid.FixedRows(); ++r) {
        fixedHeight += m_grid.RowHeight(r);
    }
    const QRect cur = cellRect(m_grid.Row(), m_grid.Col());
    if (cur.left() >= toPixels(fixedWidth) && cur.top() >= toPixels(fixedHeight) &&
        cur.width() > 0 && cur.height() > 0 && cur.intersects(clip)) {
        painter.setPen(QPen(palette.color(QPalette::Text), 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(cur.adjusted(1, 1, -1, -1));
    }
}

QString GridPainter::shownText(int row, int col, const QFontMetrics& metrics, int room) const
{
    const QString& text = m_grid.textAt(row, col);
    if (!m_grid.isResult(row, col) || metrics.horizontalAdvance(text) <= room) {
        return text;
    }
    const std::optional<double> value = readNumber(text);
    if (!value) {
        return text;
    }
    // A result cut off at the cell's edge would read as another number: fewer digits of the
    // same value, or # marks where no form fits.
    for (int digits = 14; digits >= 1; --digits) {
        const QString shorter = gridNumberText(*value, digits);
        if (metrics.horizontalAdvance(shorter) <= room) {
            return shorter;
        }
    }
    const int mark = std::max(1, metrics.horizontalAdvance(QLatin1Char('#')));
    return QString(std::max(0, room / mark), QLatin1Char('#'));
}

QImage GridPainter::blankImage(const QSize& size, double dpi)
{
    QImage image(size.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    const int dotsPerMeter = int(std::lround(dpi / 0.0254));
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    image.fill(Qt::white);
    return image;
}

QImage GridPainter::picture(bool monochrome) const
{
    const QSize size = pictureSize();
    QImage image = blankImage(size, m_dpi);
    {
        QPainter painter(&image);
        paint(painter, QRect(QPoint(0, 0), size), false);
    }
    if (monochrome) {
        image = image.convertToFormat(QImage::Format_Mono, Qt::ThresholdDither);
    }
    return image;
}
