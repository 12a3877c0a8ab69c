#include "chart/chartview.h"

#include "ui/gridpainter.h"

#include <QPainter>
#include <QPainterPath>
#include <QRandomGenerator>
#include <cmath>

void chooseMonoAppearance(ChartStyle& style, int seriesCount, QRandomGenerator& random)
{
    style.dashStyles.clear();
    style.patterns.clear();
    for (int i = 0; i < seriesCount; ++i) {
        style.dashStyles.push_back(int(random.generateDouble() * 8) + 1);
        style.patterns.push_back(int(random.generateDouble() * 17) + 1);
    }
}

QPen dashPen(int style)
{
    QPen pen(Qt::black, 2);
    pen.setCapStyle(Qt::FlatCap);
    switch (style) {
    case 1:
        pen.setStyle(Qt::SolidLine);
        break;
    case 2:
        pen.setStyle(Qt::DashLine);
        break;
    case 3:
        pen.setStyle(Qt::DotLine);
        break;
    case 4:
        pen.setStyle(Qt::DashDotLine);
        break;
    case 5:
        pen.setStyle(Qt::DashDotDotLine);
        break;
    case 6:
        pen.setDashPattern({8, 3}); // long dashes
        break;
    case 7:
        pen.setDashPattern({5, 2, 1, 2, 1, 2, 1, 2}); // dash and three dots
        break;
    default:
        pen.setDashPattern({1, 5}); // sparse dots
        break;
    }
    return pen;
}

namespace {

// A black-on-white texture from rows of an 8 × 8 bitmap ('#' black).
QBrush texture(const char* const rows[8])
{
    QImage image(8, 8, QImage::Format_RGB32);
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            image.setPixel(x, y, rows[y][x] == '#' ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
        }
    }
    return QBrush(image);
}

} // namespace

QBrush patternBrush(int pattern)
{
    static const Qt::BrushStyle styles[] = {Qt::Dense1Pattern, Qt::Dense2Pattern, Qt::Dense3Pattern, Qt::Dense4Pattern,
                                            Qt::Dense5Pattern, Qt::Dense6Pattern, Qt::Dense7Pattern, Qt::HorPattern,
                                            Qt::VerPattern,    Qt::CrossPattern,  Qt::BDiagPattern,  Qt::FDiagPattern,
                                            Qt::DiagCrossPattern};
    if (pattern >= 1 && pattern <= 13) {
        return QBrush(Qt::black, styles[pattern - 1]);
    }
    static const char* const checker[8] = {"####....", "####....", "####....", "####....",
                                           "....####", "....####", "....####", "....####"};
    static const char* const bricks[8] = {"########", "#.......", "#.......", "#.......",
                                          "########", "....#...", "....#...", "....#..."};
    static const char* const dots[8] = {"........", ".##.....", ".##.....", "........",
                                        "........", ".....##.", ".....##.", "........"};
    static const char* const waves[8] = {"#.......", ".#.....#", "..#...#.", "...#.#..",
                                         "....#...", "........", "........", "........"};
    switch (pattern) {
    case 14:
        return texture(checker);
    case 15:
        return texture(bricks);
    case 16:
        return texture(dots);
    default:
        return texture(waves);
    }
}

QColor seriesColour(int series)
{
    static const QColor colours[] = {QColor(0, 114, 189),  QColor(217, 83, 25),  QColor(237, 177, 32),
                                     QColor(126, 47, 142), QColor(119, 172, 48), QColor(77, 190, 238),
                                     QColor(162, 20, 47),  QColor(90, 90, 90)};
    return colours[series % 8];
}

QBrush ChartRenderer::seriesBrush(int series) const
{
    if (m_style.mono && series < int(m_style.patterns.size())) {
        return patternBrush(m_style.patterns[size_t(series)]);
    }
    return seriesColour(series);
}

QPen ChartRenderer::seriesPen(int series) const
{
    if (m_style.mono && series < int(m_style.dashStyles.size())) {
        return dashPen(m_style.dashStyles[size_t(series)]);
    }
    return QPen(seriesColour(series), 2);
}

namespace {

QFont chartFont(double points, bool bold = false)
{
    QFont font = GridPainter::gridFont(points);
    font.setBold(bold);
    return font;
}

// A tick step of 1, 2 or 5 times a power of ten giving about five steps.
double niceStep(double range)
{
    const double raw = range / 5;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (double m : {1.0, 2.0, 5.0, 10.0}) {
        if (raw <= m * power) {
            return m * power;
        }
    }
    return 10 * power;
}

} // namespace

ChartLayout ChartRenderer::layout(const QRectF& area, const QPaintDevice* device) const
{
    ChartLayout l;
    const double gap = area.width() * 0.015;
    QRectF rest = area.adjusted(gap, gap, -gap, -gap);
    if (!m_style.title.text.isEmpty()) {
        const QFontMetricsF fm(chartFont(m_style.title.points, true), device);
        l.title = QRectF(rest.left(), rest.top(), rest.width(), fm.height());
        rest.setTop(l.title.bottom() + gap);
    }
    if (m_data.seriesCount() > 0) {
        const QFontMetricsF fm(chartFont(9), device);
        double width = 0;
        for (const QString& name : m_data.seriesNames) {
            width = std::max(width, fm.horizontalAdvance(name));
        }
        const double w = width + fm.height() * 2.5;
        const double h = fm.height() * 1.4 * m_data.seriesCount() + fm.height() * 0.6;
        l.legend = QRectF(rest.right() - w, rest.center().y() - h / 2, w, h);
        rest.setRight(l.legend.left() - gap);
    }
    if (!m_style.xTitle.text.isEmpty()) {
        const QFontMetricsF fm(chartFont(m_style.xTitle.points), device);
        l.xTitle = QRectF(rest.left(), rest.bottom() - fm.height(), rest.width(), fm.height());
        rest.setBottom(l.xTitle.top() - gap);
    }
    if (!m_style.yTitle.text.isEmpty()) {
        const QFontMetricsF fm(chartFont(m_style.yTitle.points), device);
        l.yTitle = QRectF(rest.left(), rest.top(), fm.height(), rest.height());
        rest.setLeft(l.yTitle.right() + gap);
    }
    const QFontMetricsF axis(chartFont(9), device);
    l.plot = rest.adjusted(axis.horizontalAdvance(QStringLiteral("-00000")), axis.height(), -gap, -axis.height() * 1.5);
    return l;
}

void ChartRenderer::paint(QPainter& painter, const QRectF& area) const
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(area, Qt::white);
    const ChartLayout l = layout(area, painter.device());

    painter.setPen(Qt::black);
    if (!l.title.isEmpty()) {
        painter.setFont(chartFont(m_style.title.points, true));
        painter.drawText(l.title, Qt::AlignHCenter | Qt::AlignTop, m_style.title.text);
    }
    if (!l.xTitle.isEmpty()) {
        painter.setFont(chartFont(m_style.xTitle.points));
        painter.drawText(l.xTitle, Qt::AlignHCenter | Qt::AlignTop, m_style.xTitle.text);
    }
    if (!l.yTitle.isEmpty()) {
        // Read from bottom to top.
        painter.save();
        painter.setFont(chartFont(m_style.yTitle.points));
        painter.translate(l.yTitle.center());
        painter.rotate(-90);
        const QRectF turned(-l.yTitle.height() / 2, -l.yTitle.width() / 2, l.yTitle.height(), l.yTitle.width());
        painter.drawText(turned, Qt::AlignCenter, m_style.yTitle.text);
        painter.restore();
    }

    if (m_data.seriesCount() == 0) {
        painter.setFont(chartFont(10));
        painter.drawText(l.plot, Qt::AlignCenter | Qt::TextWordWrap,
                         QStringLiteral("グラフにする系列がありません。\n2列以上の範囲を選択してください。"));
        painter.restore();
        return;
    }

    // Legend at the right.
    painter.setFont(chartFont(9));
    const QFontMetricsF fm(painter.font(), painter.device());
    painter.setPen(Qt::black);
    painter.setBrush(Qt::white);
    painter.drawRect(l.legend);
    for (int i = 0; i < m_data.seriesCount(); ++i) {
        const double y = l.legend.top() + fm.height() * (0.3 + 1.4 * i);
        const QRectF swatch(l.legend.left() + fm.height() * 0.4, y + fm.height() * 0.2, fm.height() * 1.2, fm.height() * 0.8);
        if (m_style.isLine()) {
            painter.setPen(seriesPen(i));
            painter.drawLine(QPointF(swatch.left(), swatch.center().y()), QPointF(swatch.right(), swatch.center().y()));
        } else {
            painter.setPen(Qt::black);
            painter.fillRect(swatch, Qt::white);
            painter.setBrush(seriesBrush(i));
            painter.drawRect(swatch);
        }
        painter.setPen(Qt::black);
        painter.drawText(QPointF(swatch.right() + fm.height() * 0.4, y + fm.ascent()), m_data.seriesNames[i]);
    }

    // The value range, zero always included.
    double low = 0;
    double high = 0;
    for (const auto& series : m_data.values) {
        for (const auto& v : series) {
            if (v) {
                low = std::min(low, *v);
                high = std::max(high, *v);
            }
        }
    }
    if (high - low < 1e-12) {
        high = low + 1;
    }
    const double step = niceStep(high - low);
    low = std::floor(low / step) * step;
    high = std::ceil(high / step) * step;

    QRectF plot = l.plot;
    const double depth = m_style.is3D() ? std::min(plot.width(), plot.height()) * 0.08 : 0;
    plot.adjust(0, depth, -depth, 0);
    auto yOf = [&](double v) { return plot.bottom() - (v - low) / (high - low) * plot.height(); };

    // Back wall and floor in the oblique view, then the value grid and the axes.
    if (depth > 0) {
        painter.setPen(QColor(160, 160, 160));
        painter.setBrush(QColor(235, 235, 235));
        painter.drawRect(plot.translated(depth, -depth));
        painter.drawPolygon(QPolygonF({plot.bottomLeft(), plot.bottomRight(), plot.bottomRight() + QPointF(depth, -depth),
                                       plot.bottomLeft() + QPointF(depth, -depth)}));
    }
    painter.setFont(chartFont(9));
    for (double v = low; v <= high + step / 2; v += step) {
        const double y = yOf(v);
        painter.setPen(QColor(210, 210, 210));
        painter.drawLine(QPointF(plot.left() + depth, y - depth), QPointF(plot.right() + depth, y - depth));
        painter.setPen(Qt::black);
        const QRectF label(l.plot.left() - fm.horizontalAdvance(QStringLiteral("-00000")), y - fm.height() / 2,
                           fm.horizontalAdvance(QStringLiteral("-00000")) - fm.height() * 0.3, fm.height());
        painter.drawText(label, Qt::AlignRight | Qt::AlignVCenter, QString::number(v, 'g', 6));
    }
    painter.setPen(Qt::black);
    painter.drawLine(plot.bottomLeft(), plot.topLeft());
    painter.drawLine(QPointF(plot.left(), yOf(std::max(low, 0.0))), QPointF(plot.right(), yOf(std::max(low, 0.0))));
    const double slot = plot.width() / std::max(1, m_data.categoryCount());
    for (int k = 0; k < m_data.categoryCount(); ++k) {
        const QRectF label(plot.left() + slot * k, plot.bottom() + fm.height() * 0.2, slot, fm.height());
        painter.drawText(label, Qt::AlignHCenter | Qt::AlignTop, fm.elidedText(m_data.categories[k], Qt::ElideRight, slot));
    }

    paintSeries(painter, plot, low, high);
    painter.restore();
}

void ChartRenderer::paintSeries(QPainter& painter, const QRectF& plot, double low, double high) const
{
    const int n = m_data.seriesCount();
    const int m = m_data.categoryCount();
    const double slot = plot.width() / std::max(1, m);
    const double depth = m_style.is3D() ? std::min(plot.width(), plot.height()) * 0.08 / 1.08 : 0;
    const QPointF back(depth, -depth);
    auto yOf = [&](double v) { return plot.bottom() - (v - low) / (high - low) * plot.height(); };
    const double zero = yOf(std::clamp(0.0, low, high));
    painter.setFont(chartFont(8));
    const QFontMetricsF fm(painter.font(), painter.device());
    auto label = [&](const QPointF& top, double value) {
        painter.setPen(Qt::black);
        const QString text = valueLabel(value);
        const double w = fm.horizontalAdvance(text);
        painter.drawText(QPointF(top.x() - w / 2, top.y() - fm.descent() - 2), text);
    };

    if (!m_style.isLine()) {
        const double width = slot * 0.8 / std::max(1, n);
        for (int k = 0; k < m; ++k) {
            for (int i = 0; i < n; ++i) {
                const auto& v = m_data.values[size_t(i)][size_t(k)];
                if (!v) {
                    continue;
                }
                const double x = plot.left() + slot * k + slot * 0.1 + width * i;
                const QRectF bar(QPointF(x, std::min(zero, yOf(*v))), QPointF(x + width, std::max(zero, yOf(*v))));
                painter.setPen(Qt::black);
                if (depth > 0) {
                    // Top and side faces of the box, shaded.
                    const QColor shade = m_style.mono ? QColor(200, 200, 200) : seriesColour(i).darker(140);
                    painter.setBrush(m_style.mono ? QColor(235, 235, 235) : seriesColour(i).lighter(130));
                    painter.drawPolygon(QPolygonF({bar.topLeft(), bar.topRight(), bar.topRight() + back, bar.topLeft() + back}));
                    painter.setBrush(shade);
                    painter.drawPolygon(QPolygonF({bar.topRight(), bar.bottomRight(), bar.bottomRight() + back, bar.topRight() + back}));
                }
                painter.fillRect(bar, Qt::white);
                painter.setBrush(seriesBrush(i));
                painter.drawRect(bar);
                // Above the top of a bar that rises, below the end of one that falls.
                if (*v >= 0) {
                    label(QPointF(bar.center().x() + depth / 2, yOf(*v) - depth), *v);
                } else {
                    label(QPointF(bar.center().x(), yOf(*v) + fm.height() + 2), *v);
                }
            }
        }
        return;
    }

    // Lines: flat, or as ribbons with depth, the first series in front.
    for (int i = n - 1; i >= 0; --i) {
        std::vector<QPointF> points(static_cast<size_t>(m));
        for (int k = 0; k < m; ++k) {
            const auto& v = m_data.values[size_t(i)][size_t(k)];
            points[size_t(k)] = QPointF(plot.left() + slot * (k + 0.5), v ? yOf(*v) : qQNaN());
        }
        const QPen pen = seriesPen(i);
        for (int k = 0; k + 1 < m; ++k) {
            const QPointF a = points[size_t(k)];
            const QPointF b = points[size_t(k + 1)];
            if (std::isnan(a.y()) || std::isnan(b.y())) {
                continue;
            }
            if (depth > 0) {
                painter.setPen(QPen(Qt::black, 1));
                painter.setBrush(m_style.mono ? QBrush(Qt::white) : QBrush(seriesColour(i).lighter(130)));
                painter.drawPolygon(QPolygonF({a, b, b + back, a + back}));
            }
            painter.setPen(pen);
            painter.drawLine(a, b);
        }
        for (int k = 0; k < m; ++k) {
            const QPointF p = points[size_t(k)];
            if (std::isnan(p.y())) {
                continue;
            }
            painter.setPen(Qt::black);
            painter.setBrush(m_style.mono ? QBrush(Qt::black) : QBrush(seriesColour(i)));
            painter.drawRect(QRectF(p.x() - 3, p.y() - 3, 6, 6));
            label(QPointF(p.x(), p.y() - 5), *m_data.values[size_t(i)][size_t(k)]);
        }
    }
}

ChartView::ChartView(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("chtGraph"));
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ChartView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    ChartRenderer(data, style).paint(painter, rect());
}

QImage ChartView::image(double sharpness) const
{
    QImage out(size() * sharpness, QImage::Format_RGB32);
    out.setDevicePixelRatio(sharpness);
    out.fill(Qt::white);
    QPainter painter(&out);
    ChartRenderer(data, style).paint(painter, QRectF(QPointF(0, 0), QSizeF(size())));
    return out;
}
