#include "ui/gridpainter.h"

#include "model/sheetmetrics.h"

#include "model/gridstate.h"
#include "calc/numbertext.h"

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
        const QStringList wanted{QStringLiteral("IPAPGothic"), QStringLiteral("IPAPゴシック"),
                                 QStringLiteral("Noto Sans CJK JP"), QStringLiteral("VL PGothic")};
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
template <typename SizeOf>
static void layoutAxis(std::vector<int>& index, std::vector<int>& edge, int headingSize, int first,
                       int last, SizeOf sizeOf, const GridPainter& gp)
{
    int twips = 0;
    edge.push_back(0);
    auto add = [&](int i, int size) {
        if (size <= 0) {
            return;
        }
        twips += size;
        index.push_back(i);
        edge.push_back(gp.toPixels(twips));
    };
    add(0, headingSize);
    for (int i = first; i <= last; ++i) {
        add(i, sizeOf(i));
    }
}

GridPainter::Axis GridPainter::layoutColumns() const
{
    Axis axis;
    const auto width = [this](int c) { return m_grid.ColWidth(c); };
    if (m_block) {
        layoutAxis(axis.index, axis.edge, m_block->headingWidth, m_block->cells.left,
                   m_block->cells.right, width, *this);
    } else {
        layoutAxis(axis.index, axis.edge, width(0), m_grid.LeftCol(), m_grid.Cols() - 1, width,
                   *this);
    }
    return axis;
}

GridPainter::Axis GridPainter::layoutRows() const
{
    Axis axis;
    const auto height = [this](int r) { return m_grid.RowHeight(r); };
    if (m_block) {
        layoutAxis(axis.index, axis.edge, m_block->headingHeight, m_block->cells.top,
                   m_block->cells.bottom, height, *this);
    } else {
        layoutAxis(axis.index, axis.edge, height(0), m_grid.TopRow(), m_grid.Rows() - 1, height,
                   *this);
    }
    return axis;
}

QSize GridPainter::pictureSize() const
{
    return QSize(layoutColumns().edge.back(), layoutRows().edge.back());
}

bool GridPainter::cellAt(const QPoint& point, int& row, int& col) const
{
    const Axis cols = layoutColumns();
    const Axis rows = layoutRows();
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

void GridPainter::paint(QPainter& painter, const QRect& clip, bool fillBeyond) const
{
    const Axis cols = layoutColumns();
    const Axis rows = layoutRows();
    const QPalette palette = QApplication::palette();
    const QFont font = gridFont(m_grid.FontSize());
    painter.save();
    painter.setFont(font);

    const QRect used(0, 0, cols.edge.back(), rows.edge.back());
    if (fillBeyond) {
        const QRegion beyond = QRegion(clip).subtracted(QRegion(used));
        for (const QRect& r : beyond) {
            painter.fillRect(r, BeyondBack);
        }
    }

    const bool showSelection = m_grid.HighLight() != 0 && !m_block;
    const bool singleCell =
        m_grid.selTop() == m_grid.selBottom() && m_grid.selLeft() == m_grid.selRight();
    const int margin = std::max(1, toPixels(30));

    for (size_t ri = 0; ri < rows.index.size(); ++ri) {
        const int top = rows.edge[ri];
        const int bottom = rows.edge[ri + 1];
        if (bottom <= clip.top() || top > clip.bottom()) {
            continue;
        }
        const int r = rows.index[ri];
        for (size_t ci = 0; ci < cols.index.size(); ++ci) {
            const int left = cols.edge[ci];
            const int right = cols.edge[ci + 1];
            if (right <= clip.left() || left > clip.right()) {
                continue;
            }
            const int c = cols.index[ci];
            const QRect cell(left, top, right - left, bottom - top);
            const bool heading = r < m_grid.FixedRows() || c < m_grid.FixedCols();
            QColor back = palette.color(QPalette::Base);
            QColor fore = palette.color(QPalette::Text);
            if (heading) {
                back = HeadingBack;
                fore = palette.color(QPalette::ButtonText);
            } else {
                if (const quint32 own = m_grid.cellBackColorAt(r, c); own != GridState::DefaultBack) {
                    back = QColor::fromRgb(QRgb(own));
                }
                const bool current = r == m_grid.Row() && c == m_grid.Col();
                if (showSelection && !singleCell && !current && m_grid.isSelected(r, c)) {
                    back = SelectionBack;
                    fore = palette.color(QPalette::HighlightedText);
                }
            }
            painter.fillRect(cell, back);
            painter.setPen(heading ? HeadingLine : DataLine);
            painter.drawLine(cell.left(), cell.bottom(), cell.right(), cell.bottom());
            painter.drawLine(cell.right(), cell.top(), cell.right(), cell.bottom());

            const int room = cell.width() - 2 * margin - 1;
            const QString text =
                heading ? m_grid.textAt(r, c) : shownText(r, c, painter.fontMetrics(), room);
            if (!text.isEmpty()) {
                Qt::Alignment align = Qt::AlignVCenter;
                if (heading) {
                    align |= Qt::AlignHCenter;
                } else if ((m_grid.isResult(r, c) || readNumber(text)) &&
                           painter.fontMetrics().horizontalAdvance(text) <= room) {
                    align |= Qt::AlignRight;
                } else {
                    // Text, and a number too wide for its cell: its first digits are shown, so
                    // 183.33333 never reads as 83.33333.
                    align |= Qt::AlignLeft;
                }
                painter.setPen(fore);
                const QRect inner = cell.adjusted(margin, 0, -margin - 1, -1);
                painter.save();
                painter.setClipRect(cell.adjusted(0, 0, -1, -1), Qt::IntersectClip);
                painter.drawText(inner, int(align) | Qt::TextSingleLine, text);
                painter.restore();
            }
        }
    }

    // The current cell's frame, as a spreadsheet shows where typing goes; not over the headings.
    if (showSelection && m_grid.Row() >= m_grid.FixedRows() && m_grid.Col() >= m_grid.FixedCols()) {
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
    painter.restore();
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
