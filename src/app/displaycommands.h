#pragma once

struct DisplaySize;
class dlgKeta;
class frmZel;

// The Settings menu: the display size of the active sheet and the decimal places of results.
class DisplayCommands
{
public:
    explicit DisplayCommands(frmZel& window) : m_window(window) {}

    void mnuSetDis75_Click();
    void mnuSetDis100_Click();
    void mnuSetDis125_Click();
    void mnuSetDisKeta_Click();

    dlgKeta* keta() const { return m_keta; }

private:
    void setDisplaySize(const DisplaySize& size);

    frmZel& m_window;
    dlgKeta* m_keta = nullptr; // a child of the main window, hidden between uses
};
