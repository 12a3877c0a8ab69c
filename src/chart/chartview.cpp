#include "chart/chartview.h"

#include "chart/chartrenderer.h"

#include <QPainter>

ChartView::ChartView(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("chtGraph"));
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ChartView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    ChartRenderer(data, style).paint(painter, rect());
}

QImage ChartView::image(double sharpness) const
{
    QImage out(size() * sharpness, QImage::Format_RGB32);
    out.setDevicePixelRatio(sharpness);
    out.fill(Qt::white);
    QPainter painter(&out);
    ChartRenderer(data, style).paint(painter, QRectF(QPointF(0, 0), QSizeF(size())));
    return out;
}
