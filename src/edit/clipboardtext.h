#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The text a block of cells makes on the clipboard, as other programs exchange it: a line per
// row, the cells of a row separated by tabs. A cell that holds a tab, a line break or a double
// quote stands in double quotes with its inner quotes doubled, so it stays one cell.
using BlockRows = QList<QStringList>;

// Rows joined by LF, the platform's line end for texts; no line end after the last row.
QString clipboardText(const BlockRows& rows);

// Rows end at CR LF, CR or LF; a line end at the very end makes no further row. A field is
// quoted only when it begins with a double quote and its closing quote (one not doubled) is
// followed by a tab, a line end or the end of the text: then it may run over line ends, keeps
// each as one LF and reads doubled quotes as one. Any other field is taken as it stands, so
// "Hello" he said keeps its quotes.
BlockRows parseClipboardText(QStringView text);
