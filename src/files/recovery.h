#pragma once

#include "model/sheetmodel.h"

#include <QString>
#include <QStringList>
#include <QThreadPool>
#include <optional>
#include <vector>

// What a recovery copy keeps of a sheet: what a save would write (the expressions and the
// layout) with the sheet's caption and file path, every character as it is (UTF-8, not the
// code page of sheet files).
struct RecoveryCopy
{
    using Cell = StoredCell;
    QString caption;
    QString path; // empty for a sheet never saved under a name
    SheetLayout layout;
    std::vector<Cell> cells;
};

// A copy of a sheet as it is now, with its layout as a save writes it. Cheap enough for the
// user-interface thread: the expressions are shared with the sheet, not copied.
RecoveryCopy recoverySnapshot(const SheetModel& sheet, const QString& caption, const QString& path);
QByteArray recoveryBytes(const RecoveryCopy& copy);
// Nothing when the bytes are no recovery copy.
std::optional<RecoveryCopy> readRecoveryCopy(const QByteArray& bytes);

// Fills an empty sheet from a copy as reading a file does: every expression entered, then all
// entered again so formulas see the cells after them; then the layout.
void restoreRecoveryCopy(const RecoveryCopy& copy, SheetModel& sheet);

// The folder of recovery copies. Copies are written and removed on a worker thread of their
// own, one after the other in the order asked, so that a sheet's later copy always replaces
// its earlier one and a removal is never undone by a write still waiting.
class RecoveryStore
{
public:
    explicit RecoveryStore(QString folder);
    ~RecoveryStore();
    RecoveryStore(const RecoveryStore&) = delete;
    RecoveryStore& operator=(const RecoveryStore&) = delete;

    // The folder under the user's application data.
    static QString defaultFolder();

    // A file name no copy of this run or an earlier one has.
    QString newName();
    // Replaces the copy of that name, atomically.
    void write(const QString& name, RecoveryCopy copy);
    void remove(const QString& name);
    // The copies in the folder, oldest first, by full path.
    QStringList existing() const;
    // A copy that existing() listed; nothing when it does not read.
    std::optional<RecoveryCopy> read(const QString& path) const;
    // Deletes copies that existing() listed, at once: only at start-up, before any write.
    void discard(const QStringList& paths);
    // Waits until every write and removal asked for is done.
    void waitForDone();

    QString folder() const { return m_folder; }

private:
    QString m_folder;
    int m_serial = 0;
    QThreadPool m_worker;
};
