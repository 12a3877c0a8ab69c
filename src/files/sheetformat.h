#pragma once

#include "calc/sheetsize.h"

#include <QString>
#include <QStringList>
#include <vector>

// The text of sheet files (.zel) and CSV: lines of quoted fields, then, in a sheet file, the
// layout trailer after the marker line "00.00" in double quotes.

// Lines end at CR, CR LF or LF; a line end at the very end makes no further line. The lines
// are views into the text.
QList<QStringView> splitLines(QStringView text);

// The marker line that starts the layout trailer, as the writer writes it (blanks around it
// allowed). Data such as 100.00 is never taken for it.
bool isMarkerLine(QStringView line);

// The fields of a cell line. A field that begins with a double quote runs to the double quote
// followed by a comma or the line end; two double quotes inside stand for one, and a lone
// double quote followed by anything else stands for itself. Any other field runs to the next
// comma and, if it holds a double quote anywhere, loses its first and last character. A line
// without characters is one empty field. In a whole text (parseSheetText) a quoted field runs
// over line ends to its closing quote, each CR LF or CR in it kept as one LF; one that no quote
// closes before the end of the text runs to the end of its line.
QStringList splitFields(QStringView line);

// Appends text from inside a cell: a CR LF or a CR is a line break, kept as one LF, as the
// program holds line breaks.
void appendWithLineBreaks(QString& field, QStringView text);

// Appends a field as written: between double quotes, an inner double quote doubled.
void appendQuotedField(QString& line, QStringView text);

// What a file holds: its cell rows, split into fields, and the trailer's values when a line
// that starts a row is the marker line.
struct SheetText
{
    std::vector<QStringList> rows;
    bool hasTrailer = false;
    // The values after the marker line, split at line ends and commas.
    QStringList trailer;
};
SheetText parseSheetText(QStringView text);

// The layout values of a trailer: widths for columns 1 to 26, then the scale. A value that is
// missing or not a number leaves its entry as it was; widths are 16-bit, and a scale must be
// one of the display sizes 1, 0.75 and 1.25.
void readTrailer(const QStringList& values, int (&widths)[LastCol], float& scale);
