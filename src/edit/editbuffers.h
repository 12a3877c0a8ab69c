#pragma once

#include "edit/cellblock.h"

#include <memory>

class SheetModel;

// The program's two buffers of the block commands, one for all sheets: the copy buffer, which
// a Copy or Cut fills and one Paste uses, into any open sheet; and the undo buffer, which
// holds the cells the last Cut or Delete emptied until an undo puts them back on their own
// sheet. Every command works on a sheet's ordered selection with drawing off.
class EditBuffers
{
public:
    // The selection's expressions into the copy buffer, marked pink. With keepMarks (one sheet
    // open) the marks of earlier copies stay; otherwise the sheet is whitened first.
    void copy(SheetModel& sheet, bool keepMarks);
    // Copy, then empty the cells (shown text and expression; values stay, nothing is
    // recomputed), keeping them for an undo.
    void cut(const std::shared_ptr<SheetModel>& sheet);
    // Empties the selection for an undo; the copy buffer and the right to paste stay.
    void erase(const std::shared_ptr<SheetModel>& sheet);
    // Enters the copy buffer with its top-left cell at the current cell, column by column;
    // what falls beyond the sheet is dropped. The buffer is pasted once.
    void paste(SheetModel& sheet);
    // Puts the cells of the last Cut or Delete back on their sheet, if it is still open, and
    // ends the right to undo.
    void undo();

    bool canPaste() const { return m_selOK; }
    bool canUndo() const { return m_delOK; }
    // The sheet an undo would write to: the one of the last Cut or Delete while it is open and
    // the undo still possible; null otherwise.
    std::shared_ptr<SheetModel> undoSheet() const { return m_delOK ? m_undoSheet.lock() : nullptr; }

private:
    CellBlock m_copyBuf;
    CellBlock m_undoBuf;
    std::weak_ptr<SheetModel> m_undoSheet;
    // SelOK: the copy buffer may be pasted. DelOK: the undo buffer may be put back.
    bool m_selOK = false;
    bool m_delOK = false;
};
