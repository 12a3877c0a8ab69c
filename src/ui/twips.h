#pragma once

#include <QWidget>
#include <cmath>

// Twips (1440 to the inch) in a widget's pixels, by the screen's logical resolution; every
// window size and position of the program is given in twips.
inline int twipsToPixels(const QWidget* widget, double twips)
{
    const int dpi = widget->logicalDpiX() > 0 ? widget->logicalDpiX() : 96;
    return int(std::lround(twips * dpi / 1440.0));
}
