#pragma once

// A full sheet of formulas for the benchmarks that work on whole sheets.
#include "frmzelchild.h"

#include <QString>
#include <algorithm>

namespace benchsheet {

inline QString ref(int row, int col)
{
    return QChar(char16_t(64 + col)) + QString::number(row);
}

// A formula for every cell from B to Z, with references and every function, each argument a
// single number or cell as functions take them: eight kinds by column, referring to cells
// earlier in the sweep (the few range sums near the top reach a row or two further down),
// so from the second pass on no cell shows an error.
inline QString sheetFormula(int r, int c)
{
    const QString left = ref(r, c - 1);
    const QString left2 = ref(r, std::max(1, c - 2));
    const QString up = r > 1 ? ref(r - 1, c) : left;
    const QString a = ref(r, 1);
    switch ((c - 2) % 8) {
    case 0:
        return QStringLiteral("=%1/2+1").arg(left);
    case 1:
        return QStringLiteral("=SIN(%1)+COS(%2)").arg(left, a);
    case 2: {
        // A range sum covers rows 1 to 200 only.
        const int top = std::max(1, (r - 1) % 198 - 1);
        return QStringLiteral("=SUM(%1:%2)/9").arg(ref(top, std::max(1, c - 3)), ref(top + 2, c - 1));
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
