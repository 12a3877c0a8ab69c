#pragma once

#include "print/printrange.h"

#include <memory>

class QPrinter;
class frmPreview;
class frmZel;
class frmZelChild;

// Printing the active sheet's selected block on one page, and its preview.
class PrintCommands
{
public:
    explicit PrintCommands(frmZel& window);
    ~PrintCommands();

    void mnuFilePrint_Click();
    void mnuFilePreview_Click();

    // The printer the sheet prints on, and its dialog (tests answer it).
    QPrinter& printer();
    void setPrintDialogs(std::unique_ptr<PrintDialogs> dialogs)
    {
        m_printDialogs = std::move(dialogs);
    }
    frmPreview* preview() const { return m_preview; }

private:
    // The single-cell test of the print commands; false after saying so.
    bool rangeSelected(frmZelChild& sheet);

    frmZel& m_window;
    std::unique_ptr<QPrinter> m_printer;
    std::unique_ptr<PrintDialogs> m_printDialogs;
    frmPreview* m_preview = nullptr; // a child of the main window, hidden between uses
};
