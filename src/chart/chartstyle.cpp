#include "chart/chartstyle.h"

#include <QRandomGenerator>

ChartType chartTypeOfNumber(int number)
{
    static const ChartType types[] = {ChartType::Bar3D, ChartType::Bar2D, ChartType::Line3D,
                                      ChartType::Line2D};
    return number >= 0 && number < 4 ? types[number] : ChartType::Bar2D;
}

void chooseMonoAppearance(ChartStyle& style, int seriesCount, QRandomGenerator& random)
{
    style.dashStyles.clear();
    style.patterns.clear();
    for (int i = 0; i < seriesCount; ++i) {
        style.dashStyles.push_back(int(random.generateDouble() * 8) + 1);
        style.patterns.push_back(int(random.generateDouble() * 17) + 1);
    }
}
