// Any bytes as a sheet file or CSV: loading never crashes, and whatever loaded is written and
// read back to the same expressions, unless a text cannot be written in Shift-JIS (then
// nothing is written).
#include "codepage.h"
#include "sheetio.h"
#include "standalonesheet.h"

#include <cstdint>
#include <cstdlib>
#include <memory>

namespace {

using Sheet = StandaloneSheet;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0) {
        return 0;
    }
    const bool sheetFile = data[0] & 1;
    const QByteArray bytes(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    auto first = std::make_unique<Sheet>();
    if (const LoadResult loaded = loadSheetText(decodeFileText(bytes, sheetFile), first->model, first->layout);
        loaded.layout) {
        first->layout = *loaded.layout;
    }

    SaveResult result;
    const QByteArray written = sheetFileBytes(first->model, sheetFile, first->layout.DisplayScale, result);
    if (result.status != SaveResult::Status::Saved) {
        if (!written.isEmpty()) {
            std::abort(); // a refused save must write nothing
        }
        return 0;
    }
    auto second = std::make_unique<Sheet>();
    loadSheetText(decodeCp932(written), second->model, second->layout);
    for (int r = 1; r <= LastRow; ++r) {
        for (int c = 1; c <= LastCol; ++c) {
            if (first->model.expression(r, c) != second->model.expression(r, c)) {
                std::abort();
            }
        }
    }
    return 0;
}
