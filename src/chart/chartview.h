#pragma once

#include "chart/chartdata.h"
#include "chart/chartstyle.h"

#include <QWidget>

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
