#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

class SheetModel;

// What a chart shows: one series per column of the block after the first, named by its text in
// the block's first row; one category per row of the block, the first row included, labelled
// by the block's first column. A number typed as text counts; other text or an empty cell is
// no value.
struct ChartData
{
    QStringList seriesNames;
    QStringList categories;
    std::vector<std::vector<std::optional<double>>> values; // [series][category]

    int seriesCount() const { return int(seriesNames.size()); }
    int categoryCount() const { return int(categories.size()); }
};

// Reads the block between two corners (in either order) from the sheet's stored values; every
// read moves the sheet's current cell, which ends on the last cell read.
ChartData chartData(SheetModel& sheet, int row, int col, int rowSel, int colSel);

// A value label: the value as a whole number, halves away from zero (2.6 shows 3).
QString valueLabel(double value);
