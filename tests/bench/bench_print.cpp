// The print page of a 100 × 26 block of formulas: the half-size preview image, and printing it
// to a PDF file through QPrinter.
#include "benchsheet.h"
#include "model/gridstate.h"
#include "print/printrange.h"
#include "qtbenchmain.h"
#include "sheet/sheetgrid.h"
#include "testhost.h"

#include <QPainter>
#include <QPrinter>
#include <QTemporaryDir>

namespace {

struct Block
{
    Block() : sheet(host)
    {
        benchsheet::fillSheet(sheet);
        for (int pass = 0; pass < 4; ++pass) {
            sheet.Recalculate();
        }
        GridState& grid = sheet.grdZel->state();
        grid.setCurrent(1, 1);
        grid.setRowSel(100);
        grid.setColSel(26);
    }
    ~Block() { sheet.setCloseAgreed(true); }

    TestHost host;
    frmZelChild sheet;
};

void BM_Preview100x26(benchmark::State& state)
{
    Block block;
    QPrinter printer(QPrinter::HighResolution);
    const PageTwips page = pageTwips(printer);
    for (auto _ : state) {
        benchmark::DoNotOptimize(previewPage(block.sheet.grdZel->state(), page, 96));
    }
}
BENCHMARK(BM_Preview100x26)->Unit(benchmark::kMillisecond);

void BM_PrintPdf100x26(benchmark::State& state)
{
    Block block;
    QTemporaryDir dir;
    for (auto _ : state) {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir.filePath(QStringLiteral("page.pdf")));
        QPainter painter(&printer);
        paintPage(painter, block.sheet.grdZel->state(), printer.resolution());
        painter.end();
    }
}
BENCHMARK(BM_PrintPdf100x26)->Unit(benchmark::kMillisecond);

} // namespace

ZEL_BENCHMARK_MAIN_OFFSCREEN()
