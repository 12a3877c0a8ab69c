#pragma once

#include "model/sheetmodel.h"

#include <QString>
#include <optional>

// Reading a file into a sheet and writing a sheet to a file, as the open and save commands
// do; the windows around them are the main window's business.

// A path whose last three characters are exactly "zel" is a sheet file with a layout trailer.
bool isSheetFilePath(const QString& path);

// Whether a save to this path keeps the column widths and the display size: a sheet file or a
// book. CSV keeps the cells alone.
bool savesLayout(const QString& path);

// The open commands take only names that end in "zel", "txt", "csv" or "xlsx".
bool hasOpenableEnding(QStringView path);

// A path as two names of one file compare equal: absolute and clean, with symbolic links
// resolved where the file exists. Compared exactly, case and all.
QString comparablePath(const QString& path);

// The largest sheet file or CSV the program opens: every sheet it can save is far smaller, and
// reading one this size stays well under a second.
inline constexpr qint64 MaxSheetFileSize = 16 * 1024 * 1024;

// What a file is, as the open commands see it before reading: only a regular file of at most
// MaxSheetFileSize bytes is read.
enum class FileCheck { Readable, Missing, NotAFile, TooLarge };
FileCheck checkSheetFile(const QString& path);

struct LoadResult
{
    bool read = false;     // false: the file could not be read, nothing was loaded
    bool overflow = false; // rows beyond 500 or fields beyond column 26 were left out
    // The layout a sheet file's trailer or a book gave, as read, already applied to the sheet.
    // Nothing for a file without a trailer.
    std::optional<SheetLayout> layout;
    // A book: formulas this program does not know, entered as their values, and texts that
    // begin with "=", entered as they stand.
    int valuesForFormulas = 0;
    int textsLikeFormulas = 0;
};

// Fills a sheet from a file's text: every field entered in a first pass line by line, then
// every cell of the rows read and of as many columns as the last line has fields entered
// again, so formulas see the cells loaded after them; then the layout trailer, whose missing
// values keep those the sheet had. Drawing and highlight are off meanwhile; at the end
// A1 is the current cell, in view at the top left.
LoadResult loadSheetText(const QString& text, SheetModel& sheet);
// A file is a book by what it holds (a zip with xl/workbook.xml), whatever its name, and is then
// read as one: its cells entered, then entered again, then its layout. A damaged book, another
// zip or an OLE file, and a name ending in "xlsx" that holds no book, are not read.
LoadResult loadSheetFile(const QString& path, SheetModel& sheet);

// Fills an empty sheet with stored cells as reading a file does: every cell entered in order,
// then all entered again so formulas see the cells after them; then the layout; A1 current at
// the end. Drawing and highlight are off meanwhile.
void enterStoredCells(SheetModel& sheet, const std::vector<StoredCell>& cells,
                      const SheetLayout& layout);

// Fills a sheet from a book as a file is read (enterStoredCells).
struct BookContent;
LoadResult loadBookContent(const BookContent& book, SheetModel& sheet);

// Enters every cell of rows × cols again as it stands, row by row, so that formulas see the
// cells entered after them.
void enterStoredAgain(SheetModel& sheet, int rows, int cols);

struct SaveResult
{
    enum class Status { Saved, Unencodable, WriteFailed };
    Status status = Status::Saved;
    // Unencodable: the first cell whose text code page 932 cannot hold.
    int row = 0;
    int col = 0;
};

// The bytes of the file: the cell rectangle from A1 to the last used row and column, every
// field quoted, CR LF line ends, code page 932; with the trailer (the widths ÷ the sheet's
// display size, that size) when asked. Empty when a cell cannot be written; unencodable names
// the cell.
QByteArray sheetFileBytes(const SheetModel& sheet, bool trailer, SaveResult& result);

// Writes the sheet to path, replacing the file only once the new one is complete: a book when
// the path ends in "xlsx" in any case, else a sheet file or CSV.
SaveResult saveSheetFile(const QString& path, const SheetModel& sheet);
