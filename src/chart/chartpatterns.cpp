#include "chart/chartpatterns.h"

#include <QImage>

QPen dashPen(int style)
{
    static const Qt::PenStyle styles[] = {Qt::SolidLine, Qt::DashLine, Qt::DotLine, Qt::DashDotLine,
                                          Qt::DashDotDotLine};
    QPen pen(Qt::black, 2);
    pen.setCapStyle(Qt::FlatCap);
    if (style >= 1 && style <= 5) {
        pen.setStyle(styles[style - 1]);
    } else if (style == 6) {
        pen.setDashPattern({8, 3}); // long dashes
    } else if (style == 7) {
        pen.setDashPattern({5, 2, 1, 2, 1, 2, 1, 2}); // dash and three dots
    } else {
        pen.setDashPattern({1, 5}); // sparse dots
    }
    return pen;
}

namespace {

// A black-on-white texture from rows of an 8 × 8 bitmap ('#' black).
QBrush texture(const char* const rows[8])
{
    QImage image(8, 8, QImage::Format_RGB32);
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            image.setPixel(x, y, rows[y][x] == '#' ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
        }
    }
    return QBrush(image);
}

} // namespace

QBrush patternBrush(int pattern)
{
    static const Qt::BrushStyle styles[] = {
        Qt::Dense1Pattern,   Qt::Dense2Pattern, Qt::Dense3Pattern, Qt::Dense4Pattern,
        Qt::Dense5Pattern,   Qt::Dense6Pattern, Qt::Dense7Pattern, Qt::HorPattern,
        Qt::VerPattern,      Qt::CrossPattern,  Qt::BDiagPattern,  Qt::FDiagPattern,
        Qt::DiagCrossPattern};
    if (pattern >= 1 && pattern <= 13) {
        return QBrush(Qt::black, styles[pattern - 1]);
    }
    static const char* const checker[8] = {"####....", "####....", "####....", "####....",
                                           "....####", "....####", "....####", "....####"};
    static const char* const bricks[8] = {"########", "#.......", "#.......", "#.......",
                                          "########", "....#...", "....#...", "....#..."};
    static const char* const dots[8] = {"........", ".##.....", ".##.....", "........",
                                        "........", ".....##.", ".....##.", "........"};
    static const char* const waves[8] = {"#.......", ".#.....#", "..#...#.", "...#.#..",
                                         "....#...", "........", "........", "........"};
    switch (pattern) {
    case 14:
        return texture(checker);
    case 15:
        return texture(bricks);
    case 16:
        return texture(dots);
    default:
        return texture(waves);
    }
}

QColor seriesColour(int series)
{
    static const QColor colours[] = {
        QColor(0, 114, 189),  QColor(217, 83, 25),  QColor(237, 177, 32), QColor(126, 47, 142),
        QColor(119, 172, 48), QColor(77, 190, 238), QColor(162, 20, 47),  QColor(90, 90, 90)};
    return colours[series % 8];
}
