#pragma once

// The formulas of the benchmarks' full sheet, with no window needed.
#include "calc/sheetsize.h"

#include <QString>
#include <algorithm>

namespace benchsheet {

// A formula for every cell from B to Z, with references and every function, each argument a
// single number or cell as functions take them: eight kinds by column, referring to cells
// earlier in the sweep (the few range sums near the top reach a row or two further down),
// so from the second pass on no cell shows an error.
inline QString sheetFormula(int r, int c)
{
    const QString left = cellName(r, c - 1);
    const QString left2 = cellName(r, std::max(1, c - 2));
    const QString up = r > 1 ? cellName(r - 1, c) : left;
    const QString a = cellName(r, 1);
    switch ((c - 2) % 8) {
    case 0:
        return QStringLiteral("=%1/2+1").arg(left);
    case 1:
        return QStringLiteral("=SIN(%1)+COS(%2)").arg(left, a);
    case 2: {
        // A range sum covers rows 1 to 200 only.
        const int top = std::max(1, (r - 1) % 198 - 1);
        return QStringLiteral("=SUM(%1:%2)/9")
            .arg(cellName(top, std::max(1, c - 3)), cellName(top + 2, c - 1));
    }
    case 3:
        return QStringLiteral("=ABS(%1)+SQRT(%2)").arg(left, a);
    case 4:
        return QStringLiteral("=(%1+%2)^2/(1+%1*%1+%2*%2)").arg(left, left2);
    case 5:
        return QStringLiteral("=TAN(%1)*PI()").arg(left);
    case 6:
        return QStringLiteral("=(ABS(%1)+%2)^0.5+%3/(2+SIN(%4))").arg(left, a, up, left2);
    default:
        return QStringLiteral("=(%1+%2)/2-%3/3").arg(left, up, a);
    }
}

} // namespace benchsheet
