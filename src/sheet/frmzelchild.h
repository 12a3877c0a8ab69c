#pragma once

#include "calc/cellvalue.h"
#include "model/sheetmetrics.h"
#include "model/sheetmodel.h"
#include "sheet/sheethost.h"

#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>
#include <memory>

class QInputMethodEvent;
class CellEditor;
class SheetGrid;
class frmZelChild;

// " A 1": blank, column letter, blank, row.
QString cellAddress(int row, int col);

// One open sheet window: the grid and the overlay editor that show a SheetModel, and the
// variables of pointing and clicking. The model owns the cells, the editor's text, the change
// mark and the pointed formula's cell; the window shows them and turns the user's keys and
// clicks into the model's verbs.
class frmZelChild : public QWidget
{
    Q_OBJECT

public:
    explicit frmZelChild(SheetHost& host, QWidget* parent = nullptr);
    ~frmZelChild() override;

    SheetGrid* grdZel = nullptr;
    CellEditor* txtEdit = nullptr;

    // The sheet differs from what was last read or saved (model().markChanged() and
    // clearChanged() write it).
    bool IsChanged() const { return m_model->isChanged(); }
    // The cell whose formula is being pointed for; 0 when nobody points.
    int ActiveR() const { return m_model->activeRow(); }
    int ActiveC() const { return m_model->activeCol(); }
    int ActiveRmove = 0;
    int ActiveCmove = 0;
    int Imove = 0;
    int Jmove = 0;
    bool SelMove = true;
    // Serial of the sheet in the open-sheet list; 0 for a window never registered.
    int Tag = 0;

    // The expression of a cell. Reading moves the grid's current cell to (row, col); writing
    // leaves the grid alone. Cells outside the store throw std::out_of_range.
    QString Ex(int row, int col) { return m_model->Ex(row, col); }
    void setEx(int row, int col, const QString& expression)
    {
        m_model->setEx(row, col, expression);
    }
    const CellValue& ExVal(int row, int col) { return m_model->ExVal(row, col); }
    void setExVal(int row, int col, const CellValue& value) { m_model->setExVal(row, col, value); }
    SheetModel& model() { return *m_model; }
    // The model as the edit buffers hold it: the undo buffer must know when its sheet is gone.
    const std::shared_ptr<SheetModel>& sharedModel() const { return m_model; }

    // Cell entry: stores the overlay editor's text (EnterCell) or the edit line's text
    // (EnterEditLine) as the expression of the grid's current cell, evaluates a formula and
    // shows its result or error marker. The current cell stays where it was.
    void EnterCell();
    void EnterEditLine(const QString& editLineText);
    // Enters every cell up to the last used row and column again, in one sweep row by row.
    // Refused with a message while a cell is being edited; returns whether it ran.
    bool Recalculate();

    // Opens the overlay editor over the current cell: codes 0 to 32 open it on the cell's
    // expression with the caret at the end, any other code on that one character.
    void GridEdit(int keyAscii);
    // The overlay editor is open over a cell.
    bool isEditing() const;
    // The overlay editor is the sheet's active control: it has, or last had, the focus.
    bool editorIsActiveControl() const;
    // Puts a text into the overlay editor (through the model, which marks the sheet changed).
    void setEditorText(const QString& text);
    // Shows in the overlay editor what the model holds as its text, after a command changed it.
    void syncEditor();
    // Shows the current cell's expression as its text while it is edited; Escape puts back
    // what it showed (model().restoreShownText()).
    void showExpressionInCell();
    // After Enter in the overlay editor or the edit line: one row down (the last row stays),
    // label and edit line updated, the editor opened on the new cell.
    void moveDownAndReopen();
    // The main window's address label names this sheet's current cell.
    void showCurrentAddress();

    // Writes the column letters and row numbers into the headings.
    void Titles();

    // The sheet was never saved under a name: its caption is a New-Sheet caption.
    bool isUntitled() const;
    // The user changed what a sheet file keeps of the layout (a column's width, the display
    // size): the sheet is changed when its save would keep it: never saved, a sheet file or a
    // book, not a CSV.
    void layoutChangedByUser();

    // The save prompt of a closing sheet; false when the sheet must stay open.
    bool queryClose();

    // The recovery copy: written about two seconds after the last change to what a save would
    // write, while the sheet differs from its file; gone once the sheet is saved or closed.
    // The sheet's file path is its caption once it has been saved or read.
    void dropRecovery();
    // A restored sheet keeps the copy it came from until it has one of its own.
    void adoptRecovery(const QString& name) { m_recoveryName = name; }
    QString recoveryName() const { return m_recoveryName; }
    // Writes the copy now if one is due (as the delay would).
    void writeRecovery();
    // Lets the window close without asking again (a shutdown that already asked).
    void setCloseAgreed(bool agreed) { m_closeAgreed = agreed; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // Shows the editor over the current cell; it takes the keyboard focus unless an input
    // method composes into it from the grid.
    void openEditor();
    void focusEditor();
    void grdZel_KeyPress(int& keyAscii);
    void grdZel_KeyDown(int& keyCode, Qt::KeyboardModifiers modifiers);
    void grdZel_TextComposed(const QString& text);
    void grdZel_CompositionStarted();
    void grdZel_CompositionChanged(const QInputMethodEvent& event);
    void grdZel_LeaveCell();
    void grdZel_Click();
    void grdZel_DblClick();
    void grdZel_Scroll();
    void grdZel_Navigated();
    void txtEdit_KeyDown(int& keyCode, Qt::KeyboardModifiers modifiers);
    void txtEdit_KeyHandled(int keyCode);

    SheetHost& m_host;
    std::shared_ptr<SheetModel> m_model;
    bool m_closeAgreed = false;
    void recoveryDue();

    // The cell the overlay editor was opened on.
    int m_editRow = 0;
    int m_editCol = 0;
    QString m_recoveryName;
    QTimer m_recoveryTimer;
    QElapsedTimer m_sinceChange;
    // An edit an input method started on the grid: what it may have to put back if the
    // composition is cancelled before anything is committed.
    struct Composition
    {
        bool committed = false;
        bool wasChanged = false;
        QString editorText;
    };
    Composition m_composition;
};
