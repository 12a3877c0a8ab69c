#pragma once

#include "chart/chartview.h"

#include <QWidget>

// The chart window グラフ: an ordinary top-level window holding the chart control chtGraph,
// a snapshot of the cells taken when it opened. Closing it destroys it.
class frmChart : public QWidget
{
    Q_OBJECT

public:
    frmChart(const ChartData& data, const ChartStyle& style, QWidget* owner);

    ChartView* chtGraph = nullptr;
};
