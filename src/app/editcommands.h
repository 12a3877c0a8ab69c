#pragma once

#include "edit/editbuffers.h"

class frmZel;

// The Edit menu's commands on the active sheet: 再計算, the block commands with their buffers,
// and the exchange with other programs through the system clipboard.
class EditCommands
{
public:
    explicit EditCommands(frmZel& window) : m_window(window) {}

    void mnuEditReSub_Click();
    void mnuEditCopy_Click();
    void mnuEditCut_Click();
    void mnuEditPaste_Click();
    void mnuEditDelete_Click();
    void mnuEditBack_Click();
    void mnuEditCopyClip_Click();
    void mnuEditCopyTable_Click();
    void mnuEditPasteClip_Click();

    const EditBuffers& buffers() const { return m_buffers; }

private:
    frmZel& m_window;
    EditBuffers m_buffers;
};
