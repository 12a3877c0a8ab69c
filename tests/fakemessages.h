#pragma once

#include "ui/filedialogs.h"
#include "ui/messages.h"

#include <QList>
#include <QStringList>
#include <optional>

// Message boxes for tests: what was said is recorded, questions take the queued answers.
class FakeMessages : public Messages
{
public:
    void critical(QWidget*, const QString& text) override { criticals.append(text); }
    void information(QWidget*, const QString& text) override { informations.append(text); }
    Answer askSave(QWidget*, const QString& text) override
    {
        questions.append(text);
        return answers.isEmpty() ? Answer::Cancel : answers.takeFirst();
    }
    bool askYesNo(QWidget*, const QString& text) override
    {
        questions.append(text);
        return !answers.isEmpty() && answers.takeFirst() == Answer::Yes;
    }

    QStringList criticals;
    QStringList informations;
    QStringList questions;
    QList<Answer> answers;
};

// File dialogs for tests: each shown dialog takes the next queued choice, or is cancelled.
class FakeFileDialogs : public FileDialogs
{
public:
    std::optional<Choice> open(QWidget*, const QString& fileName) override
    {
        return next(fileName, opened);
    }
    std::optional<Choice> save(QWidget*, const QString& fileName, const SaveTarget&) override
    {
        return next(fileName, saved);
    }

    QList<std::optional<Choice>> choices;
    // The names each dialog started with.
    QStringList opened;
    QStringList saved;

private:
    std::optional<Choice> next(const QString& fileName, QStringList& shown)
    {
        shown.append(fileName);
        return choices.isEmpty() ? std::nullopt : choices.takeFirst();
    }
};
