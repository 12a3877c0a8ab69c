#include "calc/clscal.h"

#include "calc/cellsource.h"
#include "calc/decimaldigits.h"
#include "calc/numbertext.h"
#include "calc/sheetsize.h"

#include <algorithm>
#include <cmath>
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

// The first place of what at or after from; -1 where it does not stand.
template <typename What> qsizetype indexOf(QStringView text, What what, qsizetype from = 0)
{
    const size_t at = chars(text).find(what, size_t(from));
    return at == std::u16string_view::npos ? -1 : qsizetype(at);
}

// The last place of what at or before from; -1 where it does not stand.
qsizetype lastIndexOf(QStringView text, char16_t what, qsizetype from)
{
    const size_t at = chars(text).rfind(what, size_t(from));
    return at == std::u16string_view::npos ? -1 : qsizetype(at);
}

// Columns and function names are capitals A..Z.
bool isUpper(QChar c)
{
    return c >= QLatin1Char('A') && c <= QLatin1Char('Z');
}

// Numbers are written in the digits 0..9 only.
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

// A character beyond the table is refused.
CharClass charClass(QChar c)
{
    return c.unicode() < CharClasses.size() ? CharClasses[c.unicode()] : Refused;
}

// The operators are + - * / and ^.
bool isOperator(QChar c)
{
    return charClass(c) == AllowedOperator;
}

// ---- Checking the expression

// What one pass over an expression's characters finds.
struct CharacterScan
{
    bool refused = false;
    int unclosed = 0;           // "(" less ")"
    bool negativeGroup = false; // a "(-" to rewrite
};

// Only allowed characters, no operator right after another; counts parentheses, looks for "(-".
inline CharacterScan scanCharacters(QStringView expression)
{
    CharacterScan scan;
    bool afterOperator = false;
    QChar previous;
    for (const QChar c : expression) {
        // The double quote and the comma are refused like any other character outside the
        // list.
        const CharClass cls = charClass(c);
        const bool isOp = cls == AllowedOperator;
        if (cls == Refused || (isOp && afterOperator)) {
            scan.refused = true;
            return scan;
        }
        afterOperator = isOp;
        scan.unclosed += c == QLatin1Char('(') ? 1 : 0;
        scan.unclosed -= c == QLatin1Char(')') ? 1 : 0;
        scan.negativeGroup |= previous == QLatin1Char('(') && c == QLatin1Char('-');
        previous = c;
    }
    return scan;
}

// A leading minus only negates a single operand (-5, -A1, -SIN(30)): no operator follows it.
inline bool negatesOneOperand(QStringView work)
{
    if (work.front() != QLatin1Char('-')) {
        return true;
    }
    return std::none_of(work.begin() + 1, work.end(), isOperator);
}

// A "(-" must hold a single operand up to its ")"; "^" is not looked for.
inline bool negativeGroupsHoldOneOperand(QStringView work)
{
    for (qsizetype j = 1; j < work.size() - 1; ++j) {
        if (work[j] != QLatin1Char('-') || work[j - 1] != QLatin1Char('(')) {
            continue;
        }
        const qsizetype r = indexOf(work, u')', j + 1);
        if (r < 0) {
            return false;
        }
        for (qsizetype k = j + 1; k < r; ++k) {
            const char16_t u = work[k].unicode();
            if (u == '+' || u == '-' || u == '*' || u == '/') {
                return false;
            }
        }
    }
    return true;
}

// ---- Replacing references and calls by their values

// A negative value goes in as a subtraction from zero, the evaluator knowing no unary minus:
// the value text that runs from start to the end of out, such as -3, becomes (0-3).
inline void wrapNegative(WorkText& out, qsizetype start)
{
    if (start < out.size() && out.view()[start] == QLatin1Char('-')) {
        out.insert(start, u"(0");
        out.append(u')');
    }
}

// A computed value goes in as the text a cell shows for it, wrapped when negative; an infinite
// one has no text.
inline CalcStatus appendNumberValue(WorkText& out, double value)
{
    if (!std::isfinite(value)) {
        return CalcStatus::Undefined;
    }
    const qsizetype start = out.size();
    out.grow(writeGridNumberText(value, out.room(NumberTextRoom)));
    wrapNegative(out, start);
    return CalcStatus::Ok;
}

// A row is the number rounded half to even (A2.5 is row 2), without exponent, within 1..maxRow.
inline std::optional<int> referenceRow(QStringView rest, int maxRow)
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

struct CellAddress
{
    int row;
    int col;
};

// A reference is a column letter A..Z followed by its row.
inline std::optional<CellAddress> cellAddress(QStringView reference, int maxRow)
{
    if (reference.isEmpty() || !isUpper(reference[0])) {
        return std::nullopt;
    }
    const auto row = referenceRow(reference.sliced(1), maxRow);
    if (!row) {
        return std::nullopt;
    }
    return CellAddress{*row, reference[0].unicode() - 64};
}

struct Block
{
    int top;
    int bottom;
    int left;
    int right;

    bool holds(int row, int col) const
    {
        return row >= top && row <= bottom && col >= left && col <= right;
    }
};

// A range spans the block between its two ends, whichever corners they name; rows 1..200 only.
inline std::optional<Block> rangeBlock(QStringView from, QStringView to)
{
    const auto a = cellAddress(from, RangeRows);
    const auto b = cellAddress(to, RangeRows);
    if (!a || !b) {
        return std::nullopt;
    }
    return Block{std::min(a->row, b->row), std::max(a->row, b->row), std::min(a->col, b->col),
                 std::max(a->col, b->col)};
}

// Every cell of the block must read as a number (an empty one does not); summed column by column.
inline std::optional<double> blockSum(CellSource& cells, const Block& block)
{
    double sum = 0;
    for (int col = block.left; col <= block.right; ++col) {
        for (int row = block.top; row <= block.bottom; ++row) {
            const auto number = cells.cellValue(row, col).textAsNumber();
            if (!number) {
                return std::nullopt;
            }
            sum += *number;
        }
    }
    return sum;
}

struct CallParts
{
    QStringView name;
    QStringView argument;
};

// A call is its name up to the first "(" and its argument from there to the next ")".
inline std::optional<CallParts> callParts(QStringView call)
{
    const qsizetype lp = indexOf(call, u'(');
    if (lp <= 0) {
        return std::nullopt;
    }
    const qsizetype rp = indexOf(call, u')', lp);
    if (rp < 0) {
        return std::nullopt;
    }
    return CallParts{call.first(lp), call.sliced(lp + 1, rp - lp - 1)};
}

enum class Function { Sum, Pi, Abs, Sin, Cos, Tan, Sqrt, Unknown };

// The function names the engine knows, spelt in capitals.
inline Function functionNamed(QStringView name)
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

// A function's value of x before rounding: PI ignores x, SQRT refuses a negative one.
inline std::optional<double> functionResult(Function function, double x)
{
    switch (function) {
    case Function::Pi:
        return 3.14159265358979;
    case Function::Abs:
        return std::fabs(x);
    case Function::Sin:
        return std::sin(x);
    case Function::Cos:
        return std::cos(x);
    case Function::Tan:
        return std::tan(x);
    case Function::Sqrt:
        return x < 0 ? std::nullopt : std::optional<double>(std::sqrt(x));
    default:
        return std::nullopt;
    }
}

// A value text built in a working text of its own, handed out only when it is good.
template <typename Append> CalcStatus builtText(QString& value, Append append)
{
    WorkText text;
    const CalcStatus status = append(text);
    if (status == CalcStatus::Ok) {
        value = text.toString();
    }
    return status;
}

// ---- Evaluating

// Priorities: "^" over "*" and "/" over "+" and "-"; ")" under them all, so that it applies
// every operator back to its "(", and the stack's bottom marker 0 under ")". "(" over them all,
// so that an operator before it waits for its group.
constexpr std::array<qint16, 256> OperatorPriority = [] {
    std::array<qint16, 256> priority{};
    priority[0] = -1;
    priority[')'] = 0;
    priority['+'] = 1;
    priority['-'] = 1;
    priority['*'] = 2;
    priority['/'] = 2;
    priority['^'] = 3;
    priority['('] = 5;
    return priority;
}();

// Only operators, parentheses and the bottom marker ever reach the table.
inline qint16 priority(char16_t op)
{
    return OperatorPriority[op];
}

// An operand runs over digits and points, a point only right after a digit: 1..2 is 1. and .2.
inline qsizetype readOperand(QStringView plain, qsizetype start, DecimalDigits& digits)
{
    qsizetype m = start;
    do {
        if (plain[m] == QLatin1Char('.')) {
            digits.addPoint();
        } else {
            digits.addDigit(plain[m].unicode());
        }
        ++m;
    } while (m < plain.size() &&
             (isDigit(plain[m]) || (plain[m] == QLatin1Char('.') && isDigit(plain[m - 1]))));
    return m;
}

// One operator's arithmetic on its left and right operand; nothing for a division by zero.
inline std::optional<double> arithmetic(char16_t op, double a, double b)
{
    switch (op) {
    case '+':
        return a + b;
    case '-':
        return a - b;
    case '*':
        return a * b;
    case '/':
        return b == 0 ? std::nullopt : std::optional<double>(a / b);
    default:
        return std::pow(a, b);
    }
}

} // namespace

clsCal::clsCal(qint16 roundDigits) : m_roundDigits(roundDigits) {}

// A formula is checked, its values put in, and what is left evaluated; "" has nothing to compute.
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

    const std::optional<QStringView> checked = checkedText(expression);
    if (!checked) {
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

// Halves go up, towards plus infinity; a power of ten a double holds exactly is not computed.
double clsCal::Round45(double x, const qint16& n) const
{
    const double scale =
        (n >= 0 && n < qint16(ExactPow10.size())) ? ExactPow10[n] : std::pow(10.0, n);
    return std::floor(x * scale + 0.5) / scale;
}

// Round45 and then the 15 significant digits an operand keeps.
inline double clsCal::roundedResult(double r) const
{
    // For the usual digit counts the rounded value k / 10^n already has at most 15 digits,
    // which saves the text round trip.
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

// ---- Checking the expression

// The checked text is handed out only when it is accepted.
bool clsCal::ExpCheck(QStringView expression, QString& rewritten)
{
    const std::optional<QStringView> checked = checkedText(expression);
    if (checked) {
        rewritten = checked->toString();
    }
    return checked.has_value();
}

// A rejection names its kind, which stays until the next one.
inline std::nullopt_t clsCal::rejected(CalcStatus kind)
{
    ErrKind = kind;
    return std::nullopt;
}

// Length, characters, parenthesis count, then the minus signs once negative groups are rewritten.
std::optional<QStringView> clsCal::checkedText(QStringView expression)
{
    if (expression.size() > MaxExpressionLength) {
        return rejected(CalcStatus::TooLong);
    }
    if (expression.isEmpty()) {
        return std::nullopt; // nothing to judge: the last kind stays
    }
    const CharacterScan scan = scanCharacters(expression);
    if (scan.refused) {
        return rejected(CalcStatus::BadCharacter);
    }
    if (scan.unclosed != 0) {
        return rejected(CalcStatus::BadParenthesis);
    }
    QStringView work = expression;
    if (scan.negativeGroup) {
        m_check.assign(expression);
        rewriteMinus(m_check);
        work = m_check;
    }
    // The rewriting only ever removes a "(-", so without one before it there is none after.
    if (!negatesOneOperand(work) ||
        (scan.negativeGroup && work.size() > 2 && !negativeGroupsHoldOneOperand(work))) {
        return rejected(CalcStatus::BadParenthesis);
    }
    return work;
}

// (-5) and (-A1) become (0-5) and (0-A1), group by group from the left.
void clsCal::rewriteMinus(WorkText& work)
{
    // The searches for "(" and ")" advance independently; a group the ")" search has already
    // passed ends the rewriting, and what is left unrewritten is judged by the checks that
    // follow.
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

// ---- Replacing references and calls by their values

// text copied to out with every span replaced by its value; the first value that fails ends it.
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

// The plain text is handed out only when every value could be put in.
CalcStatus clsCal::FuncSelCheck(QStringView expression, QString& plain)
{
    const CalcStatus status = replaceValues(expression);
    if (status == CalcStatus::Ok) {
        plain = m_plain.toString();
    }
    return status;
}

// The range sum first, then the references, then the calls, whose arguments they may be.
CalcStatus clsCal::replaceValues(QStringView expression)
{
    m_sumCalls.clear();
    m_references.clear();
    m_calls.clear();
    if (const CalcStatus status = replaceRangeSum(expression); status != CalcStatus::Ok) {
        return status;
    }
    if (const CalcStatus status = replaceReferences(); status != CalcStatus::Ok) {
        return status;
    }
    return replaceCalls();
}

// Only the first ":" makes a range sum, and every occurrence of its call text takes its value.
CalcStatus clsCal::replaceRangeSum(QStringView text)
{
    const qsizetype colon = indexOf(text, u':');
    if (colon < 0) {
        m_afterSum.assign(text);
        return CalcStatus::Ok;
    }
    QStringView call;
    if (const CalcStatus status = findRangeSum(text, colon, call); status != CalcStatus::Ok) {
        return status;
    }
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

// SUM( stands within six characters before the ":", the range's ends between it and the ")".
CalcStatus clsCal::findRangeSum(QStringView text, qsizetype colon, QStringView& call)
{
    if (colon < 6) {
        return CalcStatus::BadCharacter; // no room for "SUM(" in front of it
    }
    const qsizetype open = indexOf(text, u'(', colon - 6);
    const qsizetype close = indexOf(text, u')', colon);
    if (open < 0 || close < 0 || open > colon) {
        return CalcStatus::BadCharacter;
    }
    if (open < 3 || chars(text.sliced(open - 3, 3)) != u"SUM") {
        return CalcStatus::BadCharacter;
    }
    m_rangeFrom.resize(0);
    m_rangeTo.resize(0);
    if (close - open <= 5) {
        return CalcStatus::BadFunction;
    }
    m_rangeFrom.append(text.sliced(open + 1, colon - open - 1).trimmed());
    m_rangeTo.append(text.sliced(colon + 1, close - colon - 1).trimmed());
    call = text.sliced(open - 3, close - open + 4);
    return CalcStatus::Ok;
}

// Each reference is replaced where it stands by its cell's value text.
CalcStatus clsCal::replaceReferences()
{
    const QStringView text = m_afterSum.view();
    findReferences(text);
    return replaceSpans(
        text, m_references, m_afterRefs, [this](QStringView reference, const Span& span) {
            const CalcStatus status = appendSelValue(reference, span.inFunc, m_afterRefs);
            if (status == CalcStatus::Ok && m_afterRefs.size() > MaxWorkingLength) {
                return CalcStatus::Undefined;
            }
            return status;
        });
}

// A reference runs from a letter followed by a digit 1..9 to the next operator or ")".
void clsCal::findReferences(QStringView text)
{
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
}

// Each call is replaced where it stands by its value text, a negative one wrapped.
CalcStatus clsCal::replaceCalls()
{
    // That is the same as replacing every occurrence of its text in turn: a call's text can
    // only reappear inside a call with a longer name, and no known name ends in another one,
    // so such a call fails whichever way it is replaced.
    const QStringView text = m_afterRefs.view();
    if (const CalcStatus status = findCalls(text); status != CalcStatus::Ok) {
        return status;
    }
    return replaceSpans(text, m_calls, m_plain, [this](QStringView call, const Span&) {
        return appendFuncValue(call, m_plain);
    });
}

// A call runs from a name of two or more letters to the first ")" after it.
CalcStatus clsCal::findCalls(QStringView text)
{
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
    return CalcStatus::Ok;
}

// The texts of the spans, in order of position.
QStringList clsCal::spanTexts(QStringView text, const std::vector<Span>& spans)
{
    QStringList list;
    for (const Span& span : spans) {
        list.append(text.sliced(span.begin, span.end - span.begin).toString());
    }
    return list;
}

QStringList clsCal::RefList() const
{
    return spanTexts(m_afterSum, m_references);
}

// Whether each reference stands right after a function's "(", in order of position.
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
    return spanTexts(m_afterRefs, m_calls);
}

// The number of calls, capped at what a qint16 holds.
qint16 clsCal::FuncCount() const
{
    return qint16(std::min<size_t>(m_calls.size(), 32767));
}

CalcStatus clsCal::GetSelValue(QStringView reference, QString& value, bool inFunc)
{
    return builtText(value,
                     [&](WorkText& text) { return appendSelValue(reference, inFunc, text); });
}

// A reference's value is its cell's text as it stands, wrapped when negative unless in a call.
CalcStatus clsCal::appendSelValue(QStringView reference, bool inFunc, WorkText& out)
{
    const auto address = cellAddress(reference, LastRow);
    if (!address) {
        return CalcStatus::BadCharacter; // not a reference, or no such cell on the sheet
    }
    if (!m_cells) {
        return CalcStatus::EmptyCell;
    }
    const QString& text = m_cells->cellValue(address->row, address->col).text();
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
    return builtText(value, [&](WorkText& text) { return appendFuncValue(call, text); });
}

// A call's value is its function's result, rounded but for ABS, as the text a cell shows.
CalcStatus clsCal::appendFuncValue(QStringView call, WorkText& out)
{
    const std::optional<CallParts> parts = callParts(call);
    if (!parts) {
        return CalcStatus::BadFunction;
    }
    const Function function = functionNamed(parts->name);
    if (function == Function::Sum) {
        return appendRangeSum(out);
    }
    double x = 0;
    if (function != Function::Pi) {
        const QStringView argument = restoredArgument(parts->argument);
        const auto number = readFormulaNumber(argument);
        if (argument.isEmpty() || !number) {
            return CalcStatus::BadFunction;
        }
        x = *number;
    }
    const std::optional<double> result = functionResult(function, x);
    if (!result) {
        return CalcStatus::BadFunction;
    }
    return appendNumberValue(out,
                             function == Function::Abs ? *result : Round45(*result, m_roundDigits));
}

// SIN(-5) arrives as SIN(0-5): in an argument that starts with "0-", every "0-" is "-" again.
QStringView clsCal::restoredArgument(QStringView argument)
{
    if (!argument.startsWith(QLatin1String("0-"))) {
        return argument;
    }
    m_argument.clear();
    for (qsizetype i = 0; i < argument.size(); ++i) {
        if (argument[i] == QLatin1Char('0') && i + 1 < argument.size() &&
            argument[i + 1] == QLatin1Char('-')) {
            ++i;
        }
        m_argument.append(argument[i].unicode());
    }
    return m_argument;
}

// The range sum's value: its block's sum, which may not take in the formula's own cell.
CalcStatus clsCal::appendRangeSum(WorkText& out)
{
    if (!m_rangeReady || m_rangeFrom.isEmpty() || m_rangeTo.isEmpty()) {
        return CalcStatus::BadFunction;
    }
    const std::optional<Block> block = rangeBlock(m_rangeFrom, m_rangeTo);
    if (!block || !m_cells) {
        return CalcStatus::BadFunction;
    }
    if (block->holds(m_cells->currentRow(), m_cells->currentCol())) {
        return CalcStatus::CircularRange;
    }
    const std::optional<double> sum = blockSum(*m_cells, *block);
    if (!sum) {
        return CalcStatus::BadFunction; // a cell empty, or a text that is no number
    }
    return appendNumberValue(out, *sum);
}

// ---- Evaluating

// Operator priority: groups first, "^" before "*" "/" before "+" "-", equals from the left.
CalcStatus clsCal::evaluate(QStringView plain, double& value)
{
    clearStacks();
    for (qsizetype m = 0; m < plain.size();) {
        CalcStatus status;
        if (isDigit(plain[m]) || plain[m] == QLatin1Char('.')) {
            DecimalDigits digits;
            const qsizetype end = readOperand(plain, m, digits);
            status = pushOperand(plain.sliced(m, end - m), digits);
            m = end;
        } else {
            status = takeOperator(plain[m].unicode());
            ++m;
        }
        if (status != CalcStatus::Ok) {
            return status;
        }
    }
    return finalValue(plain, value);
}

// Every evaluation starts on empty stacks, the operator stack's bottom marked by 0.
inline void clsCal::clearStacks()
{
    m_operandTop = 0;
    m_operatorTop = 0;
    m_operators[0] = 0;
    m_groupTop = 0;
    m_groupBase[0] = 0;
}

// An operand is its digits' exact value, or else the general reading of its text.
inline CalcStatus clsCal::pushOperand(QStringView text, const DecimalDigits& digits)
{
    auto number = digits.value();
    if (!number) {
        number = readFormulaNumber(text); // a long one, or none at all such as 1.2.3
    }
    if (!number) {
        return CalcStatus::Undefined;
    }
    if (m_operandTop + 1 >= StackSize) {
        return CalcStatus::Undefined;
    }
    m_operands[++m_operandTop] = *number;
    return CalcStatus::Ok;
}

// Only operators and parentheses stand between operands; stacked ones of priority go first.
inline CalcStatus clsCal::takeOperator(char16_t op)
{
    if (!isOperator(QChar(op)) && op != u'(' && op != u')') {
        return CalcStatus::Undefined; // a letter, ":" or anything a value text brought in
    }
    if (const CalcStatus status = applyPriorOperators(op); status != CalcStatus::Ok) {
        return status;
    }
    return op == u')' ? closeGroup() : pushOperator(op);
}

// Stacked operators of the same or a higher priority are applied, back to the innermost "(".
inline CalcStatus clsCal::applyPriorOperators(char16_t op)
{
    while (m_operators[m_operatorTop] != u'(' &&
           priority(m_operators[m_operatorTop]) >= priority(op)) {
        if (const CalcStatus status = applyTopOperator(); status != CalcStatus::Ok) {
            return status;
        }
    }
    return CalcStatus::Ok;
}

// A ")" closes the group of the "(" it meets; one that meets none has no value.
inline CalcStatus clsCal::closeGroup()
{
    if (m_operators[m_operatorTop] != u'(') {
        return CalcStatus::Undefined;
    }
    --m_operatorTop;
    --m_groupTop;
    return CalcStatus::Ok;
}

// An operator is stacked with what stands left of it in its group; a "(" also opens a group.
inline CalcStatus clsCal::pushOperator(char16_t op)
{
    if (m_operatorTop + 1 >= StackSize) {
        return CalcStatus::Undefined;
    }
    m_operators[++m_operatorTop] = op;
    m_leftTop[m_operatorTop] = m_operandTop;
    m_hasLeft[m_operatorTop] = m_operandTop > m_groupBase[m_groupTop];
    if (op == u'(') {
        m_groupBase[++m_groupTop] = m_operandTop;
    }
    return CalcStatus::Ok;
}

// The top operator takes its own two operands, and its result is rounded.
inline CalcStatus clsCal::applyTopOperator()
{
    const char16_t op = m_operators[m_operatorTop];
    // The operator's own two operands must be the top two: one pushed before it within its
    // parenthesis group and one after it. Anything else is an operand short, as in (*2) or an
    // unrewritten (-SIN(1)), or two operands without an operator between them, as in 2(3).
    if (!isOperator(QChar(op)) || !m_hasLeft[m_operatorTop] ||
        m_operandTop != m_leftTop[m_operatorTop] + 1) {
        return CalcStatus::Undefined;
    }
    const std::optional<double> exact =
        arithmetic(op, m_operands[m_operandTop - 1], m_operands[m_operandTop]);
    if (!exact) {
        return CalcStatus::DivisionByZero;
    }
    const double r = std::isfinite(*exact) ? roundedResult(*exact) : *exact;
    if (!std::isfinite(r)) {
        return CalcStatus::Undefined;
    }
    m_operands[m_operandTop - 1] = r;
    --m_operandTop;
    --m_operatorTop;
    return CalcStatus::Ok;
}

// The operators still stacked apply from the top; one operand is left, a leading "-" negates it.
inline CalcStatus clsCal::finalValue(QStringView plain, double& value)
{
    while (m_operandTop >= 2) {
        if (const CalcStatus status = applyTopOperator(); status != CalcStatus::Ok) {
            return status;
        }
    }
    if (m_operandTop < 1) {
        return CalcStatus::Undefined; // nothing to compute, as in ()
    }
    double result = m_operands[m_operandTop];
    if (plain.startsWith(QLatin1Char('-'))) {
        result = -result;
    }
    value = result + 0.0; // never -0
    return CalcStatus::Ok;
}
