#include "calc/calcstatus.h"

#include <QString>

QString markerText(CalcStatus status)
{
    switch (status) {
    case CalcStatus::BadCharacter:
        return QStringLiteral("Err文字");
    case CalcStatus::BadParenthesis:
        return QStringLiteral("Errカッコ");
    case CalcStatus::TooLong:
        return QStringLiteral("ErrOVER");
    case CalcStatus::DivisionByZero:
        return QStringLiteral("Err0割り");
    case CalcStatus::BadFunction:
        return QStringLiteral("Err関数");
    case CalcStatus::CircularRange:
        return QStringLiteral("Err循環");
    case CalcStatus::EmptyCell:
        return QStringLiteral("Errセル");
    default:
        return QStringLiteral("Err");
    }
}
