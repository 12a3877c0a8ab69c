#pragma once

#include "calc/clscal.h"
#include "fakemessages.h"
#include "files/recovery.h"
#include "sheet/celleditor.h"
#include "sheet/frmzelchild.h"
#include "sheet/sheetgrid.h"

#include <QStandardPaths>

// A main window stand-in for a sheet on its own: records what the sheet shows in the bar
// and how often it asks for Edit > Delete; messages go to FakeMessages.
// Files a test's program writes for itself (recovery copies) go to the test's own folders,
// never the user's; set before any program state exists.
struct TestPaths
{
    TestPaths() { QStandardPaths::setTestModeEnabled(true); }
};

class TestHost : private TestPaths, public SheetHost
{
public:
    clsCal& engine() override { return calc; }
    Messages& messages() override { return said; }
    RecoveryStore& recovery() override { return store; }
    void unregisterSheet(int) override { ++unregistered; }
    void setAddressLabel(const QString& text) override { label = text; }
    void setEditLine(const QString& text) override { editLine = text; }
    void editDelete() override { ++deletes; }
    bool saveForClose(frmZelChild&) override { return false; }

    clsCal calc;
    FakeMessages said;
    RecoveryStore store{RecoveryStore::defaultFolder()};
    QString label;
    QString editLine;
    int deletes = 0;
    int unregistered = 0;
};

// Enters text into a cell as the program's callers of EnterCell do: the cell made current,
// the text put into the overlay editor.
inline void enterCell(frmZelChild& sheet, int row, int col, const QString& text)
{
    sheet.grdZel->state().setCurrent(row, col);
    sheet.txtEdit->setText(text);
    sheet.EnterCell();
}
