#pragma once

#include <QString>
#include <optional>

class QWidget;

// Every message box of the program goes through here, so that tests can read what was said
// and give the answers.
class Messages
{
public:
    enum class Answer { Yes, No, Cancel };

    virtual ~Messages() = default;
    // A refusal: the text, the critical-stop icon, OK, the application title.
    virtual void critical(QWidget* parent, const QString& text) = 0;
    // A notice with the information icon and the application title.
    virtual void information(QWidget* parent, const QString& text) = 0;
    // The save question: question icon, Yes/No/Cancel, title "保存の確認".
    virtual Answer askSave(QWidget* parent, const QString& text) = 0;
};

// The real message boxes.
class BoxMessages : public Messages
{
public:
    void critical(QWidget* parent, const QString& text) override;
    void information(QWidget* parent, const QString& text) override;
    Answer askSave(QWidget* parent, const QString& text) override;
};

// The file dialogs of the main window: Open and Save with the filter of sheet files, CSV and
// all files. Tests answer them in place of a user.
class FileDialogs
{
public:
    struct Choice {
        QString path;        // the full path chosen
        int filterIndex = 1; // 1 sheet file, 2 CSV, 3 all files
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

// The name a Save As writes to: the filter's extension appended unless the name ends in it
// already; with the all-files filter the name as typed.
QString completeSaveName(const QString& name, int filterIndex);

// The application title, used as the title of every message box.
inline QString applicationTitle()
{
    return QStringLiteral("表計算Tarn!");
}
