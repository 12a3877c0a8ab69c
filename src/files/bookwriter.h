#pragma once

#include <QString>

class SheetModel;
struct SaveResult;

// Whether a save to this path writes a book: its name ends in "xlsx", in any case, so that a
// book is never turned into CSV under its own name.
bool isBookPath(const QString& path);

// The name of a book's one worksheet, after its file: the characters a sheet name may not hold
// ([]:*?/\) and apostrophes at either end become "_", cut to 31 characters, "Sheet1" if nothing
// is left.
QString bookSheetName(const QString& path);

// Writes the sheet as a book with one worksheet: every used cell as a number (where its text is
// the program's own text of that number), a text, or a formula with the value the engine
// computed as its cached result (an error marker as a cached text); the column widths at
// display size 100 ％ and the display size as the zoom; the cells in the grid's font. The file
// is replaced only once the whole book is written.
SaveResult saveBook(const QString& path, const SheetModel& sheet);
