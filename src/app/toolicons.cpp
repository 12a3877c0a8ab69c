#include "app/toolicons.h"

#include <QPainter>
#include <QPixmap>

namespace {

QPixmap drawnIcon(const QString& glyph, const QColor& back, int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(back);
    p.setPen(back.darker(140));
    p.drawRoundedRect(QRectF(1, 1, size - 2, size - 2), size / 6.0, size / 6.0);
    QFont font;
    font.setPixelSize(size * 5 / 8);
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(pixmap.rect(), Qt::AlignCenter, glyph);
    return pixmap;
}

} // namespace

QIcon toolIcon(const QString& themeName, const QString& caption)
{
    if (QIcon::hasThemeIcon(themeName)) {
        return QIcon::fromTheme(themeName);
    }
    QIcon icon;
    for (int size : {16, 24, 32}) {
        icon.addPixmap(drawnIcon(caption.left(1), QColor(96, 96, 200), size));
    }
    return icon;
}

QIcon applicationIcon()
{
    QIcon icon;
    for (int size : {16, 32, 48, 64}) {
        icon.addPixmap(drawnIcon(QStringLiteral("表"), QColor(96, 96, 200), size));
    }
    return icon;
}
