#pragma once

#include "appstate.h"
#include "celleditor.h"
#include "fakemessages.h"
#include "frmzelchild.h"
#include "sheetgrid.h"

// A main window stand-in for a sheet on its own: records what the sheet shows in the bar
// and how often it asks for Edit > Delete; messages go to FakeMessages.
class TestHost : public SheetHost
{
public:
    TestHost()
    {
        auto owned = std::make_unique<FakeMessages>();
        messages = owned.get();
        state.setMessages(std::move(owned));
    }

    AppState& app() override { return state; }
    void setAddressLabel(const QString& text) override { label = text; }
    void setEditLine(const QString& text) override { editLine = text; }
    void editDelete() override { ++deletes; }
    bool saveForClose(frmZelChild&) override { return false; }

    AppState state;
    FakeMessages* messages = nullptr;
    QString label;
    QString editLine;
    int deletes = 0;
};

// Enters text into a cell as the program's callers of EnterCell do: the cell made current,
// the text put into the overlay editor.
inline void enterCell(frmZelChild& sheet, int row, int col, const QString& text)
{
    sheet.grdZel->state().setCurrent(row, col);
    sheet.txtEdit->setText(text);
    sheet.EnterCell();
}
