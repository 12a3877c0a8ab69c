#include "chart/frmchart.h"

#include "ui/twips.h"

#include <QVBoxLayout>

frmChart::frmChart(const ChartData& data, const ChartStyle& style, QWidget* owner)
    : QWidget(owner, Qt::Window)
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
    resize(twipsToPixels(this, 8280), twipsToPixels(this, 5850));
}
