#pragma once

#include "cellsource.h"
#include "cellvalue.h"

#include <QWidget>
#include <vector>

class AppState;
class QLineEdit;
class SheetGrid;
class frmZelChild;

// What a sheet window needs of the main window it lives in.
class SheetHost
{
public:
    virtual ~SheetHost() = default;
    virtual AppState& app() = 0;
    // The cell address label of the main window.
    virtual void setAddressLabel(const QString& text) = 0;
    // Yes in the close prompt: writes the sheet. False when nothing was written, which stops
    // the close so that no work is lost.
    virtual bool saveForClose(frmZelChild& sheet) = 0;
};

// " A 1": blank, column letter, blank, row.
QString cellAddress(int row, int col);

// One open sheet: its grid, the overlay editor, the cell store and the per-sheet variables.
// Reading a cell of the store moves the grid's current cell there, which the engine's range
// sum relies on to know the formula's own cell.
class frmZelChild : public QWidget, public CellSource
{
    Q_OBJECT

public:
    static constexpr int StoreRows = 502; // rows 0..501
    static constexpr int StoreCols = 28;  // columns 0..27

    explicit frmZelChild(SheetHost& host, QWidget* parent = nullptr);
    ~frmZelChild() override;

    SheetGrid* grdZel = nullptr;
    QLineEdit* txtEdit = nullptr;

    bool IsChanged = false;
    int ActiveR = 0;
    int ActiveC = 0;
    int ActiveRmove = 0;
    int ActiveCmove = 0;
    int Imove = 0;
    int Jmove = 0;
    int SelHaba = 600;
    int SelTakasa = 360;
    bool SelMove = true;
    // Serial of the sheet in the open-sheet list; 0 for a window never registered.
    int Tag = 0;

    // The expression of a cell. Reading moves the grid's current cell to (row, col); writing
    // leaves the grid alone. Cells outside the store throw std::out_of_range.
    QString Ex(int row, int col);
    void setEx(int row, int col, const QString& expression);
    const CellValue& ExVal(int row, int col);
    void setExVal(int row, int col, const CellValue& value);

    // Multiplies every column width and row height by the display scale (halves to even).
    void SizeCells();
    // Writes the column letters and row numbers into the headings.
    void Titles();

    // The save prompt of a closing sheet; false when the sheet must stay open.
    bool queryClose();
    // Lets the window close without asking again (a shutdown that already asked).
    void setCloseAgreed(bool agreed) { m_closeAgreed = agreed; }

    // CellSource
    const CellValue& cellValue(int row, int col) override { return ExVal(row, col); }
    int currentRow() const override;
    int currentCol() const override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    size_t storeIndex(int row, int col) const;

    SheetHost& m_host;
    std::vector<QString> m_ex;
    std::vector<CellValue> m_exVal;
    bool m_closeAgreed = false;
};
