#include "chart/chartdata.h"

#include "calc/numbertext.h"
#include "model/sheetmodel.h"

#include <algorithm>
#include <cmath>

ChartData chartData(SheetModel& sheet, int row, int col, int rowSel, int colSel)
{
    const int top = std::min(row, rowSel);
    const int bottom = std::max(row, rowSel);
    const int left = std::min(col, colSel);
    const int right = std::max(col, colSel);
    ChartData data;
    const int series = right - left;
    for (int i = 1; i <= series; ++i) {
        data.seriesNames.append(sheet.ExVal(top, left + i).text());
    }
    data.values.assign(size_t(series), {});
    for (int r = top; r <= bottom; ++r) {
        data.categories.append(sheet.ExVal(r, left).text());
        for (int i = 1; i <= series; ++i) {
            const CellValue& value = sheet.ExVal(r, left + i);
            // Typed numbers are stored as their text, read as loosely as the grid aligns them;
            // other text is no value.
            std::optional<double> number;
            if (value.isNumber()) {
                number = value.number();
            } else if (const auto fromText = readNumber(value.text())) {
                number = *fromText;
            }
            data.values[size_t(i - 1)].push_back(number);
        }
    }
    return data;
}

QString valueLabel(double value)
{
    const double rounded = std::round(value);
    return QString::number(rounded == 0 ? 0.0 : rounded, 'f', 0);
}
