// The Edit menu's block commands on a whole sheet of formulas, as the main window runs them:
// copy and paste of all 500 × 26 cells (13,000 entries), and cut.
#include "app/frmzel.h"
#include "benchsheet.h"
#include "fakemessages.h"
#include "qtbenchmain.h"
#include "sheet/sheetgrid.h"

#include <QFileInfo>

namespace {

struct Window
{
    Window()
    {
        main.app().setMessages(std::make_unique<FakeMessages>());
        main.app().setFileDialogs(std::make_unique<FakeFileDialogs>());
        main.resize(1000, 700);
        main.show();
        main.mnuFileNew_Click();
        sheet = main.activeSheet();
        benchsheet::fillSheet(*sheet);
        for (int pass = 0; pass < 4; ++pass) {
            sheet->Recalculate();
        }
    }
    ~Window()
    {
        for (frmZelChild* s : main.sheets()) {
            s->setCloseAgreed(true);
        }
    }
    void selectAll()
    {
        GridState& grid = sheet->grdZel->state();
        grid.setCurrent(1, 1);
        grid.setRowSel(500);
        grid.setColSel(26);
    }

    frmZel main;
    frmZelChild* sheet = nullptr;
};

void BM_CopyPasteWholeSheet(benchmark::State& state)
{
    Window w;
    for (auto _ : state) {
        w.selectAll();
        w.main.mnuEditCopy_Click();
        w.sheet->grdZel->state().setCurrent(1, 1);
        w.main.mnuEditPaste_Click();
    }
    state.counters["cells"] = 13000;
}
BENCHMARK(BM_CopyPasteWholeSheet)->Unit(benchmark::kMillisecond);

void BM_CutWholeSheet(benchmark::State& state)
{
    Window w;
    for (auto _ : state) {
        w.selectAll();
        w.main.mnuEditCut_Click();
        state.PauseTiming();
        w.main.mnuEditBack_Click(); // the cells back for the next round
        state.ResumeTiming();
    }
    state.counters["cells"] = 13000;
}
BENCHMARK(BM_CutWholeSheet)->Unit(benchmark::kMillisecond);

// The full sheet of formulas make_sheets.py writes (ZEL_BENCH_SHEETS names its folder), opened
// through File > Open as a user opens it: the checks, a new sheet window, both passes of entries.
void BM_OpenFull500(benchmark::State& state)
{
    const QString dir = qEnvironmentVariable("ZEL_BENCH_SHEETS");
    if (dir.isEmpty()) {
        state.SkipWithError("ZEL_BENCH_SHEETS is not set");
        return;
    }
    const QString path = dir + QStringLiteral("/full500.csv");
    frmZel main;
    main.app().setMessages(std::make_unique<FakeMessages>());
    auto owned = std::make_unique<FakeFileDialogs>();
    FakeFileDialogs* dialogs = owned.get();
    main.app().setFileDialogs(std::move(owned));
    main.resize(1000, 700);
    main.show();
    for (auto _ : state) {
        dialogs->choices.append(FileDialogs::Choice{path, FileFilter::Csv});
        main.mnuFileOpen_Click();
        state.PauseTiming();
        frmZelChild* sheet = main.activeSheet();
        if (!sheet) {
            state.SkipWithError("the sheet did not open");
            return;
        }
        sheet->setCloseAgreed(true);
        delete sheet->parentWidget();
        state.ResumeTiming();
    }
    state.counters["bytes"] = double(QFileInfo(path).size());
}
BENCHMARK(BM_OpenFull500)->Unit(benchmark::kMillisecond);

} // namespace

ZEL_BENCHMARK_MAIN_OFFSCREEN()
