#pragma once

#include <QtGlobal>
#include <array>
#include <optional>

// The sizes and colours of a sheet, in one place. Sizes are twips (1/1440 inch) at display size
// 100 ％; colours are 0xRRGGBB, so that this header needs no more than QtCore.

// The heading column, each data column and every row.
constexpr int DefaultHeadingWidth = 600;
constexpr int DefaultColumnWidth = 1200;
constexpr int DefaultRowHeight = 360;

// The three display sizes: the scale of column widths, the grid font in points and the height
// of every row.
struct DisplaySize
{
    float scale;
    int fontSize;
    int rowHeight;
};
constexpr DisplaySize Size75{0.75f, 9, 270};
constexpr DisplaySize Size100{1.0f, 12, DefaultRowHeight};
constexpr DisplaySize Size125{1.25f, 16, 450};
constexpr std::array<DisplaySize, 3> DisplaySizes{Size75, Size100, Size125};

// The display size of a scale; nothing for any other scale, which would resize a sheet to a
// size the program cannot show or set back.
constexpr std::optional<DisplaySize> displaySizeOf(double scale)
{
    for (const DisplaySize& size : DisplaySizes) {
        if (scale == double(size.scale)) {
            return size;
        }
    }
    return std::nullopt;
}

inline bool isDisplayScale(double scale)
{
    return displaySizeOf(scale).has_value();
}

// The family of the grid's font, a proportional Japanese Gothic; where it is not installed the
// windows take the next of their choice. Books name it as their cells' font.
constexpr char GridFontFamily[] = "IPAPGothic";

// The headings and the sheet window's own background, light blue; the selected cells; the
// area beyond the last cell and the lines between data cells; the lines between headings.
constexpr quint32 HeadingColour = 0xC0C0FF;
constexpr quint32 SelectionColour = 0x8080FF;
constexpr quint32 BeyondColour = 0xC0C0C0;
constexpr quint32 HeadingLineColour = 0x8080A0;
