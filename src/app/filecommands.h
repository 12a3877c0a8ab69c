#pragma once

#include <QString>
#include <QStringList>

class QDir;
class QUrl;
class frmZel;
class frmZelChild;

// The File menu's commands on files: Open, Save, Save As, the close prompt's save, the file
// named on the command line and files dropped on the main window.
class FileCommands
{
public:
    explicit FileCommands(frmZel& window) : m_window(window) {}

    void mnuFileOpen_Click();
    void mnuFileSave_Click();
    void mnuFileSaveAs_Click();

    // LoadSheetFile opens a new sheet window on a file whose checks were made; null (and no
    // window) when the file cannot be read. SaveSheetFile writes a sheet and says whether it
    // was written; failures are reported. AskSaveAsName is the Save As dialog: the path to
    // write to, or empty when cancelled.
    frmZelChild* LoadSheetFile(const QString& path);
    bool SaveSheetFile(frmZelChild& sheet, const QString& path);
    QString AskSaveAsName();
    // Yes in the close prompt: writes the sheet; false when nothing was written.
    bool saveForClose(frmZelChild& sheet);

    // The program's arguments: one names a file to open (relative to the folder the program
    // was started in), more than one is refused.
    void openCommandLine(const QStringList& arguments, const QDir& startDir);
    // Files dropped on the main window: only the first counts.
    void openDropped(const QList<QUrl>& urls);
    // At start-up: the recovery copies an earlier run left are offered once; Yes opens each
    // (up to the ten-sheet limit; the rest stay for the next start), No deletes them.
    void recoverSheets();

private:
    void loadChecked(const QString& path);
    // Another open sheet holds the file of path (not the sheet being saved there): says so and
    // gives true.
    bool refuseHeldPath(const QString& path, const frmZelChild* saving = nullptr);
    void holdUnder(frmZelChild& sheet, const QString& path);

    frmZel& m_window;
    // The file dialogs' file name, kept between uses as the dialog control keeps it.
    QString m_dialogFileName;
};
