#pragma once

class GridState;

// The three display sizes: scale, grid font size in points, row height in twips.
struct DisplaySize {
    float scale;
    int fontSize;
    int rowHeight;
};
constexpr DisplaySize Size75{0.75f, 9, 270};
constexpr DisplaySize Size100{1.0f, 12, 360};
constexpr DisplaySize Size125{1.25f, 16, 450};

// Resizes a grid from the scale `from` to a display size: the font, every row (headings
// included) to the size's height, every column (heading included) by size ÷ from, in whole
// twips with halves to even, so widths the user changed keep their proportions.
void applyDisplaySize(GridState& grid, float from, const DisplaySize& size);
