#include "messages.h"

#include <QMessageBox>

void BoxMessages::critical(QWidget* parent, const QString& text)
{
    QMessageBox::critical(parent, applicationTitle(), text, QMessageBox::Ok);
}

void BoxMessages::information(QWidget* parent, const QString& text)
{
    QMessageBox::information(parent, applicationTitle(), text, QMessageBox::Ok);
}

Messages::Answer BoxMessages::askSave(QWidget* parent, const QString& text)
{
    const auto button = QMessageBox::question(parent, QStringLiteral("保存の確認"), text,
                                              QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                                              QMessageBox::Yes);
    switch (button) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        return Answer::Cancel;
    }
}
