#pragma once

#include "calc/calcstatus.h"
#include "calc/worktext.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <array>
#include <optional>
#include <vector>

class CellSource;
class DecimalDigits;

// The formula engine. One object serves every sheet; it is used from the user-interface thread
// only, one evaluation at a time.
//
// A formula reaches Calc without its "=" signs and in capitals. It is checked and its negative
// groups rewritten (ExpCheck), its range sum, references and function calls are replaced by the
// texts of their values (FuncSelCheck), and the remaining arithmetic is evaluated with operator
// priorities, every operator result rounded half up to RoundDigits places and kept to 15
// significant digits.
//
// A sheet is recalculated cell by cell, so the working texts and stacks of an evaluation are
// members that keep their room: after the first few formulas an evaluation allocates nothing.
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

    // Replaces the range sum, cell references and function calls by their value texts. plain
    // holds the result only when the status is Ok.
    CalcStatus FuncSelCheck(QStringView expression, QString& plain);
    // Value text of one reference such as B12; inFunc when it stands right after a function's
    // "(", which leaves a negative value unwrapped (SIN(-5), not SIN((0-5))).
    CalcStatus GetSelValue(QStringView reference, QString& value, bool inFunc);
    // Value text of one call such as SIN(0.5) or SUM(A1:B5).
    CalcStatus GetFuncValue(QStringView call, QString& value);

    // Rejects bad characters, operator pairs, unbalanced parentheses and texts over 255
    // characters (setting ErrKind); otherwise rewrites (-5) as (0-5) into rewritten.
    bool ExpCheck(QStringView expression, QString& rewritten);

    // The cell references and function calls the last FuncSelCheck found, in order of
    // position; RefInFunc tells for each reference whether it stands right after a function's
    // "(". Built on request from the positions the evaluation keeps.
    QStringList RefList() const;
    QList<bool> RefInFunc() const;
    QStringList FuncList() const;
    qint16 FuncCount() const;

    // Kind of the last rejected expression; kept from one Calc to the next.
    CalcStatus ErrKind = CalcStatus::Ok;

private:
    static constexpr int StackSize = 129;

    // Where a reference or call stands in the working text, end exclusive.
    struct Span
    {
        qsizetype begin;
        qsizetype end;
        bool inFunc = false; // a reference right after a function's "("
    };

    template <typename AppendValue>
    static CalcStatus replaceSpans(QStringView text, const std::vector<Span>& spans, WorkText& out,
                                   AppendValue appendValue);
    static QStringList spanTexts(QStringView text, const std::vector<Span>& spans);

    // Checking: ExpCheck's verdict with the text it accepted, the expression or its rewriting.
    std::optional<QStringView> checkedText(QStringView expression);
    std::nullopt_t rejected(CalcStatus kind);
    static void rewriteMinus(WorkText& work);

    // Replacing values: FuncSelCheck into m_plain, one kind of value after the other.
    CalcStatus replaceValues(QStringView expression);
    CalcStatus replaceRangeSum(QStringView text);
    CalcStatus findRangeSum(QStringView text, qsizetype colon, QStringView& call);
    CalcStatus replaceReferences();
    void findReferences(QStringView text);
    CalcStatus replaceCalls();
    CalcStatus findCalls(QStringView text);
    CalcStatus appendSelValue(QStringView reference, bool inFunc, WorkText& out);
    CalcStatus appendFuncValue(QStringView call, WorkText& out);
    QStringView restoredArgument(QStringView argument);
    CalcStatus appendRangeSum(WorkText& out);

    // Evaluating: operator priority over the operand and operator stacks.
    CalcStatus evaluate(QStringView plain, double& value);
    void clearStacks();
    CalcStatus pushOperand(QStringView text, const DecimalDigits& digits);
    CalcStatus takeOperator(char16_t op);
    CalcStatus applyPriorOperators(char16_t op);
    CalcStatus closeGroup();
    CalcStatus pushOperator(char16_t op);
    CalcStatus applyTopOperator();
    CalcStatus finalValue(QStringView plain, double& value);
    double roundedResult(double r) const;

    qint16 m_roundDigits;
    CellSource* m_cells = nullptr;
    bool m_busy = false;
    // Only the range that this evaluation's range sum step found may be summed.
    bool m_rangeReady = false;
    // The two ends of that range, as written (A1 and B5 of SUM(A1:B5)).
    QString m_rangeFrom;
    QString m_rangeTo;

    // The stacks of one evaluation. Per operator entry also the operand count when it was
    // pushed, and whether an operand of its own parenthesis group stood left of it; per open
    // "(" the operand count, above which an operator's left operand must lie.
    std::array<double, StackSize> m_operands{};
    qint16 m_operandTop = 0;
    std::array<char16_t, StackSize> m_operators{};
    std::array<qint16, StackSize> m_leftTop{};
    std::array<bool, StackSize> m_hasLeft{};
    qint16 m_operatorTop = 0;
    std::array<qint16, StackSize> m_groupBase{};
    qint16 m_groupTop = 0;

    // The working texts of one evaluation, each step writing the next.
    WorkText m_check;     // ExpCheck's rewriting
    WorkText m_afterSum;  // with the range sum replaced; RefList points into it
    WorkText m_afterRefs; // with the references replaced; FuncList points into it
    WorkText m_plain;     // only numbers, operators and parentheses left
    WorkText m_sumValue;  // the range sum's value text, put in wherever its call stands
    WorkText m_argument;  // a function's argument with the rewritten minus undone
    std::vector<Span> m_sumCalls;
    std::vector<Span> m_references;
    std::vector<Span> m_calls;
};
