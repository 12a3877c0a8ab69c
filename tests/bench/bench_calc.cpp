// Speed of one evaluation: a short formula, one of the full 255 characters, and a range sum
// over the largest block a sum may take; and the engine's share of recalculating a full sheet.
#include "benchformulas.h"
#include "calc/cellsource.h"
#include "calc/clscal.h"
#include "calc/sheetsize.h"

#include <algorithm>
#include <array>
#include <benchmark/benchmark.h>
#include <vector>

namespace {

class BenchCells : public CellSource
{
public:
    BenchCells()
    {
        for (int r = 1; r <= 500; ++r) {
            for (int c = 1; c <= 26; ++c) {
                // Typed numbers are stored as their text, as on a real sheet.
                cells[r][c] = CellValue::fromText(QString::number(r * 0.5 + c));
            }
        }
    }
    const CellValue& cellValue(int row, int col) override
    {
        m_row = row;
        m_col = col;
        return cells[row][col];
    }
    int currentRow() const override { return m_row; }
    int currentCol() const override { return m_col; }

    std::array<std::array<CellValue, 27>, 501> cells;
    int m_row = 1;
    int m_col = 1;
};

void runFormula(benchmark::State& state, const QString& formula, int ownRow)
{
    BenchCells cells;
    const qint16 digits = 5;
    clsCal cal(digits);
    double value = 0;
    for (auto _ : state) {
        cells.m_row = ownRow;
        cells.m_col = 1;
        const CalcStatus status = cal.Calc(formula, value, cells);
        if (status != CalcStatus::Ok) {
            state.SkipWithError("formula failed");
            break;
        }
        benchmark::DoNotOptimize(value);
    }
}

QString longFormula()
{
    const QString term = QStringLiteral("A1*2+B2/3-SIN(C3)+ABS(D4)*0.5+(E5-F6)^2+");
    QString f;
    while (f.size() + term.size() <= 250) {
        f += term;
    }
    f += QLatin1Char('1');
    while (f.size() < 255) {
        f += QLatin1Char('1');
    }
    return f;
}

void BM_ShortFormula(benchmark::State& state)
{
    runFormula(state, QStringLiteral("A1*2+1"), 300);
}

void BM_Formula255(benchmark::State& state)
{
    const QString f = longFormula();
    state.SetLabel(std::to_string(f.size()) + " chars");
    runFormula(state, f, 300);
}

void BM_SumA1Z200(benchmark::State& state)
{
    runFormula(state, QStringLiteral("SUM(A1:Z200)"), 300);
}

// One recalculation sweep of a full sheet without a window: every formula evaluated in row
// order and its value stored as the sheet stores it, so later formulas read it.
void BM_FullSheetFormulas(benchmark::State& state)
{
    BenchCells cells;
    std::vector<QString> formulas(size_t(LastRow + 1) * (LastCol + 1));
    for (int r = 1; r <= LastRow; ++r) {
        cells.cells[r][1] = CellValue::fromText(QString::number(r));
        for (int c = 2; c <= LastCol; ++c) {
            formulas[size_t(r) * (LastCol + 1) + c] =
                benchsheet::sheetFormula(r, c).mid(1); // as the engine receives it
        }
    }
    const qint16 digits = 5;
    clsCal cal(digits);
    int errors = 0;
    const auto sweep = [&] {
        errors = 0;
        for (int r = 1; r <= LastRow; ++r) {
            for (int c = 2; c <= LastCol; ++c) {
                cells.m_row = r;
                cells.m_col = c;
                double value = 0;
                if (cal.Calc(formulas[size_t(r) * (LastCol + 1) + c], value, cells) ==
                    CalcStatus::Ok) {
                    cells.cells[r][c] = CellValue::fromNumber(value);
                } else {
                    ++errors;
                }
            }
        }
    };
    sweep(); // every cell gets its first value
    for (auto _ : state) {
        sweep();
    }
    if (errors != 0) {
        state.SkipWithError("formulas failed");
    }
    state.counters["formulas"] = LastRow * (LastCol - 1);
}

} // namespace

BENCHMARK(BM_ShortFormula);
BENCHMARK(BM_Formula255);
BENCHMARK(BM_SumA1Z200);
BENCHMARK(BM_FullSheetFormulas)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
