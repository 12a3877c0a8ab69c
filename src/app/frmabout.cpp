#include "app/frmabout.h"

#include "app/toolicons.h"
#include "ui/gridpainter.h"
#include "ui/messages.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

frmAbout::frmAbout(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("表計算Tarn! のﾊﾞｰｼﾞｮﾝ情報"));
    const QFont font = GridPainter::gridFont(11);

    picIcon = new QLabel(this);
    picIcon->setObjectName(QStringLiteral("picIcon"));
    picIcon->setAccessibleName(applicationTitle()); // the program's icon, for a screen reader
    picIcon->setPixmap(applicationIcon().pixmap(48, 48));
    lblTitle = new QLabel(QStringLiteral("表計算Tarn!"), this);
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    QFont titleFont = GridPainter::gridFont(16);
    titleFont.setBold(true);
    lblTitle->setFont(titleFont);
    lblVersion = new QLabel(QStringLiteral("ﾊﾞｰｼﾞｮﾝ %1.%2.%3")
                                .arg(ZELTARN_VERSION_MAJOR)
                                .arg(ZELTARN_VERSION_MINOR)
                                .arg(ZELTARN_VERSION_PATCH),
                            this);
    lblVersion->setObjectName(QStringLiteral("lblVersion"));
    lblVersion->setFont(font);
    lblDescription = new QLabel(
        QStringLiteral("日本語の表計算ソフトです。\n500 行 × 26 列のシートを 10 枚まで開き、"
                       "数式・ファイル・印刷・グラフを扱えます。"),
        this);
    lblDescription->setObjectName(QStringLiteral("lblDescription"));
    lblDescription->setFont(font);
    lblDescription->setWordWrap(true);
    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QGridLayout(this);
    layout->addWidget(picIcon, 0, 0, 3, 1, Qt::AlignTop);
    layout->addWidget(lblTitle, 0, 1);
    layout->addWidget(lblVersion, 1, 1);
    layout->addWidget(lblDescription, 2, 1);
    layout->addWidget(cmdOK, 3, 1, Qt::AlignRight);
    setMinimumWidth(360);
}
