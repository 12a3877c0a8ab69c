#pragma once

class QString;
class SheetGrid;

// A screen reader reads a sheet's grid as a table: 500 rows by 26 columns with the column
// letters and the row numbers as their headers, each cell named by the text it shows and
// described by its address and, for a formula, its expression ("A3 =B2*2"); the current cell is
// the focused cell and the selected block the selection, also told as a notification
// ("B3:C5 選択") each time a block of more than one cell is selected. Cells are found by their
// place and read the sheet when asked, so nothing is built for a cell nobody asks about.

// Makes Qt build the table above for every grid; the grid calls it before it can be asked for.
void installGridAccessibility();

// Tells a listening screen reader a short text about the grid as a notification, which it
// speaks as it appears: the cell Enter moved to, while the editor keeps the focus it had.
void announceNotice(SheetGrid& grid, const QString& text);

// Tells a listening screen reader what changed on the grid since it was last told: the
// current cell as the focus (while the grid has the keyboard focus, and always when
// cellTakesFocus), a changed selection, the new text or expression of one cell, or one change
// for a block of many cells. What happened on the way, such as the cells the engine visited,
// is not told. Nothing happens while no screen reader listens.
void announceGridChanges(SheetGrid& grid, bool cellTakesFocus = false);
