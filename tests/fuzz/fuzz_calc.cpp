// Random formulas against random cell contents: no crash, no sanitizer report, and every
// evaluation ends in one of the known statuses with a finite value on success.
#include "calc/cellsource.h"
#include "calc/clscal.h"

#include <QString>
#include <QStringList>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace {

class FuzzCells : public CellSource
{
public:
    const CellValue& cellValue(int row, int col) override
    {
        if (row < 1 || row > 500 || col < 1 || col > 26) {
            std::abort(); // the engine must never ask for a cell outside the sheet
        }
        m_row = row;
        m_col = col;
        return row <= 20 ? cells[row][col] : m_empty;
    }
    int currentRow() const override { return m_row; }
    int currentCol() const override { return m_col; }

    std::array<std::array<CellValue, 27>, 21> cells;
    int m_row = 1;
    int m_col = 1;

private:
    CellValue m_empty;
};

} // namespace

// Input: byte 0 sets the decimal places, byte 1 the current cell; then lines. The first line
// is the formula; each further line fills the next cell of A1..Z20, as a number when it
// starts with "#" and reads as one, otherwise as text.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2) {
        return 0;
    }
    const qint16 digits = qint16(int8_t(data[0]) % 24);
    FuzzCells cells;
    cells.m_row = 1 + data[1] % 20;
    cells.m_col = 1 + (data[1] / 20) % 26;
    const QStringList lines =
        QString::fromUtf8(reinterpret_cast<const char*>(data + 2), qsizetype(size - 2))
            .split(QLatin1Char('\n'));
    for (qsizetype i = 1; i < lines.size() && i <= 20 * 26; ++i) {
        const int row = 1 + int((i - 1) % 20);
        const int col = 1 + int((i - 1) / 20);
        const QString& line = lines[i];
        bool ok = false;
        const double n = line.startsWith(QLatin1Char('#')) ? line.mid(1).toDouble(&ok) : 0;
        cells.cells[row][col] =
            ok && std::isfinite(n) ? CellValue::fromNumber(n) : CellValue::fromText(line);
    }

    clsCal cal(digits);
    double value = 0;
    const CalcStatus status = cal.Calc(lines.front(), value, cells);
    if (qint16(status) < 0 || qint16(status) > 8) {
        std::abort();
    }
    if (status == CalcStatus::Ok && !std::isfinite(value)) {
        std::abort();
    }
    // A second evaluation must not depend on anything but its own input.
    double again = 0;
    const CalcStatus second = cal.Calc(lines.front(), again, cells);
    if (second != status && !lines.front().contains(QLatin1String("SUM"))) {
        std::abort();
    }
    return 0;
}
