#include "settings/dlgketa.h"

#include "ui/twips.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

dlgKeta::dlgKeta(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("dlgKeta"));
    setWindowTitle(QStringLiteral("小数桁の設定"));
    setModal(false);
    auto* text = new QHBoxLayout;
    text->addWidget(new QLabel(QStringLiteral("計算結果を"), this));
    auto* places = new QLabel(QStringLiteral("小数点以下"), this);
    text->addWidget(places);
    cboKeta = new QComboBox(this);
    cboKeta->setObjectName(QStringLiteral("cboKeta"));
    places->setBuddy(cboKeta); // names the box for a screen reader
    cboKeta->setEditable(false);
    for (int n = 0; n <= 9; ++n) {
        cboKeta->addItem(QString::number(n));
    }
    cboKeta->setCurrentIndex(-1); // the current count is not shown
    text->addWidget(cboKeta);
    text->addWidget(new QLabel(QStringLiteral("桁で表示する"), this));
    OKButton = new QPushButton(QStringLiteral("OK"), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setDefault(true);
    CancelButton = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OKButton);
    buttons->addWidget(CancelButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(text);
    layout->addLayout(buttons);
    resize(twipsToPixels(this, 3210), twipsToPixels(this, 1515));
    connect(OKButton, &QPushButton::clicked, this, &dlgKeta::OKButton_Click);
    connect(CancelButton, &QPushButton::clicked, this, &dlgKeta::CancelButton_Click);
}

void dlgKeta::OKButton_Click()
{
    hide();
    // With nothing chosen there is no new count: OK only closes, as a look at the dialog should.
    if (cboKeta->currentIndex() >= 0) {
        Q_EMIT digitsChosen(qint16(cboKeta->currentText().toInt()));
    }
}

void dlgKeta::CancelButton_Click()
{
    hide();
}
