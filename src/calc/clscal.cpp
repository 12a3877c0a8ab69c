#include "calc/clscal.h"

#include "calc/cellsource.h"
#include "calc/decimaldigits.h"
#include "calc/numbertext.h"
#include "calc/sheetsize.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <optional>
#include <string_view>

namespace {

constexpr qsizetype MaxExpressionLength = 255;
constexpr int RangeRows = 200;
// A referenced cell may hold a long text; past this the plain text cannot come back under
// 255 characters in any sensible formula, so the evaluation stops there.
constexpr qsizetype MaxWorkingLength = 1 << 16;

// The engine's texts are short, and the standard library's inline search through them costs a
// fraction of Qt's general substring search, which even QStringView::indexOf(QChar) goes
// through.
std::u16string_view chars(QStringView text)
{
    return {text.utf16(), size_t(text.size())};
}

template <typename What> qsizetype indexOf(QStringView text, What what, qsizetype from = 0)
{
    const size_t at = chars(text).find(what, size_t(from));
    return at == std::u16string_view::npos ? -1 : qsizetype(at);
}

qsizetype lastIndexOf(QStringView text, char16_t what, qsizetype from)
{
    const size_t at = chars(text).rfind(what, size_t(from));
    return at == std::u16string_view::npos ? -1 : qsizetype(at);
}

enum class Function { Sum, Pi, Abs, Sin, Cos, Tan, Sqrt, Unknown };

Function functionNamed(QStringView name)
{
    static constexpr std::pair<std::u16string_view, Function> Names[] = {
        {u"SUM", Function::Sum},  {u"PI", Function::Pi},   {u"ABS", Function::Abs},
        {u"SIN", Function::Sin},  {u"COS", Function::Cos}, {u"TAN", Function::Tan},
        {u"SQRT", Function::Sqrt}};
    for (const auto& [text, function] : Names) {
        if (chars(name) == text) {
            return function;
        }
    }
    return Function::Unknown;
}

bool isUpper(QChar c)
{
    return c >= QLatin1Char('A') && c <= QLatin1Char('Z');
}

bool isDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// What the expression check lets through, by character code: "(" to ":" without the comma,
// "A" to "Z" and "^"; and which of those are operators.
enum CharClass : unsigned char { Refused, Allowed, AllowedOperator };

constexpr std::array<CharClass, 128> CharClasses = [] {
    std::array<CharClass, 128> classes{};
    for (int u = 40; u <= 58; ++u) {
        classes[size_t(u)] = Allowed;
    }
    for (int u = 'A'; u <= 'Z'; ++u) {
        classes[size_t(u)] = Allowed;
    }
    classes[','] = Refused;
    for (const char op : {'+', '-', '*', '/', '^'}) {
        classes[size_t(op)] = AllowedOperator;
    }
    return classes;
}();

CharClass charClass(QChar c)
{
    return c.unicode() < CharClasses.size() ? CharClasses[c.unicode()] : Refused;
}

bool isOperator(QChar c)
{
    return charClass(c) == AllowedOperator;
}

// The evaluator knows no unary minus, so a negative value goes into the formula as a
// subtraction from zero: the value text that runs from start to the end of out, such as -3,
// becomes (0-3).
void wrapNegative(WorkText& out, qsizetype start)
{
    if (start < out.size() && out.view()[start] == QLatin1Char('-')) {
        out.insert(start, u"(0");
        out.append(u')');
    }
}

// A number's text as a cell shows it, appended to a working text.
void appendGridNumber(WorkText& out, double value)
{
    out.grow(writeGridNumberText(value, out.room(NumberTextRoom)));
}

// Row of a reference or range end: the number rounded, halves to the even neighbour (A2.5 is
// row 2); nothing when it is no number, has an exponent or lies outside 1..maxRow.
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
    if (!isNumber(rest) || indexOf(rest, u'E') >= 0) {
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

    const std::optional<QStringView> checked = checkedText(expression);
    if (!checked) {
        // A formula of "=" signs only has nothing to compute.
        return expression.isEmpty() ? CalcStatus::Undefined : ErrKind;
    }
    if (const CalcStatus status = replaceValues(*checked); status != CalcStatus::Ok) {
        return status;
    }
    if (m_plain.size() > MaxExpressionLength) {
        return CalcStatus::Undefined;
    }
    return evaluate(m_plain, value);
}

double clsCal::Round45(double x, const qint16& n) const
{
    const double scale =
        (n >= 0 && n < qint16(ExactPow10.size())) ? ExactPow10[n] : std::pow(10.0, n);
    return std::floor(x * scale + 0.5) / scale;
}

// Round45 and then the 15 significant digits an operand keeps. For the usual digit counts the
// rounded value k / 10^n already has at most 15 digits, which saves the text round trip.
double clsCal::roundedResult(double r) const
{
    const qint16 n = m_roundDigits;
    if (n >= 0 && n < qint16(ExactPow10.size())) {
        const double k = std::floor(r * ExactPow10[n] + 0.5);
        if (std::fabs(k) < 1e15) {
            return k / ExactPow10[n];
        }
        return cutTo15Digits(k / ExactPow10[n]);
    }
    return cutTo15Digits(Round45(r, n));
}

bool clsCal::ExpCheck(QStringView expression, QString& rewritten)
{
    const std::optional<QStringView> checked = checkedText(expression);
    if (checked) {
        rewritten = checked->toString();
    }
    return checked.has_value();
}

std::optional<QStringView> clsCal::checkedText(QStringView expression)
{
    const qsizetype n = expression.size();
    if (n > MaxExpressionLength) {
        ErrKind = CalcStatus::TooLong;
        return std::nullopt;
    }
    if (n == 0) {
        return std::nullopt;
    }

    int opens = 0;
    int closes = 0;
    bool afterOperator = false;
    bool negativeGroup = false; // a "(-" to rewrite
    QChar previous;
    for (const QChar c : expression) {
        // The double quote and the comma are refused like any other character outside the
        // list, and so is an operator right after another.
        const CharClass cls = charClass(c);
        const bool isOp = cls == AllowedOperator;
        if (cls == Refused || (isOp && afterOperator)) {
            ErrKind = CalcStatus::BadCharacter;
            return std::nullopt;
        }
        afterOperator = isOp;
        opens += c == QLatin1Char('(') ? 1 : 0;
        closes += c == QLatin1Char(')') ? 1 : 0;
        negativeGroup |= previous == QLatin1Char('(') && c == QLatin1Char('-');
        previous = c;
    }
    if (opens != closes) {
        ErrKind = CalcStatus::BadParenthesis;
        return std::nullopt;
    }

    QStringView work = expression;
    if (negativeGroup) {
        m_check.assign(expression);
        rewriteMinus(m_check);
        work = m_check;
    }

    // A leading minus only negates a single operand (-5, -A1, -SIN(30)).
    if (work.front() == QLatin1Char('-')) {
        for (qsizetype i = 1; i < work.size(); ++i) {
            if (isOperator(work[i])) {
                ErrKind = CalcStatus::BadParenthesis;
                return std::nullopt;
            }
        }
    }

    // A "(-" left over must hold a single operand up to its ")"; "^" is not looked for. The
    // rewriting only ever removes a "(-".
    if (negativeGroup && work.size() > 2) {
        for (qsizetype j = 1; j < work.size() - 1; ++j) {
            if (work[j] != QLatin1Char('-') || work[j - 1] != QLatin1Char('(')) {
                continue;
            }
            const qsizetype r = indexOf(work, u')', j + 1);
            if (r < 0) {
                ErrKind = CalcStatus::BadParenthesis;
                return std::nullopt;
            }
            for (qsizetype k = j + 1; k < r; ++k) {
                const char16_t u = work[k].unicode();
                if (u == '+' || u == '-' || u == '*' || u == '/') {
                    ErrKind = CalcStatus::BadParenthesis;
                    return std::nullopt;
                }
            }
        }
    }

    return work;
}

// Turns (-5) and (-A1) into (0-5) and (0-A1), group by group from the left. The searches for
// "(" and ")" advance independently; a group the ")" search has already passed ends the
// rewriting, and what is left unrewritten is judged by the checks that follow.
void clsCal::rewriteMinus(WorkText& work)
{
    qsizetype p = 0; // next "(" search start
    qsizetype q = 0; // next ")" search start
    for (;;) {
        qsizetype g = indexOf(work, u'(', p);
        if (g < 0) {
            return;
        }
        const qsizetype h = q < work.size() ? indexOf(work, u')', q) : -1;
        if (h < 0 || h < g) {
            return;
        }
        g = lastIndexOf(work, u'(', h - 1);
        const QStringView inner = work.view().sliced(g + 1, h - g - 1);
        const bool negatedReference =
            inner.size() >= 2 && inner[0] == QLatin1Char('-') && isUpper(inner[1]);
        if (isNumber(inner) || negatedReference) {
            const qsizetype at = indexOf(work, std::u16string_view(u"(-"), g);
            if (at >= 0) {
                work.insert(at + 1, u"0");
            }
        }
        p = h + 2;
        q = h + 5;
    }
}

// text copied to out, every span replaced by what appendValue appends in its place; the first
// value that fails ends the copy with its status.
template <typename AppendValue>
CalcStatus clsCal::replaceSpans(QStringView text, const std::vector<Span>& spans, WorkText& out,
                                AppendValue appendValue)
{
    out.clear();
    qsizetype from = 0;
    for (const Span& span : spans) {
        out.append(text.sliced(from, span.begin - from));
        const CalcStatus status = appendValue(text.sliced(span.begin, span.end - span.begin), span);
        if (status != CalcStatus::Ok) {
            return status;
        }
        from = span.end;
    }
    out.append(text.sliced(from));
    return CalcStatus::Ok;
}

CalcStatus clsCal::FuncSelCheck(QStringView expression, QString& plain)
{
    const CalcStatus status = replaceValues(expression);
    if (status == CalcStatus::Ok) {
        plain = m_plain.toString();
    }
    return status;
}

CalcStatus clsCal::replaceValues(QStringView expression)
{
    m_sumCalls.clear();
    m_references.clear();
    m_calls.clear();
    if (const CalcStatus status = sumStage(expression); status != CalcStatus::Ok) {
        return status;
    }
    if (const CalcStatus status = referenceStage(); status != CalcStatus::Ok) {
        return status;
    }
    return functionStage();
}

// Stage A: the range sum, SUM(first:last), into m_afterSum. Only the first ":" is looked at;
// every occurrence of the sum's call text takes its value.
CalcStatus clsCal::sumStage(QStringView text)
{
    const qsizetype c = indexOf(text, u':');
    if (c < 0) {
        m_afterSum.assign(text);
        return CalcStatus::Ok;
    }
    if (c < 6) {
        return CalcStatus::BadCharacter; // no room for "SUM(" in front of it
    }
    const qsizetype d = indexOf(text, u'(', c - 6);
    const qsizetype e = indexOf(text, u')', c);
    if (d < 0 || e < 0 || d > c) {
        return CalcStatus::BadCharacter;
    }
    if (d < 3 || chars(text.sliced(d - 3, 3)) != u"SUM") {
        return CalcStatus::BadCharacter;
    }
    RangeFrom.resize(0);
    RangeTo.resize(0);
    if (e - d <= 5) {
        return CalcStatus::BadFunction;
    }
    RangeFrom.append(text.sliced(d + 1, c - d - 1).trimmed());
    RangeTo.append(text.sliced(c + 1, e - c - 1).trimmed());

    const QStringView call = text.sliced(d - 3, e - d + 4);
    m_sumValue.clear();
    m_rangeReady = true;
    const CalcStatus status = appendFuncValue(call, m_sumValue);
    m_rangeReady = false;
    if (status != CalcStatus::Ok) {
        return status;
    }
    for (qsizetype at = indexOf(text, chars(call)); at >= 0;
         at = indexOf(text, chars(call), at + call.size())) {
        m_sumCalls.push_back({at, at + call.size()});
    }
    replaceSpans(text, m_sumCalls, m_afterSum, [this](QStringView, const Span&) {
        m_afterSum.append(m_sumValue);
        return CalcStatus::Ok;
    });
    if (indexOf(m_afterSum, u':') >= 0) {
        return CalcStatus::BadFunction; // a second range: only one sum is computed
    }
    return CalcStatus::Ok;
}

// Stage B: cell references, each replaced at its own place by its value text, into
// m_afterRefs. A reference runs from a letter followed by a digit 1..9 to the next operator or
// ")".
CalcStatus clsCal::referenceStage()
{
    const QStringView text = m_afterSum.view();
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
        m_references.push_back({b, end, b >= 2 && isUpper(text[b - 2])});
        b = end + 1;
    }
    return replaceSpans(
        text, m_references, m_afterRefs, [this](QStringView reference, const Span& span) {
            const CalcStatus status = appendSelValue(reference, span.inFunc, m_afterRefs);
            if (status == CalcStatus::Ok && m_afterRefs.size() > MaxWorkingLength) {
                return CalcStatus::Undefined;
            }
            return status;
        });
}

// Stage C: function calls, from a name of two or more letters to the first ")", into plain.
// Each call is replaced where it stands. That is the same as replacing every occurrence of its
// text in turn: a call's text can only reappear inside a call with a longer name, and no known
// name ends in another one, so such a call fails whichever way it is replaced. A negative value
// comes wrapped from the call's own value text.
CalcStatus clsCal::functionStage()
{
    const QStringView text = m_afterRefs.view();
    for (qsizetype k = 0, n = text.size(); k < n;) {
        if (!(isUpper(text[k]) && k + 1 < n && isUpper(text[k + 1]))) {
            ++k;
            continue;
        }
        const qsizetype r = indexOf(text, u')', k + 2);
        if (r < 0) {
            return CalcStatus::BadFunction;
        }
        m_calls.push_back({k, r + 1});
        k = r + 1;
    }
    return replaceSpans(text, m_calls, m_plain, [this](QStringView call, const Span&) {
        return appendFuncValue(call, m_plain);
    });
}

QStringList clsCal::RefList() const
{
    QStringList list;
    for (const Span& span : m_references) {
        list.append(m_afterSum.view().sliced(span.begin, span.end - span.begin).toString());
    }
    return list;
}

QList<bool> clsCal::RefInFunc() const
{
    QList<bool> list;
    for (const Span& span : m_references) {
        list.append(span.inFunc);
    }
    return list;
}

QStringList clsCal::FuncList() const
{
    QStringList list;
    for (const Span& span : m_calls) {
        list.append(m_afterRefs.view().sliced(span.begin, span.end - span.begin).toString());
    }
    return list;
}

qint16 clsCal::FuncCount() const
{
    return qint16(std::min<size_t>(m_calls.size(), 32767));
}

CalcStatus clsCal::GetSelValue(QStringView reference, QString& value, bool inFunc)
{
    WorkText text;
    const CalcStatus status = appendSelValue(reference, inFunc, text);
    if (status == CalcStatus::Ok) {
        value = text.toString();
    }
    return status;
}

// GetSelValue's value text, appended to out.
CalcStatus clsCal::appendSelValue(QStringView reference, bool inFunc, WorkText& out)
{
    if (reference.isEmpty() || !isUpper(reference[0])) {
        return CalcStatus::BadCharacter;
    }
    const auto row = referenceRow(reference.sliced(1), LastRow);
    if (!row) {
        return CalcStatus::BadCharacter; // not a number, or no such cell on the sheet
    }
    const int col = reference[0].unicode() - 64;
    if (!m_cells) {
        return CalcStatus::EmptyCell;
    }
    const QString& text = m_cells->cellValue(*row, col).text();
    if (text.isEmpty()) {
        return CalcStatus::EmptyCell;
    }
    const qsizetype start = out.size();
    out.append(text);
    if (!inFunc) {
        wrapNegative(out, start);
    }
    return CalcStatus::Ok;
}

CalcStatus clsCal::GetFuncValue(QStringView call, QString& value)
{
    WorkText text;
    const CalcStatus status = appendFuncValue(call, text);
    if (status == CalcStatus::Ok) {
        value = text.toString();
    }
    return status;
}

// GetFuncValue's value text, appended to out: the result in the form a cell shows it (0.5
// rather than .5, -0.5 rather than -.5), a negative one wrapped.
CalcStatus clsCal::appendFuncValue(QStringView call, WorkText& out)
{
    const qsizetype lp = indexOf(call, u'(');
    if (lp <= 0) {
        return CalcStatus::BadFunction;
    }
    const qsizetype rp = indexOf(call, u')', lp);
    if (rp < 0) {
        return CalcStatus::BadFunction;
    }
    const QStringView name = call.first(lp);
    QStringView argument = call.sliced(lp + 1, rp - lp - 1);
    // Undo the rewriting of a negative argument: SIN(-5) arrives as SIN(0-5), and every "0-"
    // becomes "-" again.
    if (argument.startsWith(QLatin1String("0-"))) {
        m_argument.clear();
        for (qsizetype i = 0; i < argument.size(); ++i) {
            if (argument[i] == QLatin1Char('0') && i + 1 < argument.size() &&
                argument[i + 1] == QLatin1Char('-')) {
                ++i;
            }
            m_argument.append(argument[i].unicode());
        }
        argument = m_argument;
    }

    const Function function = functionNamed(name);
    if (function == Function::Sum) {
        return appendRangeSum(out);
    }

    double x = 0;
    if (function != Function::Pi) {
        const auto number = readFormulaNumber(argument);
        if (argument.isEmpty() || !number) {
            return CalcStatus::BadFunction;
        }
        x = *number;
    }

    double result = 0;
    switch (function) {
    case Function::Pi:
        result = Round45(3.14159265358979, m_roundDigits);
        break;
    case Function::Abs:
        result = std::fabs(x);
        break;
    case Function::Sin:
        result = Round45(std::sin(x), m_roundDigits);
        break;
    case Function::Cos:
        result = Round45(std::cos(x), m_roundDigits);
        break;
    case Function::Tan:
        result = Round45(std::tan(x), m_roundDigits);
        break;
    case Function::Sqrt:
        if (x < 0) {
            return CalcStatus::BadFunction;
        }
        result = Round45(std::sqrt(x), m_roundDigits);
        break;
    default:
        return CalcStatus::BadFunction;
    }
    if (!std::isfinite(result)) {
        return CalcStatus::Undefined;
    }
    const qsizetype start = out.size();
    appendGridNumber(out, result);
    wrapNegative(out, start);
    return CalcStatus::Ok;
}

// Sum of the rectangle between RangeFrom and RangeTo, column by column; rows 1..200 only.
// Its value text is appended to out as a function's is.
CalcStatus clsCal::appendRangeSum(WorkText& out)
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
    const qsizetype start = out.size();
    appendGridNumber(out, sum);
    wrapNegative(out, start);
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

CalcStatus clsCal::pushOperand(QStringView text, const DecimalDigits& digits)
{
    auto number = digits.value();
    if (!number) {
        number = readFormulaNumber(text); // a long one, or none at all such as 1.2.3
    }
    if (!number) {
        return CalcStatus::Undefined;
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
    DecimalDigits operand;       // its digits, taken as they are passed
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
            if (!continues) {
                if (operandStart >= 0) {
                    const QStringView text = plain.sliced(operandStart, m - operandStart);
                    if (const CalcStatus s = pushOperand(text, operand); s != CalcStatus::Ok) {
                        return s;
                    }
                }
                operandStart = m;
                operand = DecimalDigits();
            }
            if (digit) {
                operand.addDigit(c.unicode());
            } else {
                operand.addPoint();
            }
            continue;
        }
        if (operandStart >= 0) {
            const QStringView text = plain.sliced(operandStart, m - operandStart);
            if (const CalcStatus s = pushOperand(text, operand); s != CalcStatus::Ok) {
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
