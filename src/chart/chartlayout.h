#pragma once

#include "chart/chartdata.h"
#include "chart/chartstyle.h"

#include <QFont>
#include <QRectF>
#include <algorithm>

class QFontMetricsF;
class QPaintDevice;

// The font of a chart's text at a size in points.
QFont chartFont(double points, bool bold = false);

// The room left of the plot for a value label of the axis, in the axis font.
double valueLabelRoom(const QFontMetricsF& axisFont);

// Where the parts of a chart lie in an area.
struct ChartLayout
{
    QRectF title;
    QRectF legend;
    QRectF plot;
    QRectF xTitle;
    QRectF yTitle;
};

// The parts of a chart in an area, measured for a device: the title on top, the legend at the
// right, the X axis title below, the Y axis title at the left and the plot in the rest, with
// room for the axis labels.
ChartLayout chartLayout(const ChartData& data, const ChartStyle& style, const QRectF& area,
                        const QPaintDevice* device);

// The geometry of the plot of a chart with series: the front face, a depth up and to the right
// for the oblique view, the value scale from low to high in steps (zero always included) and the
// width of one category's slot.
struct PlotArea
{
    QRectF front;
    bool oblique = false;
    double depth = 0; // of the back wall and the floor
    double low = 0;
    double high = 1;
    double step = 1;
    double slot = 0;

    // The height on the front face of a value.
    double yOf(double value) const
    {
        return front.bottom() - (value - low) / (high - low) * front.height();
    }
    // The depth of the boxes and ribbons, taken from the front face: less than the walls', so
    // they stand clear of the back wall.
    double seriesDepth() const
    {
        return oblique ? std::min(front.width(), front.height()) * 0.08 / 1.08 : 0;
    }
};

// The plot area of the data in the layout's plot rectangle; in an oblique view the front face
// gives up room at the top and the right for the depth.
PlotArea plotArea(const ChartData& data, const QRectF& plot, bool oblique);
