#pragma once

#include "calc/cellvalue.h"

// The sheet as the engine sees it: rows 1..LastRow and columns 1..LastCol (A..Z), see
// sheetsize.h.
class CellSource
{
public:
    virtual ~CellSource() = default;

    // The stored value of a cell. On a sheet this read also makes the cell the grid's current
    // cell, which is why the range sum takes the current cell as the formula's own.
    virtual const CellValue& cellValue(int row, int col) = 0;
    virtual int currentRow() const = 0;
    virtual int currentCol() const = 0;
};
