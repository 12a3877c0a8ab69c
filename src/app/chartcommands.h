#pragma once

#include "chart/chartstyle.h"

#include <QPointer>

class frmChart;
class frmChartSel;
class frmZel;

// The Graph menu: the block to chart, the chart dialog, the chart window and its print.
class ChartCommands
{
public:
    explicit ChartCommands(frmZel& window) : m_window(window) {}
    ~ChartCommands();

    void mnuGraphShow_Click();
    void mnuGraphPrint_Click();

    // The chart's block as selected when 表示 was chosen (corners as the grid had them), and
    // the choices of the chart dialog.
    int GraphRow = 0;
    int GraphRowSel = 0;
    int GraphCol = 0;
    int GraphColSel = 0;
    int GraphType = 3;
    bool GraphLine() const { return isLineChart(chartTypeOfNumber(GraphType)); }
    bool GraphMono = false;

    frmChartSel* chartSel() const { return m_chartSel; }
    frmChart* chart() const;
    // The chart window is open.
    bool GraphShown() const { return chart() != nullptr; }

private:
    // OK in the chart dialog.
    void cmdGOK_Click();

    frmZel& m_window;
    frmChartSel* m_chartSel = nullptr; // a child of the main window, hidden between uses
    QPointer<frmChart> m_chart;        // gone when the user closes it
};
