#include "chart/chartlayout.h"

#include "ui/gridpainter.h"

#include <QFontMetricsF>
#include <QString>
#include <cmath>

QFont chartFont(double points, bool bold)
{
    QFont font = GridPainter::gridFont(points);
    font.setBold(bold);
    return font;
}

double valueLabelRoom(const QFontMetricsF& axisFont)
{
    return axisFont.horizontalAdvance(QStringLiteral("-00000"));
}

ChartLayout chartLayout(const ChartData& data, const ChartStyle& style, const QRectF& area,
                        const QPaintDevice* device)
{
    ChartLayout l;
    const double gap = area.width() * 0.015;
    QRectF rest = area.adjusted(gap, gap, -gap, -gap);
    if (!style.title.text.isEmpty()) {
        const QFontMetricsF fm(chartFont(style.title.points, true), device);
        l.title = QRectF(rest.left(), rest.top(), rest.width(), fm.height());
        rest.setTop(l.title.bottom() + gap);
    }
    if (data.seriesCount() > 0) {
        const QFontMetricsF fm(chartFont(9), device);
        double width = 0;
        for (const QString& name : data.seriesNames) {
            width = std::max(width, fm.horizontalAdvance(name));
        }
        const double w = width + fm.height() * 2.5;
        const double h = fm.height() * 1.4 * data.seriesCount() + fm.height() * 0.6;
        l.legend = QRectF(rest.right() - w, rest.center().y() - h / 2, w, h);
        rest.setRight(l.legend.left() - gap);
    }
    if (!style.xTitle.text.isEmpty()) {
        const QFontMetricsF fm(chartFont(style.xTitle.points), device);
        l.xTitle = QRectF(rest.left(), rest.bottom() - fm.height(), rest.width(), fm.height());
        rest.setBottom(l.xTitle.top() - gap);
    }
    if (!style.yTitle.text.isEmpty()) {
        const QFontMetricsF fm(chartFont(style.yTitle.points), device);
        l.yTitle = QRectF(rest.left(), rest.top(), fm.height(), rest.height());
        rest.setLeft(l.yTitle.right() + gap);
    }
    const QFontMetricsF axis(chartFont(9), device);
    l.plot = rest.adjusted(valueLabelRoom(axis), axis.height(), -gap, -axis.height() * 1.5);
    return l;
}

namespace {

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

PlotArea plotArea(const ChartData& data, const QRectF& plot, bool oblique)
{
    PlotArea area;
    double low = 0;
    double high = 0;
    for (const auto& series : data.values) {
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
    area.step = niceStep(high - low);
    area.low = std::floor(low / area.step) * area.step;
    area.high = std::ceil(high / area.step) * area.step;

    area.oblique = oblique;
    area.depth = oblique ? std::min(plot.width(), plot.height()) * 0.08 : 0;
    area.front = plot;
    area.front.adjust(0, area.depth, -area.depth, 0);
    area.slot = area.front.width() / std::max(1, data.categoryCount());
    return area;
}
