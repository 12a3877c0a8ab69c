#pragma once

#include "model/sheetmodel.h"

#include <QByteArray>
#include <QString>
#include <optional>
#include <vector>

// Books (.xlsx) as other spreadsheets write them, read into what a sheet file holds: the
// expressions of the first worksheet's cells A1 to Z500 and its layout.

// A book is a zip holding xl/workbook.xml, whatever its name. The test looks at the bytes only.
bool isBook(const QByteArray& bytes);

// Bytes no sheet file or CSV is made of: a zip that is no book, or an OLE file such as an
// encrypted book.
bool isForeignContainer(const QByteArray& bytes);

// The most bytes a book may inflate to, all its parts together, before reading is refused as a
// zip bomb; declared sizes are not trusted. A full sheet's book inflates to a few megabytes.
inline constexpr qint64 MaxBookInflated = 64 * 1024 * 1024;

struct BookContent
{
    using Cell = StoredCell;
    std::vector<Cell> cells; // in the order the book holds them
    SheetLayout layout;
    // Cells beyond Z500, or further worksheets, were left out.
    bool overflow = false;
    // Formulas this program does not know (or that read a date), entered as their value.
    int valuesForFormulas = 0;
    // Texts that begin with "=", entered as they stand and so taken as formulas.
    int textsLikeFormulas = 0;
};

// Nothing when the bytes are a damaged book or no book at all.
std::optional<BookContent> readBook(const QByteArray& bytes);

// A date serial as the date text a cell shows, yyyy/mm/dd, in the 1900 date system (with its
// 29 February 1900) or the 1904 one; nothing for a serial that is no date.
std::optional<QString> bookDateText(double serial, bool from1904);

// Whether a number format shows a date: the built-in date formats (14–17, 22, 27–36, 50–58),
// or a format code that holds y, d, 年, 日, g or e once quoted text, escapes and brackets are
// taken out. Time formats (18–21, 45–47) show no date.
bool isDateFormat(int id, const QString& code);

// A column width in characters of the book's default font as twips, by that font's widest
// digit in pixels at 96 dots per inch.
int bookWidthToTwips(double width, int digitPixels);
