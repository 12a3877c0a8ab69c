#pragma once

#include <QString>

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
    // A question with the question icon, Yes/No and the application title; true for Yes.
    virtual bool askYesNo(QWidget* parent, const QString& text) = 0;
};

// The real message boxes.
class BoxMessages : public Messages
{
public:
    void critical(QWidget* parent, const QString& text) override;
    void information(QWidget* parent, const QString& text) override;
    Answer askSave(QWidget* parent, const QString& text) override;
    bool askYesNo(QWidget* parent, const QString& text) override;
};

// The application title, used as the title of every message box.
inline QString applicationTitle()
{
    return QStringLiteral("表計算Tarn!");
}
