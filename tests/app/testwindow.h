#pragma once

#include "app/frmzel.h"
#include "fakemessages.h"
#include "testhost.h"

#include <QPrinter>
#include <QStandardPaths>

// The printer dialog answered by the test: a PDF file chosen as it is offered, or Cancel.
class PdfPrintDialogs : public PrintDialogs
{
public:
    bool askPrinter(QWidget*, QPrinter& printer) override
    {
        ++asked;
        if (path.isEmpty()) {
            return false;
        }
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
        return true;
    }
    QString path;
    int asked = 0;
};

// The main window as the tests use it: messages and file dialogs answered by fakes, shown
// offscreen; going away, it agrees to close every sheet without asking.
struct TestWindow : private TestPaths
{
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
