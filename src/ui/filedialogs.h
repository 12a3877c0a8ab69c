#pragma once

#include <QString>
#include <functional>
#include <optional>

class QWidget;

// The filters of the Open and Save dialogs, in the dialogs' order.
enum class FileFilter {
    SheetFile = 1, // 表計算ファイル(*.zel)
    Csv = 2,       // CSVファイル(*.csv)
    Book = 3,      // Excel ブック (*.xlsx)
    AllFiles = 4,  // すべてのファイル(*.*)
};

// The file dialogs of the main window: Open and Save with the filter of sheet files, CSV and
// all files. Tests answer them in place of a user.
class FileDialogs
{
public:
    struct Choice
    {
        QString path; // the full path chosen
        FileFilter filter = FileFilter::SheetFile;
    };
    // The dialog's filter, as Qt lists it.
    static QString filter();

    virtual ~FileDialogs() = default;
    // Nothing when the dialog is cancelled. fileName is the name the dialog starts with.
    virtual std::optional<Choice> open(QWidget* parent, const QString& fileName) = 0;
    // The name a choice will be written to, for the question before replacing a file.
    using SaveTarget = std::function<QString(const Choice&)>;
    virtual std::optional<Choice> save(QWidget* parent, const QString& fileName,
                                       const SaveTarget& target) = 0;
};

// The real dialogs. Saving asks before replacing a file under the name that will be written,
// as the caller completes it.
class BoxFileDialogs : public FileDialogs
{
public:
    std::optional<Choice> open(QWidget* parent, const QString& fileName) override;
    std::optional<Choice> save(QWidget* parent, const QString& fileName,
                               const SaveTarget& target) override;
};
