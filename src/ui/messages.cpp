#include "ui/messages.h"

#include <QMessageBox>

namespace {

// Message texts keep the program's CR LF and CR; a label breaks lines at LF only.
QString shown(const QString& text)
{
    QString out = text;
    out.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    out.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return out;
}

} // namespace

void BoxMessages::critical(QWidget* parent, const QString& text)
{
    QMessageBox::critical(parent, applicationTitle(), shown(text), QMessageBox::Ok);
}

void BoxMessages::information(QWidget* parent, const QString& text)
{
    QMessageBox::information(parent, applicationTitle(), shown(text), QMessageBox::Ok);
}

Messages::Answer BoxMessages::askSave(QWidget* parent, const QString& text)
{
    const auto button = QMessageBox::question(
        parent, QStringLiteral("保存の確認"), shown(text),
        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes);
    switch (button) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        return Answer::Cancel;
    }
}

bool BoxMessages::askYesNo(QWidget* parent, const QString& text)
{
    return QMessageBox::question(parent, applicationTitle(), shown(text),
                                 QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::Yes) == QMessageBox::Yes;
}
