#pragma once

// The three display sizes: scale, grid font size in points, row height in twips.
struct DisplaySize {
    float scale;
    int fontSize;
    int rowHeight;
};
constexpr DisplaySize Size75{0.75f, 9, 270};
constexpr DisplaySize Size100{1.0f, 12, 360};
constexpr DisplaySize Size125{1.25f, 16, 450};
