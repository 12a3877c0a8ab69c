#pragma once

#include "messages.h"

#include <QList>
#include <QStringList>

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

    QStringList criticals;
    QStringList informations;
    QStringList questions;
    QList<Answer> answers;
};
