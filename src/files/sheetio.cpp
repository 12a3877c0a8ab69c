#include "files/sheetio.h"

#include "files/bookreader.h"
#include "files/bookwriter.h"
#include "files/codepage.h"
#include "files/sheetformat.h"
#include "model/gridstate.h"
#include "model/sheetmodel.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

bool isSheetFilePath(const QString& path)
{
    return path.endsWith(QLatin1String("zel"));
}

bool hasOpenableEnding(QStringView path)
{
    return path.endsWith(QLatin1String("zel")) || path.endsWith(QLatin1String("txt")) ||
           path.endsWith(QLatin1String("csv")) || path.endsWith(QLatin1String("xlsx"));
}

QString comparablePath(const QString& path)
{
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath(); // empty when the file does not exist
    return canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
}

void enterStoredAgain(SheetModel& sheet, int rows, int cols)
{
    GridState& grid = sheet.grid();
    for (int r = 1; r <= rows; ++r) {
        for (int c = 1; c <= cols; ++c) {
            grid.setCurrent(r, c);
            sheet.enter(sheet.exWithoutMoving(r, c));
        }
    }
}

bool savesLayout(const QString& path)
{
    return isSheetFilePath(path) || isBookPath(path);
}

FileCheck checkSheetFile(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists()) {
        return FileCheck::Missing;
    }
    if (!info.isFile()) {
        return FileCheck::NotAFile; // a folder, a device, a pipe: nothing to read as a sheet
    }
    return info.size() > MaxSheetFileSize ? FileCheck::TooLarge : FileCheck::Readable;
}

LoadResult loadSheetText(const QString& text, SheetModel& sheet)
{
    LoadResult result;
    result.read = true;
    const SheetText file = parseSheetText(text);
    GridState& grid = sheet.grid();
    const QuietGrid quiet(grid);

    // First pass: each field into its cell, through the same entry as typing.
    int rows = 0;
    int cols = 1;
    for (const QStringList& fields : file.rows) {
        ++rows;
        cols = int(std::min<qsizetype>(fields.size(), LastCol + 1));
        if (rows > LastRow || fields.size() > LastCol) {
            result.overflow = true;
        }
        if (rows > LastRow) {
            continue;
        }
        for (int j = 0; j < fields.size() && j < LastCol; ++j) {
            grid.setCurrent(rows, j + 1);
            sheet.enter(fields[j]);
        }
    }
    // Second pass over the rows read and the last line's columns.
    enterStoredAgain(sheet, std::min(rows, LastRow), std::min(cols, LastCol));

    if (file.hasTrailer) {
        SheetLayout layout = sheet.layout();
        int widths[LastCol];
        std::copy(layout.ColWidths.begin() + 1, layout.ColWidths.end(), widths);
        readTrailer(file.trailer, widths, layout.DisplayScale);
        std::copy(std::begin(widths), std::end(widths), layout.ColWidths.begin() + 1);
        sheet.applyLayout(layout);
        result.layout = layout;
    }
    // Loading visited every cell; typing afterwards lands in A1, not in the last cell read.
    grid.home();
    return result;
}

LoadResult loadSheetFile(const QString& path, SheetModel& sheet)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        return {};
    }
    if (isBook(bytes)) {
        const std::optional<BookContent> book = readBook(bytes);
        return book ? loadBookContent(*book, sheet) : LoadResult();
    }
    if (isForeignContainer(bytes) || isBookPath(path)) {
        return {};
    }
    return loadSheetText(decodeFileText(bytes, isSheetFilePath(path)), sheet);
}

void enterStoredCells(SheetModel& sheet, const std::vector<StoredCell>& cells,
                      const SheetLayout& layout)
{
    GridState& grid = sheet.grid();
    const QuietGrid quiet(grid);
    for (const StoredCell& cell : cells) {
        grid.setCurrent(cell.row, cell.col);
        sheet.enter(cell.expression);
    }
    const auto [rows, cols] = sheet.usedExtent();
    enterStoredAgain(sheet, rows, cols);
    sheet.applyLayout(layout);
    grid.home();
}

LoadResult loadBookContent(const BookContent& book, SheetModel& sheet)
{
    LoadResult result;
    result.read = true;
    result.overflow = book.overflow;
    result.valuesForFormulas = book.valuesForFormulas;
    result.textsLikeFormulas = book.textsLikeFormulas;
    enterStoredCells(sheet, book.cells, book.layout);
    result.layout = book.layout;
    return result;
}

namespace {

int firstUnencodable(const SheetModel& sheet, int row, int lastCol)
{
    for (int c = 1; c < lastCol; ++c) {
        if (!encodeCp932(sheet.exWithoutMoving(row, c))) {
            return c;
        }
    }
    return lastCol;
}

} // namespace

QByteArray sheetFileBytes(const SheetModel& sheet, bool trailer, SaveResult& result)
{
    result = SaveResult();
    const auto [lastRow, lastCol] = sheet.usedExtent();
    QByteArray out;
    out.reserve(lastRow * lastCol * 8);
    QString line;
    for (int r = 1; r <= lastRow; ++r) {
        line.clear(); // keeps its room for the next row
        for (int c = 1; c <= lastCol; ++c) {
            const QString& text = sheet.exWithoutMoving(r, c);
            // A one-column line holding 00.00 would read back as the marker line and end the
            // cells there; unquoted, it reads back as the same text.
            if (lastCol == 1 && text == QLatin1String("00.00")) {
                line += text;
            } else {
                appendQuotedField(line, text);
            }
            if (c < lastCol) {
                line += QLatin1Char(',');
            }
        }
        // Code page 932 is stateless and the separators are ASCII, so a row encodes exactly
        // when each of its fields does; only a refused row is looked at field by field.
        const std::optional<QByteArray> bytes = encodeCp932(line);
        if (!bytes) {
            result.status = SaveResult::Status::Unencodable;
            result.row = r;
            result.col = firstUnencodable(sheet, r, lastCol);
            return {};
        }
        out += *bytes;
        out += "\r\n";
    }
    if (trailer) {
        out += "\"00.00\"\r\n";
        const SheetLayout layout = sheet.layout();
        for (int c = 1; c <= LastCol; ++c) {
            out += QByteArray::number(layout.ColWidths[size_t(c)]) + "\r\n";
        }
        out += QString::number(double(layout.DisplayScale)).toLatin1() + "\r\n";
    }
    return out;
}

SaveResult saveSheetFile(const QString& path, const SheetModel& sheet)
{
    SaveResult result;
    QByteArray bytes;
    if (isBookPath(path)) {
        const std::optional<QByteArray> book = bookFileBytes(path, sheet);
        if (!book) {
            result.status = SaveResult::Status::WriteFailed;
            return result;
        }
        bytes = *book;
    } else {
        bytes = sheetFileBytes(sheet, isSheetFilePath(path), result);
        if (result.status != SaveResult::Status::Saved) {
            return result;
        }
    }
    QSaveFile file(path);
    // The flush before commit catches a full disk, which commit alone does not report.
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.flush() ||
        !file.commit()) {
        result.status = SaveResult::Status::WriteFailed;
    }
    return result;
}
