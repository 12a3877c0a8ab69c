#pragma once

#include <QDialog>

class QComboBox;
class QPushButton;

// 小数桁の設定: the decimal places of computed results. Modeless; OK and ｷｬﾝｾﾙ hide it, so it
// keeps its choice for the next opening. Only OK hands on a digit count.
class dlgKeta : public QDialog
{
    Q_OBJECT

public:
    explicit dlgKeta(QWidget* parent);

    QComboBox* cboKeta = nullptr;
    QPushButton* OKButton = nullptr;
    QPushButton* CancelButton = nullptr;

    void OKButton_Click();
    void CancelButton_Click();

Q_SIGNALS:
    // OK: the decimal places chosen (0 when none was).
    void digitsChosen(qint16 digits);
};
