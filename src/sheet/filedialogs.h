#pragma once

#include "savename.h"

#include <QString>
#include <optional>

class QWidget;

// The file dialogs of the main window: Open and Save with the filter of sheet files, CSV and
// all files. Tests answer them in place of a user.
class FileDialogs
{
public:
    struct Choice {
        QString path; // the full path chosen
        FileFilter filter = FileFilter::SheetFile;
    };
    // The dialog's filter, as Qt lists it.
    static QString filter();

    virtual ~FileDialogs() = default;
    // Nothing when the dialog is cancelled. fileName is the name the dialog starts with.
    virtual std::optional<Choice> open(QWidget* parent, const QString& fileName) = 0;
    virtual std::optional<Choice> save(QWidget* parent, const QString& fileName) = 0;
};

// The real dialogs. Saving asks before replacing a file under the name that will be written,
// the extension completed as the filter says.
class BoxFileDialogs : public FileDialogs
{
public:
    std::optional<Choice> open(QWidget* parent, const QString& fileName) override;
    std::optional<Choice> save(QWidget* parent, const QString& fileName) override;
};
