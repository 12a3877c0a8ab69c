// Reading sheets as the open command does (both passes of entries, the trailer) and writing
// them, in process, on the sheets make_sheets.py writes (ZEL_BENCH_SHEETS names their folder).
#include "files/sheetio.h"
#include "model/standalonesheet.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>
#include <sys/resource.h>

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
        if (!loadSheetFile(path, sheet->model).read) {
            state.SkipWithError("cannot read the sheet");
            return;
        }
        benchmark::DoNotOptimize(sheet->grid.textAt(1, 1));
        state.PauseTiming();
        sheet.reset();
        state.ResumeTiming();
    }
}
BENCHMARK_CAPTURE(BM_Load, max55k, "max55k.csv")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Load, full500, "full500.csv")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Load, sjis55k, "sjis55k.csv")->Unit(benchmark::kMillisecond);

// A sheet file as large as the open commands take, of long texts in every cell of the sheet,
// Japanese among them (Shift-JIS): the reading's time and the resident memory it needs.
void BM_LoadTexts16MiB(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("texts.csv"));
    {
        const QByteArray japanese = "\x93\xfa\x96\x7b\x8c\xea"; // 日本語 in Shift-JIS
        const qint64 fieldBytes = MaxSheetFileSize / (LastRow * LastCol) - 4;
        QByteArray field = QByteArray(fieldBytes - japanese.size(), 'x') + japanese;
        QByteArray line;
        for (int c = 1; c <= LastCol; ++c) {
            line += '"' + field + '"' + (c < LastCol ? "," : "\r\n");
        }
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly)) {
            state.SkipWithError("cannot write the sheet");
            return;
        }
        for (int r = 1; r <= LastRow; ++r) {
            file.write(line);
        }
    }
    if (checkSheetFile(path) != FileCheck::Readable) {
        state.SkipWithError("the sheet is over the open commands' bound");
        return;
    }
    for (auto _ : state) {
        auto sheet = std::make_unique<Sheet>();
        if (!loadSheetFile(path, sheet->model).read) {
            state.SkipWithError("cannot read the sheet");
            return;
        }
        benchmark::DoNotOptimize(sheet->grid.textAt(LastRow, LastCol));
        state.PauseTiming();
        sheet.reset();
        state.ResumeTiming();
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["MB"] = double(QFileInfo(path).size()) / (1024 * 1024);
    state.counters["peakRSS_MB"] = double(usage.ru_maxrss) / 1024;
}
BENCHMARK(BM_LoadTexts16MiB)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_Save(benchmark::State& state, const char* name)
{
    const QString path = sheetPath(name);
    auto sheet = std::make_unique<Sheet>();
    if (path.isEmpty() || !loadSheetFile(path, sheet->model).read) {
        state.SkipWithError("no sheet to read");
        return;
    }
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("out.zel"));
    for (auto _ : state) {
        if (saveSheetFile(target, sheet->model).status != SaveResult::Status::Saved) {
            state.SkipWithError("cannot write");
            return;
        }
    }
}
BENCHMARK_CAPTURE(BM_Save, full500, "full500.csv")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Save, sjis55k, "sjis55k.csv")->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
