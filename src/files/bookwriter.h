#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

class SheetModel;

// Whether a save to this path writes a book: its name ends in "xlsx", in any case, so that a
// book is never turned into CSV under its own name.
bool isBookPath(const QString& path);

// The name of a book's one worksheet, after its file: the characters a sheet name may not hold
// ([]:*?/\) and apostrophes at either end become "_", cut to 31 characters, "Sheet1" if nothing
// is left.
QString bookSheetName(const QString& path);

// The sheet as a book with one worksheet named after path: every used cell as a number (where
// its text is the program's own text of that number), a text, or a formula with the value the
// sheet shows once opened again as its cached result (an error marker as a cached text); the
// column widths and the grid's font at display size 100 ％, and the display size as the zoom.
// Nothing when the library fails.
std::optional<QByteArray> bookFileBytes(const QString& path, const SheetModel& sheet);
