#pragma once

#include "files/recovery.h"
#include "model/sheetmodel.h"
#include "ui/filedialogs.h"
#include "ui/messages.h"

#include <QStringList>
#include <array>
#include <memory>

class clsCal;

// The state the whole program shares: the bookkeeping of open sheets, the formula engine with
// its decimal places, the message boxes and file dialogs behind their seams, and the recovery
// store. The main window owns one; tests make a fresh one each.
class AppState
{
public:
    AppState();
    ~AppState();

    // Counters are plain ints: they count up once per sheet and cannot overflow in a run.
    int OpenSheetCount = 0;
    static constexpr int MaxOpenSheets = 10;
    bool sheetLimitReached() const { return OpenSheetCount >= MaxOpenSheets; }
    int SheetSerial = 0;
    int NewSheetNumber = 0;
    // At each serial (index 0..SheetSerial), the path the sheet is saved under now, or the
    // caption of a sheet never saved; emptied when the sheet closes.
    QStringList OpenSheetNames{QString()};
    // The serial of the open sheet saved under the file of a path, 0 for none: one file is open
    // in one window only, so that no save overwrites another window's work.
    int sheetHolding(const QString& path) const;
    // A sheet written under a new path is held there from now on.
    void setSheetPath(int serial, const QString& path);

    // Registers a sheet with its caption; returns its serial.
    int registerSheet(const QString& caption);
    // Forgets the sheet of a serial when its window goes.
    void unregisterSheet(int serial);

    // The formula engine, one for every sheet; it keeps the decimal places (RoundDigits).
    clsCal& engine() { return *m_engine; }

    Messages& messages() { return *m_messages; }
    void setMessages(std::unique_ptr<Messages> messages) { m_messages = std::move(messages); }
    FileDialogs& fileDialogs() { return *m_fileDialogs; }
    void setFileDialogs(std::unique_ptr<FileDialogs> dialogs)
    {
        m_fileDialogs = std::move(dialogs);
    }

    // The recovery copies of changed sheets, in the user's application data.
    RecoveryStore& recovery() { return m_recovery; }

private:
    std::unique_ptr<clsCal> m_engine;
    std::unique_ptr<Messages> m_messages;
    std::unique_ptr<FileDialogs> m_fileDialogs;
    RecoveryStore m_recovery{RecoveryStore::defaultFolder()};
};
