// Cost of the sheet's cell accessors as a recalculation uses them: every read through Ex
// moves the grid's current cell, and must stay cheap because nothing repaints.
#include "frmzelchild.h"
#include "gridstate.h"
#include "testhost.h"

#include <QApplication>
#include <benchmark/benchmark.h>

namespace {

// One sweep of the whole 500 × 26 sheet: 13,000 current-cell moves through Ex.
void BM_ExSweepWholeSheet(benchmark::State& state)
{
    TestHost host;
    frmZelChild sheet(host);
    for (int r = 1; r <= 500; r += 7) {
        sheet.setEx(r, 1 + r % 26, QStringLiteral("=A1+1"));
    }
    sheet.resize(800, 600);
    sheet.show();
    QCoreApplication::processEvents();
    for (auto _ : state) {
        int found = 0;
        for (int r = 1; r <= 500; ++r) {
            for (int c = 1; c <= 26; ++c) {
                found += sheet.Ex(r, c).isEmpty() ? 0 : 1;
            }
        }
        benchmark::DoNotOptimize(found);
    }
    state.counters["moves"] = 13000;
    sheet.setCloseAgreed(true);
}
BENCHMARK(BM_ExSweepWholeSheet)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
