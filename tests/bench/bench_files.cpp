// Reading sheets as the open command does (both passes of entries, the trailer) and writing
// them, in process, on the sheets make_sheets.py writes (ZEL_BENCH_SHEETS names their folder).
#include "sheetio.h"
#include "standalonesheet.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

using Sheet = StandaloneSheet;

QString sheetPath(const char* name)
{
    const QString dir = qEnvironmentVariable("ZEL_BENCH_SHEETS");
    return dir.isEmpty() ? QString() : dir + QLatin1Char('/') + QLatin1String(name);
}

void BM_Load(benchmark::State& state, const char* name)
{
    const QString path = sheetPath(name);
    if (path.isEmpty()) {
        state.SkipWithError("ZEL_BENCH_SHEETS is not set");
        return;
    }
    for (auto _ : state) {
        state.PauseTiming();
        auto sheet = std::make_unique<Sheet>();
        state.ResumeTiming();
        if (!loadSheetFile(path, sheet->model, sheet->layout).read) {
            state.SkipWithError("cannot read the sheet");
            return;
        }
        benchmark::DoNotOptimize(sheet->grid.text(1, 1));
        state.PauseTiming();
        sheet.reset();
        state.ResumeTiming();
    }
}
BENCHMARK_CAPTURE(BM_Load, max55k, "max55k.csv")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Load, full500, "full500.csv")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Load, sjis55k, "sjis55k.csv")->Unit(benchmark::kMillisecond);

void BM_SaveFull500(benchmark::State& state)
{
    const QString path = sheetPath("full500.csv");
    auto sheet = std::make_unique<Sheet>();
    if (path.isEmpty() || !loadSheetFile(path, sheet->model, sheet->layout).read) {
        state.SkipWithError("no sheet to read");
        return;
    }
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("out.zel"));
    for (auto _ : state) {
        if (saveSheetFile(target, sheet->model, 1.0f).status != SaveResult::Status::Saved) {
            state.SkipWithError("cannot write");
            return;
        }
    }
}
BENCHMARK(BM_SaveFull500)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
