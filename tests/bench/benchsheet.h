#pragma once

// A full sheet of formulas for the benchmarks that work on whole sheets.
#include "benchformulas.h"
#include "sheet/frmzelchild.h"

#include <QString>
#include <algorithm>

namespace benchsheet {

inline void fillSheet(frmZelChild& sheet)
{
    for (int r = 1; r <= 500; ++r) {
        sheet.setEx(r, 1, QString::number(r));
        for (int c = 2; c <= 26; ++c) {
            sheet.setEx(r, c, sheetFormula(r, c));
        }
    }
}

} // namespace benchsheet
