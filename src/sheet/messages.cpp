#include "messages.h"

#include <QFileDialog>
#include <QFileInfo>
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
    const auto button = QMessageBox::question(parent, QStringLiteral("保存の確認"), shown(text),
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

QString FileDialogs::filter()
{
    return QStringLiteral("表計算ファイル(*.zel);;CSVファイル(*.csv);;すべてのファイル(*.*)");
}

QString completeSaveName(const QString& name, int filterIndex)
{
    if (filterIndex == 1 && !name.endsWith(QLatin1String(".zel"))) {
        return name + QLatin1String(".zel");
    }
    if (filterIndex == 2 && !name.endsWith(QLatin1String(".csv"))) {
        return name + QLatin1String(".csv");
    }
    return name;
}

namespace {

int filterIndexOf(const QString& selected)
{
    const QStringList filters = FileDialogs::filter().split(QLatin1String(";;"));
    return int(filters.indexOf(selected)) + 1;
}

} // namespace

std::optional<FileDialogs::Choice> BoxFileDialogs::open(QWidget* parent, const QString& fileName)
{
    QString selected;
    const QString path = QFileDialog::getOpenFileName(parent, QStringLiteral("開く"), fileName, filter(), &selected);
    if (path.isEmpty()) {
        return std::nullopt;
    }
    return Choice{path, filterIndexOf(selected)};
}

std::optional<FileDialogs::Choice> BoxFileDialogs::save(QWidget* parent, const QString& fileName)
{
    QString start = fileName;
    while (true) {
        QString selected;
        const QString path = QFileDialog::getSaveFileName(parent, QStringLiteral("名前を付けて保存"), start, filter(),
                                                          &selected, QFileDialog::DontConfirmOverwrite);
        if (path.isEmpty()) {
            return std::nullopt;
        }
        const Choice choice{path, filterIndexOf(selected)};
        const QString target = completeSaveName(choice.path, choice.filterIndex);
        if (!QFileInfo::exists(target) ||
            QMessageBox::question(parent, QStringLiteral("名前を付けて保存"),
                                  target + QStringLiteral(" は既に存在します。\n置き換えますか？"),
                                  QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes) {
            return choice;
        }
        start = path;
    }
}
