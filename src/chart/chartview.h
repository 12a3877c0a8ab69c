#pragma once

#include "chart/chartdata.h"

#include <QBrush>
#include <QPen>
#include <QWidget>

class QRandomGenerator;

// One title of a chart; no text means no title.
struct ChartTitle {
    QString text;
    double points = 10;
};

// How a chart is drawn: its type (as the chart menu numbers them: 0 three-dimensional bar,
// 1 two-dimensional bar, 2 three-dimensional line, 3 two-dimensional line), colour or black and
// white, the titles, and per series the dash style (1 to 8) of a black-and-white line or the
// pattern (1 to 17) of a black-and-white bar.
struct ChartStyle {
    int type = 3;
    bool mono = false;
    ChartTitle title;
    ChartTitle xTitle;
    ChartTitle yTitle;
    std::vector<int> dashStyles;
    std::vector<int> patterns;

    bool isLine() const { return type == 2 || type == 3; }
    bool is3D() const { return type == 0 || type == 2; }
};

// Black-and-white appearances picked at random, one per series: a dash style for lines, a
// pattern for bars (two series may get the same one).
void chooseMonoAppearance(ChartStyle& style, int seriesCount, QRandomGenerator& random);

// Eight distinguishable black dash styles, numbered 1 to 8.
QPen dashPen(int style);
// Seventeen distinguishable black-on-white patterns, numbered 1 to 17: Qt's thirteen brush
// patterns and four textures of our own.
QBrush patternBrush(int pattern);
// The automatic colour of a series in a colour chart.
QColor seriesColour(int series);

// Where the parts of a chart lie in an area.
struct ChartLayout {
    QRectF title;
    QRectF legend;
    QRectF plot;
    QRectF xTitle;
    QRectF yTitle;
};

// Draws a chart: title on top, legend at the right, axis titles, the plot with its axes, the
// series as bars or lines (flat, or with depth in an oblique view) and a whole-number value
// label above every point.
class ChartRenderer
{
public:
    ChartRenderer(const ChartData& data, const ChartStyle& style) : m_data(data), m_style(style) {}

    ChartLayout layout(const QRectF& area, const QPaintDevice* device) const;
    void paint(QPainter& painter, const QRectF& area) const;

private:
    void paintSeries(QPainter& painter, const QRectF& plot, double low, double high) const;
    QBrush seriesBrush(int series) const;
    QPen seriesPen(int series) const;

    const ChartData& m_data;
    const ChartStyle& m_style;
};

// The chart control of the chart window: shows one chart and prints it.
class ChartView : public QWidget
{
    Q_OBJECT

public:
    explicit ChartView(QWidget* parent = nullptr);

    ChartData data;
    ChartStyle style;

    // The chart as an image of the view's size, sharper by the given factor.
    QImage image(double sharpness = 1) const;

protected:
    void paintEvent(QPaintEvent* event) override;
};
