#include "frmchart.h"

#include <QVBoxLayout>
#include <cmath>

frmChart::frmChart(const ChartData& data, const ChartStyle& style, QWidget* owner) : QWidget(owner, Qt::Window)
{
    setObjectName(QStringLiteral("frmChart"));
    setWindowTitle(QStringLiteral("グラフ"));
    setAttribute(Qt::WA_DeleteOnClose);
    chtGraph = new ChartView(this);
    chtGraph->data = data;
    chtGraph->style = style;
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(chtGraph);
    const double dpi = logicalDpiX() > 0 ? logicalDpiX() : 96;
    resize(int(std::lround(8280 * dpi / 1440)), int(std::lround(5850 * dpi / 1440)));
}
