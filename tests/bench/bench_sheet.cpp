// A sheet's own costs: the cell accessor that every formula reference goes through (it moves
// the grid's current cell and must stay cheap because nothing repaints), entering one cell,
// and recalculating a whole sheet of formulas.
#include "benchsheet.h"
#include "files/recovery.h"
#include "model/gridstate.h"
#include "qtbenchmain.h"
#include "sheet/celleditor.h"
#include "sheet/frmzelchild.h"
#include "sheet/sheetgrid.h"
#include "testhost.h"

#include <QFile>

namespace {

using benchsheet::fillSheet;
using benchsheet::sheetFormula;

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

// Reads a sheet of quoted fields, one row a line, as the benchmark sheet files hold them.
bool fillFromFile(frmZelChild& sheet, const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return false;
    }
    int r = 0;
    for (const QByteArray& line : file.readAll().split('\n')) {
        const QByteArray row = line.trimmed();
        if (row.isEmpty() || ++r > 500) {
            continue;
        }
        const QList<QByteArray> fields = row.mid(1, row.size() - 2).split('"');
        int c = 0;
        for (const QByteArray& field : fields) {
            if (field != ",") {
                sheet.setEx(r, ++c, QString::fromUtf8(field));
            }
        }
    }
    return r > 0;
}

int errorMarkers(frmZelChild& sheet)
{
    int errors = 0;
    for (int r = 1; r <= 500; ++r) {
        for (int c = 1; c <= 26; ++c) {
            errors += sheet.grdZel->state().textAt(r, c).startsWith(QLatin1String("Err")) ? 1 : 0;
        }
    }
    return errors;
}

void runRecalculate(benchmark::State& state, const std::function<bool(frmZelChild&)>& fill)
{
    TestHost host;
    frmZelChild sheet(host);
    sheet.resize(800, 600);
    sheet.show();
    QCoreApplication::processEvents();
    if (!fill(sheet)) {
        state.SkipWithError("no sheet to read");
        return;
    }
    sheet.Recalculate(); // every cell gets its first value
    for (auto _ : state) {
        sheet.Recalculate();
    }
    state.counters["cells"] = 13000;
    state.counters["errors"] = errorMarkers(sheet);
    sheet.setCloseAgreed(true);
}

void BM_RecalculateFullSheet(benchmark::State& state)
{
    runRecalculate(state, [](frmZelChild& sheet) {
        fillSheet(sheet);
        return true;
    });
}
BENCHMARK(BM_RecalculateFullSheet)->Unit(benchmark::kMillisecond);

// The full sheet written by make_sheets.py (ZEL_BENCH_SHEETS names its folder). Its formulas
// give functions whole expressions as arguments, which this program's functions refuse, so
// part of the sheet shows markers; the figure still shows the cost of a full sweep.
void BM_RecalculateFull500File(benchmark::State& state)
{
    const QString dir = qEnvironmentVariable("ZEL_BENCH_SHEETS");
    runRecalculate(state, [&dir](frmZelChild& sheet) {
        return !dir.isEmpty() && fillFromFile(sheet, dir + QStringLiteral("/full500.csv"));
    });
}
BENCHMARK(BM_RecalculateFull500File)->Unit(benchmark::kMillisecond);

// One cell entered as the overlay editor's Enter does it, on a full sheet.
void BM_EnterOneCell(benchmark::State& state)
{
    TestHost host;
    frmZelChild sheet(host);
    sheet.resize(800, 600);
    sheet.show();
    fillSheet(sheet);
    for (int pass = 0; pass < 10 && (pass == 0 || errorMarkers(sheet) > 0); ++pass) {
        sheet.Recalculate(); // the range sums near the top settle after a few passes
    }
    const QString formulas[] = {sheetFormula(250, 8), sheetFormula(250, 4)};
    int i = 0;
    for (auto _ : state) {
        sheet.grdZel->state().setCurrent(250, 8);
        sheet.txtEdit->setText(formulas[i ^= 1]);
        sheet.EnterCell();
    }
    state.counters["errors"] = errorMarkers(sheet);
    sheet.setCloseAgreed(true);
}
BENCHMARK(BM_EnterOneCell)->Unit(benchmark::kMicrosecond);

// What a recovery copy of a full sheet of formulas costs the user-interface thread: the
// snapshot of the cells; the file itself is written on the recovery store's own thread.
void BM_RecoverySnapshot(benchmark::State& state)
{
    TestHost host;
    frmZelChild sheet(host);
    fillSheet(sheet);
    for (auto _ : state) {
        RecoveryCopy copy =
            recoverySnapshot(sheet.model(), QStringLiteral("New-Sheet1"), QString());
        benchmark::DoNotOptimize(copy.cells.data());
        state.PauseTiming();
        copy = RecoveryCopy(); // its release is not the snapshot's cost
        state.ResumeTiming();
    }
    state.counters["cells"] = 13000;
    sheet.setCloseAgreed(true);
}
BENCHMARK(BM_RecoverySnapshot)->Unit(benchmark::kMillisecond);

} // namespace

ZEL_BENCHMARK_MAIN_OFFSCREEN()
