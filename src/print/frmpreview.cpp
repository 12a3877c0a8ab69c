#include "print/frmpreview.h"

#include "ui/twips.h"

#include <QLabel>
#include <QPixmap>
#include <QPushButton>

frmPreview::frmPreview(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmPreview"));
    setWindowTitle(QStringLiteral("プレビュー"));
    setModal(true);
    cmdPrint = new QPushButton(QStringLiteral("印刷"), this);
    cmdPrint->setObjectName(QStringLiteral("cmdPrint"));
    cmdPrint->setGeometry(px(240), px(120), px(1215), px(375));
    cmdPreview = new QPushButton(QStringLiteral("閉じる"), this);
    cmdPreview->setObjectName(QStringLiteral("cmdPreview"));
    cmdPreview->setGeometry(px(1800), px(120), px(1215), px(375));
    PreviewPicture = new QLabel(this);
    PreviewPicture->setObjectName(QStringLiteral("PreviewPicture"));
    // The page's name for a screen reader.
    PreviewPicture->setAccessibleName(QStringLiteral("プレビュー"));
    PreviewPicture->move(px(120), px(600));
    PreviewPicture->setFrameShape(QFrame::Box);
    connect(cmdPrint, &QPushButton::clicked, this, &frmPreview::printRequested);
    connect(cmdPreview, &QPushButton::clicked, this, &QDialog::hide);
}

int frmPreview::px(int twips) const
{
    return twipsToPixels(this, twips);
}

void frmPreview::showPage(const QImage& page)
{
    QPixmap pixmap = QPixmap::fromImage(page);
    pixmap.setDevicePixelRatio(1.0);
    PreviewPicture->setPixmap(pixmap);
    PreviewPicture->resize(page.size());
    setFixedSize(page.width() + px(400), page.height() + px(1200));
}
