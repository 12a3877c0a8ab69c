// The chart menu: the block to chart, the chart dialog, the chart window and its print.
#include "app/chartcommands.h"

#include "app/frmzel.h"
#include "chart/chartdata.h"
#include "chart/chartstyle.h"
#include "chart/frmchart.h"
#include "chart/frmchartsel.h"
#include "print/printrange.h"
#include "sheet/sheetgrid.h"

#include <QPainter>
#include <QPrinter>
#include <QRandomGenerator>

void ChartCommands::mnuGraphShow_Click()
{
    frmZelChild* sheet = m_window.activeSheet();
    if (!sheet) {
        return;
    }
    const GridState& grid = sheet->grdZel->state();
    GraphRow = grid.Row();
    GraphRowSel = grid.RowSel();
    GraphCol = grid.Col();
    GraphColSel = grid.ColSel();
    if (selectionIsOneCell(grid)) {
        m_window.app().messages().critical(&m_window,
                                           QStringLiteral("グラフ表示範囲を選択してください！"));
        return;
    }
    if (!m_chartSel) {
        m_chartSel = new frmChartSel(&m_window);
        QObject::connect(m_chartSel, &frmChartSel::chartRequested, &m_window,
                         [this] { cmdGOK_Click(); });
    }
    m_chartSel->show();
    m_chartSel->raise();
}

// OK in the chart dialog: the chart of the block on the sheet active now, a snapshot.
void ChartCommands::cmdGOK_Click()
{
    GraphType = m_chartSel->graphType();
    const ChartType type = chartTypeOfNumber(GraphType);
    GraphMono = m_chartSel->graphMono();
    frmZelChild* sheet = m_window.activeSheet();
    if (!sheet || m_chart) {
        return;
    }
    ChartStyle style;
    style.type = type;
    style.mono = GraphMono;
    style.title = m_chartSel->title(0);
    style.xTitle = m_chartSel->title(1);
    style.yTitle = m_chartSel->title(2);
    const ChartData data = chartData(sheet->model(), GraphRow, GraphCol, GraphRowSel, GraphColSel);
    chooseMonoAppearance(style, data.seriesCount(), *QRandomGenerator::global());
    m_chart = new frmChart(data, style, &m_window);
    m_chart->show();
}

// The chart window as an image on the system's default printer, as large as the page allows,
// on a printer object of its own: the file or printer chosen for the sheet is never touched. A
// failure (no printer) is passed over silently.
void ChartCommands::mnuGraphPrint_Click()
{
    if (!m_chart) {
        return;
    }
    const QImage image = m_chart->chtGraph->image(4);
    QPrinter printer(QPrinter::HighResolution);
    usePrintableArea(printer);
    printer.setDocName(m_chart->windowTitle());
    QPainter painter;
    if (!painter.begin(&printer)) {
        return;
    }
    const QRect page = painter.viewport();
    const QSizeF fitted = QSizeF(image.size()).scaled(QSizeF(page.size()), Qt::KeepAspectRatio);
    painter.drawImage(QRectF(QPointF(0, 0), fitted), image);
    painter.end();
}

ChartCommands::~ChartCommands() = default;

frmChart* ChartCommands::chart() const
{
    return m_chart;
}
