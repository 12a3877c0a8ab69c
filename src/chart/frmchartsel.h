#pragma once

#include "chart/chartstyle.h"

#include <QDialog>
#include <array>

class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

// グラフの種類選択: chart type, colour or black and white, and three titles with their font
// sizes. Modeless; OK and Cancel hide it, so every choice is kept for the next opening.
class frmChartSel : public QDialog
{
    Q_OBJECT

public:
    explicit frmChartSel(QWidget* parent);

    std::array<QRadioButton*, 4> optGraph{}; // 2D線, 2D棒, 3D線, 3D棒
    std::array<QRadioButton*, 2> optColor{}; // カラー, 白黒
    std::array<QLineEdit*, 3> txtTitle{};    // chart, X axis, Y axis
    std::array<QComboBox*, 3> cboFontTitle{};
    QPushButton* cmdGOK = nullptr;
    QPushButton* cmdGCancel = nullptr;

    // The chart menu's number of the chosen type (0 3D bar, 1 2D bar, 2 3D line, 3 2D line), as
    // chartTypeOfNumber reads it.
    int graphType() const;
    bool graphMono() const;
    // The chosen titles; a font size that is not a number keeps the default of 10 points.
    ChartTitle title(int which) const;

Q_SIGNALS:
    // OK: the choices are to be applied and the chart window opened.
    void chartRequested();
};
