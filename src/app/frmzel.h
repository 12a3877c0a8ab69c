#pragma once

#include "app/appstate.h"
#include "app/chartcommands.h"
#include "app/displaycommands.h"
#include "app/editcommands.h"
#include "app/filecommands.h"
#include "app/printcommands.h"
#include "sheet/frmzelchild.h"

#include <QMainWindow>

class QAction;
class QDir;
class QSessionManager;
class CellEditor;
class QLabel;
class QMdiArea;
class QMenu;
class QToolBar;
class QWidget;

// The main window: the sheets in a multiple-document area, the menus and toolbar, the cell
// address label and the edit line. It owns the program's state (AppState: the open sheets, the
// engine, the message boxes and dialogs, the recovery store) and is each sheet's SheetHost. The
// commands belong to one object per concern (files, editing, printing, display settings,
// charts); each menu entry's handler below hands its command to the object that owns it.
class frmZel : public QMainWindow, public SheetHost
{
    Q_OBJECT

public:
    explicit frmZel(QWidget* parent = nullptr);
    ~frmZel() override;

    QMdiArea* mdiArea = nullptr;
    QToolBar* tbrMenu = nullptr;
    QWidget* Picture3 = nullptr;
    QLabel* Label1 = nullptr;
    CellEditor* txtEditLine = nullptr;

    // The menus and their entries, named by their menu path.
    QMenu* mnuFile = nullptr;
    QAction* mnuFileNew = nullptr;
    QAction* mnuFileOpen = nullptr;
    QAction* mnuFileSave = nullptr;
    QAction* mnuFileSaveAs = nullptr;
    QAction* mnuFilePrint = nullptr;
    QAction* mnuFilePreview = nullptr;
    QAction* mnuFileExit = nullptr;
    QMenu* mnuEdit = nullptr;
    QAction* mnuEditReSub = nullptr;
    QAction* mnuEditBack = nullptr;
    QAction* mnuEditCopy = nullptr;
    QAction* mnuEditCut = nullptr;
    QAction* mnuEditPaste = nullptr;
    QAction* mnuEditPasteClip = nullptr;
    QAction* mnuEditCopyClip = nullptr;
    QAction* mnuEditCopyTable = nullptr;
    QAction* mnuEditDelete = nullptr;
    QMenu* mnuGraph = nullptr;
    QAction* mnuGraphShow = nullptr;
    QAction* mnuGraphPrint = nullptr;
    QMenu* mnuSet = nullptr;
    QMenu* mnuSetDis = nullptr; // the display size submenu
    QAction* mnuSetDis75 = nullptr;
    QAction* mnuSetDis100 = nullptr;
    QAction* mnuSetDis125 = nullptr;
    QAction* mnuSetDisKeta = nullptr;
    QMenu* mnuWindow = nullptr;
    QAction* mnuWindowCascade = nullptr;
    QAction* mnuWindowHorizontal = nullptr;
    QAction* mnuWindowVertical = nullptr;
    QMenu* mnuHelp = nullptr;
    QAction* mnuHelpShow = nullptr;
    QAction* mnuHelpVersion = nullptr;

    QList<frmZelChild*> sheets() const;
    frmZelChild* activeSheet() const;
    // The open sheet window showing a model; null for none.
    frmZelChild* sheetOf(const SheetModel* model) const;
    // Makes a sheet's window the active one.
    void activate(frmZelChild& sheet);
    // Every window of the program that is loaded, the main window included.
    int loadedWindowCount() const;
    // A new sheet window with a caption, registered in the open-sheet list and shown
    // maximized as the active sheet.
    frmZelChild* addSheetWindow(const QString& caption);

    FileCommands& files() { return m_files; }
    EditCommands& editing() { return m_editing; }
    PrintCommands& printing() { return m_printing; }
    DisplayCommands& display() { return m_display; }
    ChartCommands& charts() { return m_charts; }

    // The state of the whole program: the open sheets, the engine, the message boxes, the file
    // dialogs and the recovery store.
    AppState& app() { return m_app; }

    // SheetHost
    clsCal& engine() override { return m_app.engine(); }
    Messages& messages() override { return m_app.messages(); }
    RecoveryStore& recovery() override { return m_app.recovery(); }
    void unregisterSheet(int serial) override { m_app.unregisterSheet(serial); }
    void setAddressLabel(const QString& text) override;
    void setEditLine(const QString& text) override;
    // The address label names the active sheet's current cell.
    void showActiveAddress();
    void editDelete() override { mnuEditDelete_Click(); }
    bool saveForClose(frmZelChild& sheet) override { return m_files.saveForClose(sheet); }

    // The menu entries' handlers.
    frmZelChild* NewSheet();
    // With ten sheets open, says so and gives true: no further sheet may open.
    bool refuseAtSheetLimit();
    void mnuFileNew_Click();
    void mnuFileOpen_Click() { m_files.mnuFileOpen_Click(); }
    void mnuFileSave_Click() { m_files.mnuFileSave_Click(); }
    void mnuFileSaveAs_Click() { m_files.mnuFileSaveAs_Click(); }
    void mnuFilePrint_Click() { m_printing.mnuFilePrint_Click(); }
    void mnuFilePreview_Click() { m_printing.mnuFilePreview_Click(); }
    void mnuFileExit_Click();
    void mnuEditReSub_Click() { m_editing.mnuEditReSub_Click(); }
    void mnuEditBack_Click() { m_editing.mnuEditBack_Click(); }
    void mnuEditCopy_Click() { m_editing.mnuEditCopy_Click(); }
    void mnuEditCut_Click() { m_editing.mnuEditCut_Click(); }
    void mnuEditPaste_Click() { m_editing.mnuEditPaste_Click(); }
    void mnuEditPasteClip_Click() { m_editing.mnuEditPasteClip_Click(); }
    void mnuEditCopyClip_Click() { m_editing.mnuEditCopyClip_Click(); }
    void mnuEditCopyTable_Click() { m_editing.mnuEditCopyTable_Click(); }
    void mnuEditDelete_Click() { m_editing.mnuEditDelete_Click(); }
    void mnuGraphShow_Click() { m_charts.mnuGraphShow_Click(); }
    void mnuGraphPrint_Click() { m_charts.mnuGraphPrint_Click(); }
    void mnuSetDis75_Click() { m_display.mnuSetDis75_Click(); }
    void mnuSetDis100_Click() { m_display.mnuSetDis100_Click(); }
    void mnuSetDis125_Click() { m_display.mnuSetDis125_Click(); }
    void mnuSetDisKeta_Click() { m_display.mnuSetDisKeta_Click(); }
    void mnuWindowCascade_Click();
    void mnuWindowHorizontal_Click();
    void mnuWindowVertical_Click();
    void mnuHelpShow_Click();
    void mnuHelpVersion_Click();
    // A toolbar button by its key (btnFileNew, ...): its entry's handler runs under the
    // button's own condition, whatever the entry's greying.
    void tbrMenu_ButtonClick(const QString& key);

    // Enabling rules, one function per menu, run each time the menu opens and before a
    // shortcut of its entries is taken.
    void mnuFile_Click();
    void mnuEdit_Click();
    void mnuGraph_Click();
    void mnuSet_Click();
    void mnuWindow_Click();

    // Asks every changed sheet whether to save it, as before closing; false when the user
    // cancelled (then nothing closes). The desktop session's end asks the same.
    bool askEverySheet();
    void commitData(QSessionManager& manager);

    // Where the help file is looked for: beside the program, then the installed data folder.
    static QString helpFilePath();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void createActions();
    void createBar();
    void txtEditLine_KeyDown(int& keyCode, Qt::KeyboardModifiers modifiers);
    void txtEditLine_KeyHandled(int keyCode);
    void tile(Qt::Orientation orientation);
    // A key that is the shortcut of a menu entry: that entry's menu decides its enabling now;
    // true when the entry takes the key.
    bool takesShortcut(const QKeyEvent& key);

    AppState m_app;
    FileCommands m_files{*this};
    EditCommands m_editing{*this};
    PrintCommands m_printing{*this};
    DisplayCommands m_display{*this};
    ChartCommands m_charts{*this};
    QWidget* m_help = nullptr;
};
