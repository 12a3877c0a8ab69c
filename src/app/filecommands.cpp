// The file commands of the main window: Open, Save, Save As, the close prompt's save, the
// file named on the command line and files dropped on the window.
#include "app/filecommands.h"

#include "app/appstate.h"
#include "app/frmzel.h"
#include "files/recovery.h"
#include "files/savename.h"
#include "files/sheetio.h"
#include "sheet/celleditor.h"
#include "sheet/sheetgrid.h"
#include "ui/waitcursor.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace {

// The open commands' size test: a file too large, or whose size cannot be read (no such
// file, not a regular file), is refused as too large.
bool tooLarge(const QString& path)
{
    return checkSheetFile(path) != FileCheck::Readable;
}

} // namespace

frmZelChild* FileCommands::LoadSheetFile(const QString& path)
{
    frmZelChild* sheet = m_window.addSheetWindow(path);
    const LoadResult result = loadSheetFile(path, sheet->model());
    if (!result.read) {
        m_window.app().messages().critical(&m_window,
                                           QStringLiteral("このファイルは開くことができません！"));
        // No empty sheet is left registered under the path, where a save could overwrite the file.
        sheet->setCloseAgreed(true);
        sheet->parentWidget()->close();
        return nullptr;
    }
    sheet->model().clearChanged();
    sheet->model().endPointing();
    sheet->showCurrentAddress();
    sheet->grdZel->viewport()->update();
    if (result.overflow) {
        m_window.app().messages().information(
            &m_window, QStringLiteral("シートに入りきらないデータは読み込まれませんでした！"));
    }
    // A book's formulas this program does not know came in as their values.
    QStringList asValues;
    if (result.valuesForFormulas > 0) {
        asValues << QStringLiteral(
                        "%1 個の数式のセルは、計算できない式のため値として読み込みました。")
                        .arg(result.valuesForFormulas);
    }
    if (result.textsLikeFormulas > 0) {
        asValues << QStringLiteral("「=」で始まる %1 個の文字列のセルは、数式として入力しました。")
                        .arg(result.textsLikeFormulas);
    }
    if (!asValues.isEmpty()) {
        m_window.app().messages().information(&m_window, asValues.join(QStringLiteral("\r\n")));
    }
    return sheet;
}

bool FileCommands::SaveSheetFile(frmZelChild& sheet, const QString& path)
{
    SaveResult result;
    {
        const WaitCursor hourglass;
        result = saveSheetFile(path, sheet.model());
    }
    switch (result.status) {
    case SaveResult::Status::Saved:
        sheet.model().clearChanged();
        sheet.dropRecovery();
        return true;
    case SaveResult::Status::Unencodable:
        m_window.app().messages().critical(
            &m_window, QStringLiteral("Shift-JISで保存できない文字があります！\r\n") +
                           cellAddress(result.row, result.col));
        return false;
    case SaveResult::Status::WriteFailed:
        break;
    }
    m_window.app().messages().critical(
        &m_window, QStringLiteral("ファイルを保存できませんでした！\r\n") + path);
    return false;
}

namespace {

// The name a choice of the Save dialog writes to, completed as its filter says.
QString saveTarget(const FileDialogs::Choice& choice)
{
    switch (choice.filter) {
    case FileFilter::SheetFile:
        return completeSaveName(choice.path, SaveFormat::SheetFile);
    case FileFilter::Csv:
        return completeSaveName(choice.path, SaveFormat::Csv);
    case FileFilter::Book:
        return completeSaveName(choice.path, SaveFormat::Book);
    case FileFilter::AllFiles:
        break;
    }
    return completeSaveName(choice.path, SaveFormat::AsTyped);
}

} // namespace

QString FileCommands::AskSaveAsName()
{
    const std::optional<FileDialogs::Choice> choice =
        m_window.app().fileDialogs().save(&m_window, m_dialogFileName, saveTarget);
    if (!choice) {
        return QString();
    }
    m_dialogFileName = choice->path;
    return saveTarget(*choice);
}

void FileCommands::mnuFileOpen_Click()
{
    if (m_window.refuseAtSheetLimit()) {
        return;
    }
    m_dialogFileName.clear();
    const std::optional<FileDialogs::Choice> choice =
        m_window.app().fileDialogs().open(&m_window, m_dialogFileName);
    if (!choice) {
        return;
    }
    const QString path = choice->path;
    m_dialogFileName = path;
    if (!hasOpenableEnding(path)) {
        m_window.app().messages().critical(&m_window,
                                           QStringLiteral("このファイルは開くことができません！"));
        return;
    }
    if (tooLarge(path)) {
        m_window.app().messages().critical(
            &m_window, QStringLiteral("ファイルが大きすぎるため開くことができません！"));
        return;
    }
    loadChecked(path);
}

bool FileCommands::refuseHeldPath(const QString& path, const frmZelChild* saving)
{
    const int holder = m_window.app().sheetHolding(path);
    if (holder == 0 || (saving && holder == saving->Tag)) {
        return false;
    }
    m_window.app().messages().critical(&m_window,
                                       QStringLiteral("そのファイルはすでに開いています！"));
    return true;
}

// The duplicate test and the load, shared by Open and the command line.
void FileCommands::loadChecked(const QString& path)
{
    if (refuseHeldPath(path)) {
        return;
    }
    frmZelChild* sheet = nullptr;
    {
        const WaitCursor hourglass;
        sheet = LoadSheetFile(path);
    }
    if (sheet) {
        // The editor starts empty; its change marks no sheet changed that was just read.
        sheet->setEditorText(QString());
        sheet->model().clearChanged();
    }
}

void FileCommands::mnuFileSave_Click()
{
    frmZelChild* sheet = m_window.activeSheet();
    if (!sheet || !sheet->IsChanged()) {
        return;
    }
    const QString name = sheet->windowTitle();
    if (name.startsWith(QLatin1String("New"))) {
        mnuFileSaveAs_Click();
        return;
    }
    SaveSheetFile(*sheet, name);
}

void FileCommands::mnuFileSaveAs_Click()
{
    frmZelChild* sheet = m_window.activeSheet();
    if (!sheet) {
        return;
    }
    const QString path = AskSaveAsName();
    if (path.isEmpty() || refuseHeldPath(path, sheet)) {
        return;
    }
    if (SaveSheetFile(*sheet, path)) {
        holdUnder(*sheet, path);
    }
}

// A sheet saved under a name is captioned with it, and the list of open files holds it there.
void FileCommands::holdUnder(frmZelChild& sheet, const QString& path)
{
    sheet.setWindowTitle(path);
    m_window.app().setSheetPath(sheet.Tag, path);
}

// Yes in the close prompt. Nothing written (dialog cancelled, save failed) keeps the sheet open.
bool FileCommands::saveForClose(frmZelChild& sheet)
{
    QString path = sheet.windowTitle();
    if (sheet.isUntitled()) {
        path = AskSaveAsName();
        if (path.isEmpty() || refuseHeldPath(path, &sheet)) {
            return false;
        }
    }
    if (!SaveSheetFile(sheet, path)) {
        return false;
    }
    // Should another sheet's prompt cancel the quit, this one stays open under its new name.
    holdUnder(sheet, path);
    return true;
}

void FileCommands::openCommandLine(const QStringList& arguments, const QDir& startDir)
{
    if (arguments.isEmpty()) {
        return;
    }
    const QString tooLargeText =
        QStringLiteral("ファイルが大きすぎる、もしくは２つ以上のファイルが\r"
                       "ドロップされたため開くことができません！");
    if (arguments.size() > 1) {
        m_window.app().messages().critical(&m_window,
                                           tooLargeText + arguments.join(QLatin1Char(' ')));
        return;
    }
    const QString path = QDir::cleanPath(startDir.absoluteFilePath(arguments.front()));
    if (!hasOpenableEnding(path.toLower())) { // the command line's check ignores case
        m_window.app().messages().critical(&m_window,
                                           QStringLiteral("このファイルは開くことができません！"));
        return;
    }
    if (tooLarge(path)) {
        m_window.app().messages().critical(&m_window, tooLargeText + path);
        return;
    }
    loadChecked(path);
}

// Only the first file counts; a drop checks its size and whether it is open already, but
// neither its extension nor the number of open sheets.
void FileCommands::openDropped(const QList<QUrl>& urls)
{
    if (urls.isEmpty() || !urls.front().isLocalFile()) {
        return;
    }
    const QString path = QDir::cleanPath(urls.front().toLocalFile());
    if (checkSheetFile(path) == FileCheck::TooLarge) {
        m_window.app().messages().critical(
            &m_window, QStringLiteral("ファイルが大きすぎるため開くことができません！"));
        return;
    }
    if (refuseHeldPath(path)) {
        return;
    }
    const WaitCursor hourglass;
    LoadSheetFile(path);
}

void FileCommands::recoverSheets()
{
    AppState& app = m_window.app();
    const QStringList copies = app.recovery().existing();
    if (copies.isEmpty()) {
        return;
    }
    if (!app.messages().askYesNo(
            &m_window,
            QStringLiteral("前回終了時に保存されていないシートがあります。復元しますか？"))) {
        app.recovery().discard(copies);
        return;
    }
    for (const QString& path : copies) {
        if (app.sheetLimitReached()) {
            break; // the rest wait for the next start
        }
        const std::optional<RecoveryCopy> copy = app.recovery().read(path);
        if (!copy) {
            app.messages().critical(&m_window,
                                    QStringLiteral("復元できないシートがあります！\r\n") + path);
            continue;
        }
        // A sheet saved under a name comes back under it, so that Save writes there, unless
        // another open sheet holds that file: then it comes back as a new sheet.
        const bool named = !copy->path.isEmpty() && app.sheetHolding(copy->path) == 0;
        frmZelChild* sheet = named ? m_window.addSheetWindow(copy->caption) : m_window.NewSheet();
        {
            const WaitCursor hourglass;
            restoreRecoveryCopy(*copy, sheet->model());
        }
        sheet->model().markChanged();
        sheet->adoptRecovery(QFileInfo(path).fileName());
        sheet->showCurrentAddress();
        sheet->grdZel->viewport()->update();
    }
}
