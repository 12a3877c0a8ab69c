#pragma once

#include <QString>

class clsCal;
class frmZelChild;
class Messages;
class RecoveryStore;

// What a sheet window needs of the program around it: the engine it computes with, the message
// boxes, the recovery store, the list of open sheets it leaves when it closes, and the main
// window's address label, edit line, Delete command and save.
class SheetHost
{
public:
    virtual ~SheetHost() = default;
    // The formula engine, one for every sheet; it keeps the decimal places.
    virtual clsCal& engine() = 0;
    virtual Messages& messages() = 0;
    // Where the sheet's recovery copy is written and removed.
    virtual RecoveryStore& recovery() = 0;
    // The sheet of that serial closes: it leaves the list of open sheets.
    virtual void unregisterSheet(int serial) = 0;
    // The cell address label of the main window.
    virtual void setAddressLabel(const QString& text) = 0;
    // The edit line of the main window.
    virtual void setEditLine(const QString& text) = 0;
    // Edit > Delete, run by the Delete key on the grid.
    virtual void editDelete() = 0;
    // Yes in the close prompt: writes the sheet. False when nothing was written, which stops
    // the close so that no work is lost.
    virtual bool saveForClose(frmZelChild& sheet) = 0;
};
