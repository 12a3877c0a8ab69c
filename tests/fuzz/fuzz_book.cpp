// Any bytes as a book: reading never crashes or runs away, whatever the zip and its XML hold,
// and whatever it reads enters a sheet as a loaded book does. An input that is not a zip is
// taken as a book's parts (workbook, its relations, the first worksheet, shared strings,
// styles) separated by NUL bytes, put into a zip here, so that the XML is what gets mutated.
#include "files/bookreader.h"
#include "files/sheetio.h"
#include "model/standalonesheet.h"

#include <cstdint>
#include <cstdio>
#include <zip.h>

namespace {

// The parts as an uncompressed zip, as a book holds them.
QByteArray bookOfParts(const QByteArray& input)
{
    static const char* const names[] = {"xl/workbook.xml", "xl/_rels/workbook.xml.rels",
                                        "xl/worksheets/sheet1.xml", "xl/sharedStrings.xml",
                                        "xl/styles.xml"};
    const QList<QByteArray> parts = input.split('\0');
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* buffer = zip_source_buffer_create(nullptr, 0, 0, &error);
    zip_error_fini(&error);
    if (!buffer) {
        return {};
    }
    zip_source_keep(buffer);
    QByteArray out;
    if (zip_t* archive = zip_open_from_source(buffer, ZIP_TRUNCATE, nullptr)) {
        for (qsizetype i = 0; i < parts.size() && i < qsizetype(std::size(names)); ++i) {
            zip_source_t* part =
                zip_source_buffer(archive, parts[i].constData(), zip_uint64_t(parts[i].size()), 0);
            const zip_int64_t index =
                part ? zip_file_add(archive, names[i], part, ZIP_FL_OVERWRITE) : -1;
            if (index < 0) {
                zip_source_free(part);
            } else {
                zip_set_file_compression(archive, zip_uint64_t(index), ZIP_CM_STORE, 0);
            }
        }
        if (zip_close(archive) != 0) {
            zip_discard(archive);
        } else if (zip_source_open(buffer) == 0) {
            char chunk[65536];
            zip_int64_t got = 0;
            while ((got = zip_source_read(buffer, chunk, sizeof chunk)) > 0) {
                out.append(chunk, qsizetype(got));
            }
            zip_source_close(buffer);
        }
    }
    zip_source_free(buffer);
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    if (!bytes.startsWith("PK")) {
        bytes = bookOfParts(bytes);
    }
    if (!isBook(bytes)) {
        return 0;
    }
    const std::optional<BookContent> book = readBook(bytes);
    if (!book) {
        return 0;
    }
    for (const BookContent::Cell& cell : book->cells) {
        if (cell.row < 1 || cell.row > LastRow || cell.col < 1 || cell.col > LastCol) {
            std::abort(); // only cells of the sheet are read
        }
    }
    static StandaloneSheet sheet; // a fresh sheet is a megabyte of cells; one serves every input
    if (loadBookContent(*book, sheet.model).read) {
        for (const BookContent::Cell& cell : book->cells) {
            sheet.model.setEx(cell.row, cell.col, QString());
        }
    }
    return 0;
}
