#include "chart/frmchartsel.h"

#include "ui/twips.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <cmath>

frmChartSel::frmChartSel(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmChartSel"));
    setWindowTitle(QStringLiteral("グラフの種類選択"));
    setModal(false);

    // Types in two columns, 2D on the left and 3D on the right, line above bar.
    auto* types = new QGroupBox(QStringLiteral("グラフの種類"), this);
    auto* typeGrid = new QGridLayout(types);
    const char* typeLabels[] = {"2D線", "2D棒", "3D線", "3D棒"};
    for (int k = 0; k < 4; ++k) {
        optGraph[size_t(k)] = new QRadioButton(QString::fromUtf8(typeLabels[k]), types);
        optGraph[size_t(k)]->setObjectName(QStringLiteral("optGraph%1").arg(k));
        typeGrid->addWidget(optGraph[size_t(k)], k % 2, k / 2);
    }
    auto* colours = new QGroupBox(QStringLiteral("グラフの色"), this);
    auto* colourLayout = new QVBoxLayout(colours);
    const char* colourLabels[] = {"カラー", "白黒"};
    for (int k = 0; k < 2; ++k) {
        optColor[size_t(k)] = new QRadioButton(QString::fromUtf8(colourLabels[k]), colours);
        optColor[size_t(k)]->setObjectName(QStringLiteral("optColor%1").arg(k));
        colourLayout->addWidget(optColor[size_t(k)]);
    }
    optGraph[0]->setChecked(true);
    optColor[0]->setChecked(true);

    auto* titles = new QGridLayout;
    const char* titleLabels[] = {"グラフ　タイトル", "X軸　　タイトル", "Y軸　　タイトル"};
    const char* sizeLabels[] = {"グラフタイトルフォントサイズ", "X軸タイトル　フォントサイズ",
                                "Y軸タイトル　フォントサイズ"};
    for (int k = 0; k < 3; ++k) {
        txtTitle[size_t(k)] = new QLineEdit(this);
        txtTitle[size_t(k)]->setObjectName(QStringLiteral("txtTitle%1").arg(k));
        // Room for a title of 20 full-width characters and the caret after them, besides the
        // box's own frame and margins, which its size hint holds beside the room of 17 "x".
        const QFontMetrics metrics(txtTitle[size_t(k)]->font());
        txtTitle[size_t(k)]->setMinimumWidth(metrics.horizontalAdvance(QString(21, QChar(0x3042))) +
                                             txtTitle[size_t(k)]->sizeHint().width() -
                                             17 * metrics.horizontalAdvance(QLatin1Char('x')));
        cboFontTitle[size_t(k)] = new QComboBox(this);
        cboFontTitle[size_t(k)]->setObjectName(QStringLiteral("cboFontTitle%1").arg(k));
        cboFontTitle[size_t(k)]->setEditable(true); // a size may be typed
        cboFontTitle[size_t(k)]->addItems({QStringLiteral("10"), QStringLiteral("12"),
                                           QStringLiteral("14"), QStringLiteral("16"),
                                           QStringLiteral("18")});
        cboFontTitle[size_t(k)]->setCurrentIndex(0);
        // Each box is named by its caption for a screen reader.
        auto* titleLabel = new QLabel(QString::fromUtf8(titleLabels[k]), this);
        titleLabel->setBuddy(txtTitle[size_t(k)]);
        auto* sizeLabel = new QLabel(QString::fromUtf8(sizeLabels[k]), this);
        sizeLabel->setBuddy(cboFontTitle[size_t(k)]);
        cboFontTitle[size_t(k)]->lineEdit()->setAccessibleName(sizeLabel->text());
        titles->addWidget(titleLabel, k, 0);
        titles->addWidget(txtTitle[size_t(k)], k, 1);
        titles->addWidget(sizeLabel, k, 2);
        titles->addWidget(cboFontTitle[size_t(k)], k, 3);
    }

    cmdGOK = new QPushButton(QStringLiteral("OK"), this);
    cmdGOK->setObjectName(QStringLiteral("cmdGOK"));
    cmdGOK->setDefault(true);
    cmdGCancel = new QPushButton(QStringLiteral("Cancel"), this);
    cmdGCancel->setObjectName(QStringLiteral("cmdGCancel"));

    auto* groups = new QHBoxLayout;
    groups->addWidget(types);
    groups->addWidget(colours);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdGOK);
    buttons->addWidget(cmdGCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(groups);
    layout->addLayout(titles);
    layout->addLayout(buttons);
    // At least the dialog's own size, and as wide as the title boxes need.
    resize(QSize(twipsToPixels(this, 5310), twipsToPixels(this, 3825)).expandedTo(sizeHint()));

    connect(cmdGOK, &QPushButton::clicked, this, [this] {
        hide();
        Q_EMIT chartRequested();
    });
    connect(cmdGCancel, &QPushButton::clicked, this, &QDialog::hide);
}

int frmChartSel::graphType() const
{
    static const int types[] = {3, 1, 2, 0};
    for (int k = 0; k < 4; ++k) {
        if (optGraph[size_t(k)]->isChecked()) {
            return types[k];
        }
    }
    return 3;
}

bool frmChartSel::graphMono() const
{
    return optColor[1]->isChecked();
}

ChartTitle frmChartSel::title(int which) const
{
    ChartTitle t;
    t.text = txtTitle[size_t(which)]->text();
    bool ok = false;
    const float points = cboFontTitle[size_t(which)]->currentText().trimmed().toFloat(&ok);
    if (ok && std::isfinite(points) && points > 0 && points <= 200) {
        t.points = points;
    }
    return t;
}
