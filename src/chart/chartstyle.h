#pragma once

#include <QString>
#include <vector>

class QRandomGenerator;

// One title of a chart; no text means no title.
struct ChartTitle
{
    QString text;
    double points = 10;
};

// The four kinds of chart: bars or lines, flat or with depth in an oblique view.
enum class ChartType { Bar3D, Bar2D, Line3D, Line2D };

// The chart type of its number in the chart menu (0 three-dimensional bar, 1 two-dimensional
// bar, 2 three-dimensional line, 3 two-dimensional line); any other number is a flat bar chart,
// drawn as neither a line nor with depth.
ChartType chartTypeOfNumber(int number);

inline bool isLineChart(ChartType type)
{
    return type == ChartType::Line2D || type == ChartType::Line3D;
}

inline bool is3DChart(ChartType type)
{
    return type == ChartType::Bar3D || type == ChartType::Line3D;
}

// How a chart is drawn: its type, colour or black and white, the titles, and per series the
// dash style (1 to 8) of a black-and-white line or the pattern (1 to 17) of a black-and-white
// bar.
struct ChartStyle
{
    ChartType type = ChartType::Line2D;
    bool mono = false;
    ChartTitle title;
    ChartTitle xTitle;
    ChartTitle yTitle;
    std::vector<int> dashStyles;
    std::vector<int> patterns;

    bool isLine() const { return isLineChart(type); }
    bool is3D() const { return is3DChart(type); }
};

// Black-and-white appearances picked at random, one per series: a dash style for lines, a
// pattern for bars (two series may get the same one).
void chooseMonoAppearance(ChartStyle& style, int seriesCount, QRandomGenerator& random);
