#pragma once

#include <QDialog>

class QComboBox;
class QPushButton;

// 小数桁の設定: the decimal places of computed results. Modeless; OK and ｷｬﾝｾﾙ hide it, so it
// keeps its choice for the next opening. It writes the program's digit count on OK only.
class dlgKeta : public QDialog
{
    Q_OBJECT

public:
    dlgKeta(qint16& roundDigits, QWidget* parent);

    QComboBox* cboKeta = nullptr;
    QPushButton* OKButton = nullptr;
    QPushButton* CancelButton = nullptr;

    void OKButton_Click();
    void CancelButton_Click();

private:
    qint16& m_roundDigits;
};
