#pragma once

#include <QBrush>
#include <QColor>
#include <QPen>

// How the series of a chart are told apart: by colour, or in black and white by the dash
// style of a line and the fill pattern of a bar.

// Eight distinguishable black dash styles, numbered 1 to 8.
QPen dashPen(int style);
// Seventeen distinguishable black-on-white patterns, numbered 1 to 17: Qt's thirteen brush
// patterns and four textures of our own.
QBrush patternBrush(int pattern);
// The automatic colour of a series in a colour chart.
QColor seriesColour(int series);
