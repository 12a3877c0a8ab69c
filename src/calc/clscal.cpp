#include "clscal.h"

#include "cellsource.h"
#include "numbertext.h"
#include "sheetsize.h"

#include <QVarLengthArray>
#include <algorithm>
#include <cmath>
#include <optional>

namespace {

constexpr qsizetype MaxExpressionLength = 255;
constexpr int RangeRows = 200;
// A referenced cell may hold a long text; past this the plain text cannot come back under
// 255 characters in any sensible formula, so the evaluation stops there.
constexpr qsizetype MaxWorkingLength = 1 << 16;

constexpr std::array<double, 23> Pow10 = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                          1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                          1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

bool isUpper(QChar c)
{
    return c >= QLatin1Char('A') && c <= QLatin1Char('Z');
}

bool isDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

bool isOperator(QChar c)
{
    switch (c.unicode()) {
    case '+':
    case '-':
    case '*':
    case '/':
    case '^':
        return true;
    default:
        return false;
    }
}

// A function's result as it goes into the formula: 0.5 rather than .5, and a negative value
// as a subtraction from zero, since the evaluator has no unary minus.
QString functionValueText(double value)
{
    QString text = NumberText(value);
    if (text.startsWith(QLatin1Char('.'))) {
        text.prepend(QLatin1Char('0'));
    } else if (text.startsWith(QLatin1String("-."))) {
        text.insert(1, QLatin1Char('0'));
    }
    if (value < 0) {
        text = QLatin1String("(0") + text + QLatin1Char(')');
    }
    return text;
}

// Row of a reference or range end: the number rounded, halves to the even neighbour (A2.5 is
// row 2); nothing when it has an exponent or lies outside 1..maxRow.
std::optional<int> referenceRow(QStringView rest, int maxRow)
{
    if (rest.size() <= 3 && !rest.isEmpty()) { // the usual B12: digits only
        int row = 0;
        for (const QChar c : rest) {
            if (!isDigit(c)) {
                row = -1;
                break;
            }
            row = row * 10 + (c.unicode() - '0');
        }
        if (row >= 0) {
            return row >= 1 && row <= maxRow ? std::optional<int>(row) : std::nullopt;
        }
    }
    if (!isNumber(rest) || rest.contains(QLatin1Char('E'))) {
        return std::nullopt;
    }
    const auto number = readFormulaNumber(rest);
    if (!number || *number < 0.5 || *number > maxRow + 0.5) {
        return std::nullopt;
    }
    const int row = int(std::nearbyint(*number));
    if (row < 1 || row > maxRow) {
        return std::nullopt;
    }
    return row;
}

} // namespace

clsCal::clsCal(qint16 roundDigits) : m_roundDigits(roundDigits)
{
    OpPriority.fill(0);
    OpPriority[0] = -1; // bottom marker
    OpPriority[')'] = 0;
    OpPriority['+'] = 1;
    OpPriority['-'] = 1;
    OpPriority['*'] = 2;
    OpPriority['/'] = 2;
    OpPriority['^'] = 3;
    OpPriority['('] = 5;
}

CalcStatus clsCal::Calc(QStringView expression, double& value, CellSource& cells)
{
    if (m_busy) {
        return CalcStatus::Undefined;
    }
    m_busy = true;
    m_cells = &cells;
    struct Release
    {
        clsCal* cal;
        ~Release()
        {
            cal->m_busy = false;
            cal->m_cells = nullptr;
        }
    } release{this};

    NumTop = 0;
    OpTop = 0;
    OpStack[0] = 0;

    QString rewritten;
    if (!ExpCheck(expression, rewritten)) {
        // A formula of "=" signs only has nothing to compute.
        return expression.isEmpty() ? CalcStatus::Undefined : ErrKind;
    }
    QString plain;
    if (const CalcStatus status = FuncSelCheck(rewritten, plain); status != CalcStatus::Ok) {
        return status;
    }
    if (plain.size() > MaxExpressionLength) {
        return CalcStatus::Undefined;
    }
    return evaluate(plain, value);
}

double clsCal::Round45(double x, const qint16& n) const
{
    const double scale = (n >= 0 && n < qint16(Pow10.size())) ? Pow10[n] : std::pow(10.0, n);
    return std::floor(x * scale + 0.5) / scale;
}

// Round45 and then the 15 significant digits an operand keeps. For the usual digit counts the
// rounded value k / 10^n already has at most 15 digits, which saves the text round trip.
double clsCal::roundedResult(double r) const
{
    const qint16 n = m_roundDigits;
    if (n >= 0 && n < qint16(Pow10.size())) {
        const double k = std::floor(r * Pow10[n] + 0.5);
        if (std::fabs(k) < 1e15) {
            return k / Pow10[n];
        }
        return cutTo15Digits(k / Pow10[n]);
    }
    return cutTo15Digits(Round45(r, n));
}

bool clsCal::ExpCheck(QStringView expression, QString& rewritten)
{
    const qsizetype n = expression.size();
    if (n > MaxExpressionLength) {
        ErrKind = CalcStatus::TooLong;
        return false;
    }
    if (n == 0) {
        return false;
    }

    int opens = 0;
    int closes = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = expression[i];
        const char16_t u = c.unicode();
        if (u == '"' || u == ',') {
            ErrKind = CalcStatus::BadCharacter;
            return false;
        }
        if (u == '(') {
            ++opens;
        } else if (u == ')') {
            ++closes;
        }
        const bool allowed = (u >= 40 && u <= 58) || (u >= 65 && u <= 90) || u == 94;
        if (!allowed || (i > 0 && isOperator(c) && isOperator(expression[i - 1]))) {
            ErrKind = CalcStatus::BadCharacter;
            return false;
        }
    }
    if (opens != closes) {
        ErrKind = CalcStatus::BadParenthesis;
        return false;
    }

    QString work = expression.toString();
    if (work.contains(QLatin1String("(-"))) {
        rewriteMinus(work);
    }

    // A leading minus only negates a single operand (-5, -A1, -SIN(30)).
    if (work.front() == QLatin1Char('-')) {
        for (qsizetype i = 1; i < work.size(); ++i) {
            if (isOperator(work[i])) {
                ErrKind = CalcStatus::BadParenthesis;
                return false;
            }
        }
    }

    // A "(-" left over must hold a single operand up to its ")"; "^" is not looked for.
    if (work.size() > 2) {
        for (qsizetype j = 1; j < work.size() - 1; ++j) {
            if (work[j] != QLatin1Char('-') || work[j - 1] != QLatin1Char('(')) {
                continue;
            }
            const qsizetype r = work.indexOf(QLatin1Char(')'), j + 1);
            if (r < 0) {
                ErrKind = CalcStatus::BadParenthesis;
                return false;
            }
            for (qsizetype k = j + 1; k < r; ++k) {
                const char16_t u = work[k].unicode();
                if (u == '+' || u == '-' || u == '*' || u == '/') {
                    ErrKind = CalcStatus::BadParenthesis;
                    return false;
                }
            }
        }
    }

    rewritten = work;
    return true;
}

// Turns (-5) and (-A1) into (0-5) and (0-A1), group by group from the left. The searches for
// "(" and ")" advance independently; a group the ")" search has already passed ends the
// rewriting, and what is left unrewritten is judged by the checks that follow.
void clsCal::rewriteMinus(QString& work)
{
    qsizetype p = 0; // next "(" search start
    qsizetype q = 0; // next ")" search start
    for (;;) {
        qsizetype g = work.indexOf(QLatin1Char('('), p);
        if (g < 0) {
            return;
        }
        const qsizetype h = q < work.size() ? work.indexOf(QLatin1Char(')'), q) : -1;
        if (h < 0 || h < g) {
            return;
        }
        g = work.lastIndexOf(QLatin1Char('('), h - 1);
        const QStringView inner = QStringView(work).sliced(g + 1, h - g - 1);
        const bool negatedReference =
            inner.size() >= 2 && inner[0] == QLatin1Char('-') && isUpper(inner[1]);
        if (isNumber(inner) || negatedReference) {
            const qsizetype at = work.indexOf(QLatin1String("(-"), g);
            if (at >= 0) {
                work.insert(at + 1, QLatin1Char('0'));
            }
        }
        p = h + 2;
        q = h + 5;
    }
}

CalcStatus clsCal::FuncSelCheck(QStringView expression, QString& plain)
{
    RefList.clear();
    RefInFunc.clear();
    FuncList.clear();
    FuncCount = 0;
    QString text = expression.toString();

    // Stage A: the range sum. Only the first ":" is looked at.
    if (const qsizetype c = text.indexOf(QLatin1Char(':')); c >= 0) {
        if (c < 6) {
            return CalcStatus::BadCharacter; // no room for "SUM(" in front of it
        }
        const qsizetype d = text.indexOf(QLatin1Char('('), c - 6);
        const qsizetype e = text.indexOf(QLatin1Char(')'), c);
        if (d < 0 || e < 0 || d > c) {
            return CalcStatus::BadCharacter;
        }
        if (d < 3 || QStringView(text).sliced(d - 3, 3) != QLatin1String("SUM")) {
            return CalcStatus::BadCharacter;
        }
        RangeFrom.clear();
        RangeTo.clear();
        if (e - d <= 5) {
            return CalcStatus::BadFunction;
        }
        RangeFrom = text.sliced(d + 1, c - d - 1).trimmed();
        RangeTo = text.sliced(c + 1, e - c - 1).trimmed();
        const QString call = text.sliced(d - 3, e - d + 4);
        QString value;
        m_rangeReady = true;
        const CalcStatus status = GetFuncValue(call, value);
        m_rangeReady = false;
        if (status != CalcStatus::Ok) {
            return status;
        }
        text.replace(call, value);
        if (text.contains(QLatin1Char(':'))) {
            return CalcStatus::BadFunction; // a second range: only one sum is computed
        }
    }

    // Stage B: cell references, each replaced at its own place by its value text.
    struct Span
    {
        qsizetype begin;
        qsizetype end;
    };
    QVarLengthArray<Span, 64> spans;
    for (qsizetype b = 0, n = text.size(); b < n;) {
        if (!(isUpper(text[b]) && b + 1 < n && text[b + 1] >= QLatin1Char('1') &&
              text[b + 1] <= QLatin1Char('9'))) {
            ++b;
            continue;
        }
        qsizetype end = b + 2;
        while (end < n && !isOperator(text[end]) && text[end] != QLatin1Char(')')) {
            ++end;
        }
        spans.append({b, end});
        RefList.append(text.sliced(b, end - b));
        RefInFunc.append(b >= 2 && isUpper(text[b - 2]));
        b = end + 1;
    }
    if (!spans.isEmpty()) {
        QString replaced;
        replaced.reserve(text.size() + 16 * spans.size());
        qsizetype from = 0;
        for (qsizetype i = 0; i < spans.size(); ++i) {
            QString value;
            const CalcStatus status = GetSelValue(RefList[i], value, RefInFunc[i]);
            if (status != CalcStatus::Ok) {
                return status;
            }
            replaced += QStringView(text).sliced(from, spans[i].begin - from);
            replaced += value;
            from = spans[i].end;
            if (replaced.size() > MaxWorkingLength) {
                return CalcStatus::Undefined;
            }
        }
        replaced += QStringView(text).sliced(from);
        text = std::move(replaced);
    }

    // Stage C: function calls, from a name of two or more letters to the first ")". Each call
    // is replaced where it stands. That is the same as replacing every occurrence of its text
    // in turn: a call's text can only reappear inside a call with a longer name, and no known
    // name ends in another one, so such a call fails whichever way it is replaced.
    struct Call
    {
        qsizetype begin;
        qsizetype end;
    };
    QVarLengthArray<Call, 32> calls;
    for (qsizetype k = 0, n = text.size(); k < n;) {
        if (!(isUpper(text[k]) && k + 1 < n && isUpper(text[k + 1]))) {
            ++k;
            continue;
        }
        const qsizetype r = text.indexOf(QLatin1Char(')'), k + 2);
        if (r < 0) {
            return CalcStatus::BadFunction;
        }
        calls.append({k, r + 1});
        FuncList.append(text.sliced(k, r - k + 1));
        k = r + 1;
    }
    FuncCount = qint16(std::min<qsizetype>(FuncList.size(), 32767));
    if (!calls.isEmpty()) {
        QString replaced;
        replaced.reserve(text.size() + 8 * calls.size());
        qsizetype from = 0;
        for (qsizetype i = 0; i < calls.size(); ++i) {
            QString value;
            const CalcStatus status = GetFuncValue(FuncList[i], value);
            if (status != CalcStatus::Ok) {
                return status;
            }
            if (value.startsWith(QLatin1Char('-'))) {
                value = QLatin1String("(0") + value + QLatin1Char(')');
            }
            replaced += QStringView(text).sliced(from, calls[i].begin - from);
            replaced += value;
            from = calls[i].end;
        }
        replaced += QStringView(text).sliced(from);
        text = std::move(replaced);
    }
    plain = std::move(text);
    return CalcStatus::Ok;
}

CalcStatus clsCal::GetSelValue(QStringView reference, QString& value, bool inFunc)
{
    if (reference.isEmpty() || !isUpper(reference[0]) || !isNumber(reference.sliced(1))) {
        return CalcStatus::BadCharacter;
    }
    const auto row = referenceRow(reference.sliced(1), LastRow);
    if (!row) {
        return CalcStatus::BadCharacter; // no such cell on the sheet
    }
    const int col = reference[0].unicode() - 64;
    if (!m_cells) {
        return CalcStatus::EmptyCell;
    }
    value = m_cells->cellValue(*row, col).text();
    if (value.isEmpty()) {
        return CalcStatus::EmptyCell;
    }
    if (!inFunc && value.startsWith(QLatin1Char('-'))) {
        value = QLatin1String("(0") + value + QLatin1Char(')');
    }
    return CalcStatus::Ok;
}

CalcStatus clsCal::GetFuncValue(QStringView call, QString& value)
{
    const qsizetype lp = call.indexOf(QLatin1Char('('));
    if (lp <= 0) {
        return CalcStatus::BadFunction;
    }
    const qsizetype rp = call.indexOf(QLatin1Char(')'), lp);
    if (rp < 0) {
        return CalcStatus::BadFunction;
    }
    const QStringView name = call.first(lp);
    QStringView argument = call.sliced(lp + 1, rp - lp - 1);
    // Undo the rewriting of a negative argument: SIN(-5) arrives as SIN(0-5).
    QString unrewritten;
    if (argument.startsWith(QLatin1String("0-"))) {
        unrewritten = argument.toString().replace(QLatin1String("0-"), QLatin1String("-"));
        argument = unrewritten;
    }

    if (name == QLatin1String("SUM")) {
        return rangeSum(value);
    }

    double x = 0;
    if (name != QLatin1String("PI")) {
        const auto number = readFormulaNumber(argument);
        if (argument.isEmpty() || !number) {
            return CalcStatus::BadFunction;
        }
        x = *number;
    }

    double result = 0;
    if (name == QLatin1String("PI")) {
        result = Round45(3.14159265358979, m_roundDigits);
    } else if (name == QLatin1String("ABS")) {
        result = std::fabs(x);
    } else if (name == QLatin1String("SIN")) {
        result = Round45(std::sin(x), m_roundDigits);
    } else if (name == QLatin1String("COS")) {
        result = Round45(std::cos(x), m_roundDigits);
    } else if (name == QLatin1String("TAN")) {
        result = Round45(std::tan(x), m_roundDigits);
    } else if (name == QLatin1String("SQRT")) {
        if (x < 0) {
            return CalcStatus::BadFunction;
        }
        result = Round45(std::sqrt(x), m_roundDigits);
    } else {
        return CalcStatus::BadFunction;
    }
    if (!std::isfinite(result)) {
        return CalcStatus::Undefined;
    }
    value = functionValueText(result);
    return CalcStatus::Ok;
}

// Sum of the rectangle between RangeFrom and RangeTo, column by column; rows 1..200 only.
CalcStatus clsCal::rangeSum(QString& value)
{
    if (!m_rangeReady || RangeFrom.isEmpty() || RangeTo.isEmpty()) {
        return CalcStatus::BadFunction;
    }
    int rows[2];
    int cols[2];
    const QString* ends[2] = {&RangeFrom, &RangeTo};
    for (int i = 0; i < 2; ++i) {
        const QString& end = *ends[i];
        if (!isUpper(end[0])) {
            return CalcStatus::BadFunction;
        }
        const auto row = referenceRow(QStringView(end).sliced(1), RangeRows);
        if (!row) {
            return CalcStatus::BadFunction;
        }
        rows[i] = *row;
        cols[i] = end[0].unicode() - 64;
    }
    const int top = std::min(rows[0], rows[1]);
    const int bottom = std::max(rows[0], rows[1]);
    const int left = std::min(cols[0], cols[1]);
    const int right = std::max(cols[0], cols[1]);
    if (!m_cells) {
        return CalcStatus::BadFunction;
    }
    const int ownRow = m_cells->currentRow();
    const int ownCol = m_cells->currentCol();
    if (ownRow >= top && ownRow <= bottom && ownCol >= left && ownCol <= right) {
        return CalcStatus::CircularRange;
    }

    double sum = 0;
    for (int col = left; col <= right; ++col) {
        for (int row = top; row <= bottom; ++row) {
            const auto number = m_cells->cellValue(row, col).textAsNumber();
            if (!number) {
                return CalcStatus::BadFunction; // empty, or a text that is no number
            }
            sum += *number;
        }
    }
    if (!std::isfinite(sum)) {
        return CalcStatus::Undefined;
    }
    value = functionValueText(sum);
    return CalcStatus::Ok;
}

CalcStatus clsCal::Calculation()
{
    const char16_t op = OpStack[OpTop];
    // The operator's own two operands must be the top two: one pushed before it within its
    // parenthesis group and one after it. Anything else is an operand short, as in (*2) or an
    // unrewritten (-SIN(1)), or two operands without an operator between them, as in 2(3).
    if (!isOperator(QChar(op)) || !m_hasLeft[OpTop] || NumTop != m_leftTop[OpTop] + 1) {
        return CalcStatus::Undefined;
    }
    const double a = NumStack[NumTop - 1];
    const double b = NumStack[NumTop];
    double r = 0;
    switch (op) {
    case '+':
        r = a + b;
        break;
    case '-':
        r = a - b;
        break;
    case '*':
        r = a * b;
        break;
    case '/':
        if (b == 0) {
            return CalcStatus::DivisionByZero;
        }
        r = a / b;
        break;
    default:
        r = std::pow(a, b);
        break;
    }
    r = std::isfinite(r) ? roundedResult(r) : r;
    if (!std::isfinite(r)) {
        return CalcStatus::Undefined;
    }
    NumStack[NumTop - 1] = r;
    --NumTop;
    --OpTop;
    return CalcStatus::Ok;
}

CalcStatus clsCal::pushOperand(QStringView text)
{
    const auto number = readFormulaNumber(text);
    if (!number) {
        return CalcStatus::Undefined; // such as 1.2.3
    }
    if (NumTop + 1 >= StackSize) {
        return CalcStatus::Undefined;
    }
    NumStack[++NumTop] = *number;
    return CalcStatus::Ok;
}

// Operator-priority evaluation of a text of numbers, operators and parentheses.
CalcStatus clsCal::evaluate(QStringView plain, double& value)
{
    const qsizetype n = plain.size();
    qsizetype operandStart = -1; // start of the operand being read
    // Operand count at each open "(": an operator's left operand must lie above it.
    std::array<qint16, StackSize> groupBase;
    int groups = 0;
    groupBase[0] = 0;
    for (qsizetype m = 0; m <= n; ++m) {
        const QChar c = m < n ? plain[m] : QChar();
        const bool digit = isDigit(c);
        const bool point = c == QLatin1Char('.');
        if (digit || point) {
            // A digit continues an operand after a digit or point; a point continues one only
            // after a digit, so .5 and 2*.5 read as 0.5.
            const bool continues = operandStart >= 0 && (digit ? true : isDigit(plain[m - 1]));
            if (continues) {
                continue;
            }
            if (operandStart >= 0) {
                if (const CalcStatus s = pushOperand(plain.sliced(operandStart, m - operandStart));
                    s != CalcStatus::Ok) {
                    return s;
                }
            }
            operandStart = m;
            continue;
        }
        if (operandStart >= 0) {
            if (const CalcStatus s = pushOperand(plain.sliced(operandStart, m - operandStart));
                s != CalcStatus::Ok) {
                return s;
            }
            operandStart = -1;
        }
        if (m == n) {
            break;
        }
        const char16_t u = c.unicode();
        if (!isOperator(c) && u != '(' && u != ')') {
            return CalcStatus::Undefined; // a letter, ":" or anything a value text brought in
        }
        while (OpStack[OpTop] != u'(' && OpPriority[OpStack[OpTop]] >= OpPriority[u]) {
            if (const CalcStatus s = Calculation(); s != CalcStatus::Ok) {
                return s;
            }
        }
        if (u == ')') {
            if (OpStack[OpTop] != u'(') {
                return CalcStatus::Undefined;
            }
            --OpTop;
            --groups;
        } else {
            if (OpTop + 1 >= StackSize) {
                return CalcStatus::Undefined;
            }
            OpStack[++OpTop] = u;
            m_leftTop[OpTop] = NumTop;
            m_hasLeft[OpTop] = NumTop > groupBase[groups];
            if (u == '(') {
                groupBase[++groups] = NumTop;
            }
        }
    }
    while (NumTop >= 2) {
        if (const CalcStatus s = Calculation(); s != CalcStatus::Ok) {
            return s;
        }
    }
    if (NumTop < 1) {
        return CalcStatus::Undefined; // nothing to compute, as in ()
    }
    double result = NumStack[NumTop];
    if (plain.startsWith(QLatin1Char('-'))) {
        result = -result;
    }
    value = result + 0.0; // never -0
    return CalcStatus::Ok;
}
