#pragma once

#include "calcstatus.h"

#include <QString>
#include <QStringList>
#include <QStringView>
#include <QList>
#include <array>

class CellSource;

// The formula engine. One object serves every sheet; it is used from the user-interface thread
// only, one evaluation at a time.
//
// A formula reaches Calc without its "=" signs and in capitals. It is checked and its negative
// groups rewritten (ExpCheck), its range sum, references and function calls are replaced by the
// texts of their values (FuncSelCheck), and the remaining arithmetic is evaluated with operator
// priorities, every operator result rounded half up to RoundDigits places and kept to 15
// significant digits.
class clsCal
{
public:
    explicit clsCal(qint16 roundDigits = 5);

    // The decimal places every rounded result is cut to; a change applies to the next Calc.
    qint16 RoundDigits() const { return m_roundDigits; }
    void setRoundDigits(qint16 digits) { m_roundDigits = digits; }

    // Evaluates one formula against cells. value is written only when the result is Ok.
    // A Calc started while another one runs is refused with Undefined.
    CalcStatus Calc(QStringView expression, double& value, CellSource& cells);

    // floor(x * 10^n + 0.5) / 10^n: halves go up, towards plus infinity.
    double Round45(double x, const qint16& n) const;

    // Replaces the range sum, cell references and function calls by their value texts.
    CalcStatus FuncSelCheck(QStringView expression, QString& plain);
    // Value text of one reference such as B12; inFunc when it stands right after a function's
    // "(", which leaves a negative value unwrapped (SIN(-5), not SIN((0-5))).
    CalcStatus GetSelValue(QStringView reference, QString& value, bool inFunc);
    // Value text of one call such as SIN(0.5) or SUM(A1:B5).
    CalcStatus GetFuncValue(QStringView call, QString& value);

    // Rejects bad characters, operator pairs, unbalanced parentheses and texts over 255
    // characters (setting ErrKind); otherwise rewrites (-5) as (0-5) into rewritten.
    bool ExpCheck(QStringView expression, QString& rewritten);

    // Applies the top operator to the two top operands.
    CalcStatus Calculation();

    static constexpr int StackSize = 129;

    std::array<qint16, 256> OpPriority{};
    std::array<double, StackSize> NumStack{};
    qint16 NumTop = 0;
    std::array<char16_t, StackSize> OpStack{};
    qint16 OpTop = 0;
    // Kind of the last rejected expression; kept from one Calc to the next.
    CalcStatus ErrKind = CalcStatus::Ok;

    QString RangeFrom;
    QString RangeTo;
    QStringList RefList;
    QList<bool> RefInFunc;
    QStringList FuncList;
    qint16 FuncCount = 0;

private:
    CalcStatus evaluate(QStringView plain, double& value);
    CalcStatus pushOperand(QStringView text);
    CalcStatus rangeSum(QString& value);
    double roundedResult(double r) const;
    static void rewriteMinus(QString& work);

    // Per operator-stack entry: the operand count when it was pushed, and whether an operand of
    // its own parenthesis group stood left of it.
    std::array<qint16, StackSize> m_leftTop{};
    std::array<bool, StackSize> m_hasLeft{};
    qint16 m_roundDigits;
    CellSource* m_cells = nullptr;
    bool m_busy = false;
    // Only the range that stage A of this evaluation found may be summed.
    bool m_rangeReady = false;
};
