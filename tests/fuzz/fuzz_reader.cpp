// Any bytes as a sheet file or CSV: loading never crashes, and whatever loaded is written and
// read back to the same expressions, unless a text cannot be written in Shift-JIS (then
// nothing is written).
#include "files/codepage.h"
#include "files/sheetio.h"
#include "model/standalonesheet.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace {

// Two sheets for the whole run: a fresh sheet is a megabyte of cells to allocate and clear,
// which would cost far more than reading an input. After each input the cells it wrote and the
// layout go back to those of a new sheet.
StandaloneSheet& sheet(int which)
{
    static StandaloneSheet sheets[2];
    return sheets[which];
}

void clear(StandaloneSheet& s, bool hadLayout)
{
    const auto [lastRow, lastCol] = s.model.usedExtent();
    for (int r = 1; r <= lastRow; ++r) {
        for (int c = 1; c <= lastCol; ++c) {
            s.model.setEx(r, c, QString());
            s.model.setExVal(r, c, CellValue());
            s.grid.setTextAt(r, c, QString());
        }
    }
    if (hadLayout) {
        s.model.applyLayout(SheetLayout());
    }
    s.grid.setCurrent(1, 1);
}

LoadResult load(StandaloneSheet& s, const QString& text)
{
    return loadSheetText(text, s.model);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0) {
        return 0;
    }
    const bool sheetFile = data[0] & 1;
    const QByteArray bytes(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    StandaloneSheet& first = sheet(0);
    StandaloneSheet& second = sheet(1);
    const bool firstLayout = load(first, decodeFileText(bytes, sheetFile)).layout.has_value();

    SaveResult result;
    const QByteArray written = sheetFileBytes(first.model, sheetFile, result);
    if (result.status != SaveResult::Status::Saved) {
        if (!written.isEmpty()) {
            std::abort(); // a refused save must write nothing
        }
        clear(first, firstLayout);
        return 0;
    }
    const bool secondLayout = load(second, decodeCp932(written)).layout.has_value();
    const auto [firstRows, firstCols] = first.model.usedExtent();
    const auto [secondRows, secondCols] = second.model.usedExtent();
    for (int r = 1; r <= std::max(firstRows, secondRows); ++r) {
        for (int c = 1; c <= std::max(firstCols, secondCols); ++c) {
            if (first.model.exWithoutMoving(r, c) != second.model.exWithoutMoving(r, c)) {
                std::abort();
            }
        }
    }
    clear(first, firstLayout);
    clear(second, secondLayout);
    return 0;
}
