#pragma once

#include "celleditor.h"
#include "fakemessages.h"
#include "frmzel.h"
#include "sheetgrid.h"

// The main window as the tests use it: messages and file dialogs answered by fakes, shown
// offscreen; going away, it agrees to close every sheet without asking.
struct TestWindow {
    TestWindow()
    {
        auto ownedMessages = std::make_unique<FakeMessages>();
        messages = ownedMessages.get();
        window->app().setMessages(std::move(ownedMessages));
        auto ownedDialogs = std::make_unique<FakeFileDialogs>();
        dialogs = ownedDialogs.get();
        window->app().setFileDialogs(std::move(ownedDialogs));
        window->resize(1000, 700);
        window->show();
    }
    ~TestWindow()
    {
        for (frmZelChild* sheet : window->sheets()) {
            sheet->setCloseAgreed(true);
        }
        delete window;
    }
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;

    frmZel* window = new frmZel;
    FakeMessages* messages = nullptr;
    FakeFileDialogs* dialogs = nullptr;
};

// Enters text into a cell as the program's callers of EnterCell do: the cell made current,
// the text put into the overlay editor.
inline void enterCell(frmZelChild& sheet, int row, int col, const QString& text)
{
    sheet.grdZel->state().setCurrent(row, col);
    sheet.txtEdit->setText(text);
    sheet.EnterCell();
}
