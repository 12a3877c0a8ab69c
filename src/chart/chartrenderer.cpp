#include "chart/chartrenderer.h"

#include "chart/chartpatterns.h"

#include <QPainter>
#include <cmath>

namespace {

// A title across its rectangle, centred at the top.
void paintTitle(QPainter& painter, const QRectF& rect, const ChartTitle& title, bool bold)
{
    painter.setFont(chartFont(title.points, bold));
    painter.drawText(rect, Qt::AlignHCenter | Qt::AlignTop, title.text);
}

// A value as a whole number, centred on the anchor and standing above it, in the painter's
// font.
void paintValueLabel(QPainter& painter, const QPointF& anchor, double value)
{
    const QFontMetricsF fm(painter.font(), painter.device());
    painter.setPen(Qt::black);
    const QString text = valueLabel(value);
    const double w = fm.horizontalAdvance(text);
    painter.drawText(QPointF(anchor.x() - w / 2, anchor.y() - fm.descent() - 2), text);
}

} // namespace

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

void ChartRenderer::paint(QPainter& painter, const QRectF& area) const
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(area, Qt::white);
    const ChartLayout l = chartLayout(m_data, m_style, area, painter.device());
    paintTitles(painter, l);
    if (m_data.seriesCount() == 0) {
        paintNoSeriesNote(painter, l.plot);
    } else {
        paintLegend(painter, l.legend);
        const PlotArea plot = plotArea(m_data, l.plot, m_style.is3D());
        paintWalls(painter, plot);
        paintValueGrid(painter, plot);
        paintAxes(painter, plot);
        paintSeries(painter, plot);
    }
    painter.restore();
}

void ChartRenderer::paintTitles(QPainter& painter, const ChartLayout& layout) const
{
    painter.setPen(Qt::black);
    if (!layout.title.isEmpty()) {
        paintTitle(painter, layout.title, m_style.title, true);
    }
    if (!layout.xTitle.isEmpty()) {
        paintTitle(painter, layout.xTitle, m_style.xTitle, false);
    }
    if (!layout.yTitle.isEmpty()) {
        const QRectF& rect = layout.yTitle;
        painter.save();
        painter.setFont(chartFont(m_style.yTitle.points));
        painter.translate(rect.center());
        painter.rotate(-90);
        const QRectF turned(-rect.height() / 2, -rect.width() / 2, rect.height(), rect.width());
        painter.drawText(turned, Qt::AlignCenter, m_style.yTitle.text);
        painter.restore();
    }
}

void ChartRenderer::paintNoSeriesNote(QPainter& painter, const QRectF& plot) const
{
    painter.setPen(Qt::black);
    painter.setFont(chartFont(10));
    painter.drawText(
        plot, Qt::AlignCenter | Qt::TextWordWrap,
        QStringLiteral("グラフにする系列がありません。\n2列以上の範囲を選択してください。"));
}

void ChartRenderer::paintLegend(QPainter& painter, const QRectF& legend) const
{
    painter.setFont(chartFont(9));
    const QFontMetricsF fm(painter.font(), painter.device());
    painter.setPen(Qt::black);
    painter.setBrush(Qt::white);
    painter.drawRect(legend);
    for (int i = 0; i < m_data.seriesCount(); ++i) {
        const double y = legend.top() + fm.height() * (0.3 + 1.4 * i);
        const QRectF swatch(legend.left() + fm.height() * 0.4, y + fm.height() * 0.2,
                            fm.height() * 1.2, fm.height() * 0.8);
        if (m_style.isLine()) {
            painter.setPen(seriesPen(i));
            painter.drawLine(QPointF(swatch.left(), swatch.center().y()),
                             QPointF(swatch.right(), swatch.center().y()));
        } else {
            painter.setPen(Qt::black);
            painter.fillRect(swatch, Qt::white);
            painter.setBrush(seriesBrush(i));
            painter.drawRect(swatch);
        }
        painter.setPen(Qt::black);
        painter.drawText(QPointF(swatch.right() + fm.height() * 0.4, y + fm.ascent()),
                         m_data.seriesNames[i]);
    }
}

void ChartRenderer::paintWalls(QPainter& painter, const PlotArea& plot) const
{
    if (plot.depth > 0) {
        const QRectF& front = plot.front;
        const QPointF back(plot.depth, -plot.depth);
        painter.setPen(QColor(160, 160, 160));
        painter.setBrush(QColor(235, 235, 235));
        painter.drawRect(front.translated(back));
        painter.drawPolygon(QPolygonF({front.bottomLeft(), front.bottomRight(),
                                       front.bottomRight() + back, front.bottomLeft() + back}));
    }
}

void ChartRenderer::paintValueGrid(QPainter& painter, const PlotArea& plot) const
{
    painter.setFont(chartFont(9));
    const QFontMetricsF fm(painter.font(), painter.device());
    const QRectF& front = plot.front;
    for (double v = plot.low; v <= plot.high + plot.step / 2; v += plot.step) {
        const double y = plot.yOf(v);
        painter.setPen(QColor(210, 210, 210));
        painter.drawLine(QPointF(front.left() + plot.depth, y - plot.depth),
                         QPointF(front.right() + plot.depth, y - plot.depth));
        painter.setPen(Qt::black);
        const QRectF label(front.left() - valueLabelRoom(fm), y - fm.height() / 2,
                           valueLabelRoom(fm) - fm.height() * 0.3, fm.height());
        painter.drawText(label, Qt::AlignRight | Qt::AlignVCenter, QString::number(v, 'g', 6));
    }
}

void ChartRenderer::paintAxes(QPainter& painter, const PlotArea& plot) const
{
    painter.setFont(chartFont(9));
    const QFontMetricsF fm(painter.font(), painter.device());
    const QRectF& front = plot.front;
    painter.setPen(Qt::black);
    painter.drawLine(front.bottomLeft(), front.topLeft());
    const double zero = plot.yOf(std::max(plot.low, 0.0));
    painter.drawLine(QPointF(front.left(), zero), QPointF(front.right(), zero));
    for (int k = 0; k < m_data.categoryCount(); ++k) {
        const QRectF label(front.left() + plot.slot * k, front.bottom() + fm.height() * 0.2,
                           plot.slot, fm.height());
        painter.drawText(label, Qt::AlignHCenter | Qt::AlignTop,
                         fm.elidedText(m_data.categories[k], Qt::ElideRight, plot.slot));
    }
}

void ChartRenderer::paintSeries(QPainter& painter, const PlotArea& plot) const
{
    painter.setFont(chartFont(8));
    if (!m_style.isLine()) {
        for (int k = 0; k < m_data.categoryCount(); ++k) {
            for (int i = 0; i < m_data.seriesCount(); ++i) {
                if (const auto& v = m_data.values[size_t(i)][size_t(k)]) {
                    paintBar(painter, plot, i, k, *v);
                }
            }
        }
        return;
    }
    // The first series in front.
    for (int i = m_data.seriesCount() - 1; i >= 0; --i) {
        paintLine(painter, plot, i);
    }
}

void ChartRenderer::paintBar(QPainter& painter, const PlotArea& plot, int series, int category,
                             double value) const
{
    const double width = plot.slot * 0.8 / std::max(1, m_data.seriesCount());
    const double zero = plot.yOf(std::clamp(0.0, plot.low, plot.high));
    const double end = plot.yOf(value);
    const double depth = plot.seriesDepth();
    const double x = plot.front.left() + plot.slot * category + plot.slot * 0.1 + width * series;
    const QRectF bar(QPointF(x, std::min(zero, end)), QPointF(x + width, std::max(zero, end)));
    painter.setPen(Qt::black);
    if (depth > 0) {
        paintBoxFaces(painter, bar, QPointF(depth, -depth), series);
    }
    painter.fillRect(bar, Qt::white);
    painter.setBrush(seriesBrush(series));
    painter.drawRect(bar);
    // Above the top of a bar that rises, below the end of one that falls.
    if (value >= 0) {
        paintValueLabel(painter, QPointF(bar.center().x() + depth / 2, end - depth), value);
    } else {
        const QFontMetricsF fm(painter.font(), painter.device());
        paintValueLabel(painter, QPointF(bar.center().x(), end + fm.height() + 2), value);
    }
}

void ChartRenderer::paintBoxFaces(QPainter& painter, const QRectF& bar, const QPointF& back,
                                  int series) const
{
    const QColor shade = m_style.mono ? QColor(200, 200, 200) : seriesColour(series).darker(140);
    painter.setBrush(m_style.mono ? QColor(235, 235, 235) : seriesColour(series).lighter(130));
    painter.drawPolygon(
        QPolygonF({bar.topLeft(), bar.topRight(), bar.topRight() + back, bar.topLeft() + back}));
    painter.setBrush(shade);
    painter.drawPolygon(QPolygonF(
        {bar.topRight(), bar.bottomRight(), bar.bottomRight() + back, bar.topRight() + back}));
}

std::vector<QPointF> ChartRenderer::linePoints(const PlotArea& plot, int series) const
{
    std::vector<QPointF> points(static_cast<size_t>(m_data.categoryCount()));
    for (int k = 0; k < m_data.categoryCount(); ++k) {
        const auto& v = m_data.values[size_t(series)][size_t(k)];
        points[size_t(k)] =
            QPointF(plot.front.left() + plot.slot * (k + 0.5), v ? plot.yOf(*v) : qQNaN());
    }
    return points;
}

void ChartRenderer::paintLine(QPainter& painter, const PlotArea& plot, int series) const
{
    const std::vector<QPointF> points = linePoints(plot, series);
    paintLineSegments(painter, plot, series, points);
    paintMarkers(painter, series, points);
}

void ChartRenderer::paintLineSegments(QPainter& painter, const PlotArea& plot, int series,
                                      const std::vector<QPointF>& points) const
{
    const double depth = plot.seriesDepth();
    const QPointF back(depth, -depth);
    const QPen pen = seriesPen(series);
    for (size_t k = 0; k + 1 < points.size(); ++k) {
        const QPointF a = points[k];
        const QPointF b = points[k + 1];
        if (std::isnan(a.y()) || std::isnan(b.y())) {
            continue;
        }
        if (depth > 0) {
            painter.setPen(QPen(Qt::black, 1));
            painter.setBrush(m_style.mono ? QBrush(Qt::white)
                                          : QBrush(seriesColour(series).lighter(130)));
            painter.drawPolygon(QPolygonF({a, b, b + back, a + back}));
        }
        painter.setPen(pen);
        painter.drawLine(a, b);
    }
}

void ChartRenderer::paintMarkers(QPainter& painter, int series,
                                 const std::vector<QPointF>& points) const
{
    for (size_t k = 0; k < points.size(); ++k) {
        const QPointF p = points[k];
        if (std::isnan(p.y())) {
            continue;
        }
        painter.setPen(Qt::black);
        painter.setBrush(m_style.mono ? QBrush(Qt::black) : QBrush(seriesColour(series)));
        painter.drawRect(QRectF(p.x() - 3, p.y() - 3, 6, 6));
        paintValueLabel(painter, QPointF(p.x(), p.y() - 5), *m_data.values[size_t(series)][k]);
    }
}
