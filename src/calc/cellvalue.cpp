#include "calc/cellvalue.h"

#include "calc/numbertext.h"

CellValue CellValue::fromNumber(double number)
{
    CellValue v;
    v.m_isNumber = true;
    v.m_number = number;
    v.m_text = gridNumberText(number, v.m_textNumber);
    v.m_readable = true;
    return v;
}

CellValue CellValue::fromText(const QString& text)
{
    CellValue v;
    v.m_text = text;
    if (const auto n = readFormulaNumber(text)) {
        v.m_textNumber = *n;
        v.m_readable = true;
    }
    return v;
}
