#pragma once

#include "calc/cellsource.h"

#include <QString>
#include <array>

// A sheet held in memory for engine tests: cells are set by address (" B12"-free form "B12"),
// reads move the current cell as on the real sheet.
class MemoryCells : public CellSource
{
public:
    void setNumber(const QString& address, double number)
    {
        at(address) = CellValue::fromNumber(number);
    }
    void setText(const QString& address, const QString& text)
    {
        at(address) = CellValue::fromText(text);
    }
    void setCurrent(const QString& address)
    {
        m_row = address.mid(1).toInt();
        m_col = address.at(0).unicode() - 64;
    }

    const CellValue& cellValue(int row, int col) override
    {
        m_row = row;
        m_col = col;
        ++reads;
        return m_cells[row][col];
    }
    int currentRow() const override { return m_row; }
    int currentCol() const override { return m_col; }

    int reads = 0;

private:
    CellValue& at(const QString& address)
    {
        return m_cells[address.mid(1).toInt()][address.at(0).unicode() - 64];
    }

    std::array<std::array<CellValue, 27>, 501> m_cells;
    int m_row = 1;
    int m_col = 1;
};
