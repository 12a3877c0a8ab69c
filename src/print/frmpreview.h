#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

// The print preview: the page at half size, with 印刷 to print it and 閉じる to hide the window.
// Made on first use and afterwards only hidden and shown again.
class frmPreview : public QDialog
{
    Q_OBJECT

public:
    explicit frmPreview(QWidget* parent);

    QPushButton* cmdPrint = nullptr;
    QPushButton* cmdPreview = nullptr;
    QLabel* PreviewPicture = nullptr;

    // Shows the page image; the window takes the picture + 400 twips wide and + 1200 high.
    void showPage(const QImage& page);

Q_SIGNALS:
    void printRequested();

private:
    int px(int twips) const;
};
