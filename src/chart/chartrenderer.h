#pragma once

#include "chart/chartdata.h"
#include "chart/chartlayout.h"
#include "chart/chartstyle.h"

#include <QBrush>
#include <QPen>
#include <vector>

class QPainter;

// Draws a chart: title on top, legend at the right, axis titles, the plot with its axes, the
// series as bars or lines (flat, or with depth in an oblique view) and a whole-number value
// label above every point.
class ChartRenderer
{
public:
    ChartRenderer(const ChartData& data, const ChartStyle& style) : m_data(data), m_style(style) {}

    void paint(QPainter& painter, const QRectF& area) const;

private:
    // The chart title, the X axis title and the Y axis title, read from bottom to top.
    void paintTitles(QPainter& painter, const ChartLayout& layout) const;
    // In place of the plot, the note that there is nothing to chart.
    void paintNoSeriesNote(QPainter& painter, const QRectF& plot) const;
    // The legend box: a swatch of each series' line or bar and its name.
    void paintLegend(QPainter& painter, const QRectF& legend) const;
    // The back wall and the floor of the oblique view.
    void paintWalls(QPainter& painter, const PlotArea& plot) const;
    // A grid line and a label at every step of the value scale.
    void paintValueGrid(QPainter& painter, const PlotArea& plot) const;
    // The value axis, the category axis at zero and the category labels below the plot.
    void paintAxes(QPainter& painter, const PlotArea& plot) const;
    // The series as bars or lines with their value labels.
    void paintSeries(QPainter& painter, const PlotArea& plot) const;
    // One bar of a series with its value label, as a box in the oblique view.
    void paintBar(QPainter& painter, const PlotArea& plot, int series, int category,
                  double value) const;
    // The shaded top and side faces of a box reaching back from the bar's front.
    void paintBoxFaces(QPainter& painter, const QRectF& bar, const QPointF& back, int series) const;
    // One series as a line, as a ribbon in the oblique view, with a marker and a value label on
    // every point.
    void paintLine(QPainter& painter, const PlotArea& plot, int series) const;
    // The segments between neighbouring points that both have a value, each with its ribbon
    // reaching back in the oblique view.
    void paintLineSegments(QPainter& painter, const PlotArea& plot, int series,
                           const std::vector<QPointF>& points) const;
    // A square marker and the value label on every point that has a value.
    void paintMarkers(QPainter& painter, int series, const std::vector<QPointF>& points) const;

    // The points of a series' line, one in the middle of each category's slot; a category
    // without a value has no height (NaN).
    std::vector<QPointF> linePoints(const PlotArea& plot, int series) const;
    QBrush seriesBrush(int series) const;
    QPen seriesPen(int series) const;

    const ChartData& m_data;
    const ChartStyle& m_style;
};
