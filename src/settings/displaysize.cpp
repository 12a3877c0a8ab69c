#include "displaysize.h"

#include "gridstate.h"

#include <cmath>

void applyDisplaySize(GridState& grid, float from, const DisplaySize& size)
{
    grid.setFontSize(size.fontSize);
    const double ratio = double(size.scale) / double(from);
    for (int c = 0; c < grid.Cols(); ++c) {
        grid.setColWidth(c, int(std::nearbyint(grid.ColWidth(c) * ratio)));
    }
    for (int r = 0; r < grid.Rows(); ++r) {
        grid.setRowHeight(r, size.rowHeight);
    }
}
