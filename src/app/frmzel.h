#pragma once

#include "appstate.h"
#include "editbuffers.h"
#include "displaysize.h"
#include "frmchart.h"
#include "printrange.h"
#include "frmzelchild.h"

#include <QHash>
#include <QMainWindow>
#include <QPointer>

class QAction;
class QDir;
class QPrinter;
class QSessionManager;
class dlgKeta;
class frmChartSel;
class frmPreview;
class CellEditor;
class QLabel;
class QMdiArea;
class QMenu;
class QToolBar;
class QWidget;

// The main window: the sheets in a multiple-document area, the menus and toolbar, the cell
// address label and the edit line.
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

    // The chart window is open.
    bool GraphShown = false;
    // The chart's block as selected when 表示 was chosen (corners as the grid had them), and
    // the choices of the chart dialog.
    int GraphRow = 0;
    int GraphRowSel = 0;
    int GraphCol = 0;
    int GraphColSel = 0;
    int GraphType = 3;
    bool GraphLine = true;
    bool GraphMono = false;

    // Menu entries and toolbar buttons by their names (mnuFileNew, btnFileNew, ...).
    QAction* action(const QString& name) const { return m_actions.value(name); }
    QMenu* menu(const QString& name) const { return m_menus.value(name); }

    QList<frmZelChild*> sheets() const;
    frmZelChild* activeSheet() const;
    // The open sheet window showing a model; null for none.
    frmZelChild* sheetOf(const SheetModel* model) const;
    // The copy and undo buffers of the block commands.
    const EditBuffers& buffers() const { return m_buffers; }
    // Every window of the program that is loaded, the main window included.
    int loadedWindowCount() const;

    // SheetHost
    AppState& app() override { return m_app; }
    void setAddressLabel(const QString& text) override;
    void setEditLine(const QString& text) override;
    void editDelete() override;
    bool saveForClose(frmZelChild& sheet) override;

    // Commands.
    frmZelChild* NewSheet();
    void mnuFileNew_Click();
    void mnuFileOpen_Click();
    void mnuFileSave_Click();
    void mnuFileSaveAs_Click();
    void mnuFileExit_Click();
    void mnuEditReSub_Click();
    void mnuEditCopy_Click();
    void mnuEditCut_Click();
    void mnuEditPaste_Click();
    void mnuEditDelete_Click();
    void mnuEditBack_Click();
    void mnuEditCopyClip_Click();
    void mnuEditCopyTable_Click();
    void mnuEditPasteClip_Click();
    void mnuFilePrint_Click();
    void mnuFilePreview_Click();
    void mnuSetDis75_Click();
    void mnuSetDis100_Click();
    void mnuSetDis125_Click();
    void mnuSetDisKeta_Click();
    void mnuGraphShow_Click();
    void mnuGraphPrint_Click();

    // The printer the print commands use, and its dialog (tests answer it).
    QPrinter& printer();
    void setPrintDialogs(std::unique_ptr<PrintDialogs> dialogs);
    frmPreview* preview() const { return m_preview; }
    dlgKeta* keta() const { return m_keta; }
    frmChartSel* chartSel() const { return m_chartSel; }
    frmChart* chart() const { return m_chart; }
    void mnuWindowCascade_Click();
    void mnuWindowHorizontal_Click();
    void mnuWindowVertical_Click();
    void mnuHelpShow_Click();
    void mnuHelpVersion_Click();
    void tbrMenu_ButtonClick(const QString& key);

    // Enabling rules, run each time the menu opens.
    void mnuFile_Click();
    void mnuEdit_Click();
    void mnuGraph_Click();
    void mnuSet_Click();
    void mnuWindow_Click();

    // Files. LoadSheetFile opens a new sheet window on a file whose checks were made; false
    // (and no window) when the file cannot be read. SaveSheetFile writes a sheet and says
    // whether it was written; failures are reported. AskSaveAsName is the Save As dialog:
    // the path to write to, or empty when cancelled.
    frmZelChild* LoadSheetFile(const QString& path);
    bool SaveSheetFile(frmZelChild& sheet, const QString& path);
    QString AskSaveAsName();
    // The program's arguments: one names a file to open (relative to the folder the program
    // was started in), more than one is refused.
    void openCommandLine(const QStringList& arguments, const QDir& startDir);
    // The largest file the open commands accept, in bytes.
    static constexpr qint64 MaxOpenSize = 55000;

    // Asks every changed sheet whether to save it, as before closing; false when the user
    // cancelled (then nothing closes). The desktop session's end asks the same.
    bool askEverySheet();
    void commitData(QSessionManager& manager);

    // Where the help file is looked for: beside the program, then the installed data folder.
    static QString helpFilePath();

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void createActions();
    void createBar();
    frmZelChild* addSheetWindow(const QString& caption);
    void loadChecked(const QString& path);
    void setDisplaySize(const DisplaySize& size);
    // The single-cell test of the print commands; false after saying so.
    bool printRangeSelected(frmZelChild& sheet);
    void cmdGOK_Click();
    void txtEditLine_KeyDown(int& keyCode, Qt::KeyboardModifiers modifiers);
    void txtEditLine_KeyHandled(int keyCode);
    void tile(Qt::Orientation orientation);
    QAction* addEntry(QMenu* menu, const QString& name, const QString& caption,
                      const QKeySequence& shortcut = {});

    AppState m_app;
    QHash<QString, QAction*> m_actions;
    QHash<QString, QMenu*> m_menus;
    QWidget* m_help = nullptr;
    EditBuffers m_buffers;
    std::unique_ptr<QPrinter> m_printer;
    std::unique_ptr<PrintDialogs> m_printDialogs;
    frmPreview* m_preview = nullptr;
    dlgKeta* m_keta = nullptr;
    frmChartSel* m_chartSel = nullptr;
    QPointer<frmChart> m_chart;
    // The file dialogs' file name, kept between uses as the dialog control keeps it.
    QString m_dialogFileName;
};
