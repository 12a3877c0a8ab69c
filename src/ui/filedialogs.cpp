#include "ui/filedialogs.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

QString FileDialogs::filter()
{
    return QStringLiteral(
        "表計算ファイル(*.zel);;CSVファイル(*.csv);;Excel ブック (*.xlsx);;すべてのファイル(*.*)");
}

namespace {

FileFilter filterOf(const QString& selected)
{
    const QStringList filters = FileDialogs::filter().split(QLatin1String(";;"));
    switch (filters.indexOf(selected)) {
    case 1:
        return FileFilter::Csv;
    case 2:
        return FileFilter::Book;
    case 3:
        return FileFilter::AllFiles;
    default:
        return FileFilter::SheetFile;
    }
}

} // namespace

std::optional<FileDialogs::Choice> BoxFileDialogs::open(QWidget* parent, const QString& fileName)
{
    QString selected;
    const QString path =
        QFileDialog::getOpenFileName(parent, QStringLiteral("開く"), fileName, filter(), &selected);
    if (path.isEmpty()) {
        return std::nullopt;
    }
    return Choice{path, filterOf(selected)};
}

std::optional<FileDialogs::Choice> BoxFileDialogs::save(QWidget* parent, const QString& fileName,
                                                        const SaveTarget& target)
{
    QString start = fileName;
    while (true) {
        QString selected;
        const QString path =
            QFileDialog::getSaveFileName(parent, QStringLiteral("名前を付けて保存"), start,
                                         filter(), &selected, QFileDialog::DontConfirmOverwrite);
        if (path.isEmpty()) {
            return std::nullopt;
        }
        const Choice choice{path, filterOf(selected)};
        const QString written = target(choice);
        if (!QFileInfo::exists(written) ||
            QMessageBox::question(parent, QStringLiteral("名前を付けて保存"),
                                  written + QStringLiteral(" は既に存在します。\n置き換えますか？"),
                                  QMessageBox::Yes | QMessageBox::No,
                                  QMessageBox::No) == QMessageBox::Yes) {
            return choice;
        }
        start = path;
    }
}
