#include "files/bookformula.h"

#include "calc/sheetsize.h"

namespace {

bool isLetter(QChar c)
{
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
}

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// A token of a book's formula, a view into it: a reference (letters then digits, each part
// optionally fixed by "$"), a name, a number, or one character.
struct Token
{
    enum class Kind { Reference, Name, Number, Other } kind = Kind::Other;
    QStringView text;
    // For a reference.
    bool fixedCol = false;
    bool fixedRow = false;
    QStringView colLetters;
    qint64 row = 0;

    bool is(QStringView other) const { return text.compare(other, Qt::CaseInsensitive) == 0; }
    bool is(char16_t ch) const { return text.size() == 1 && text[0] == ch; }
};

// Reads the token at i; false at the end of the text.
bool readToken(QStringView f, qsizetype& i, Token& t)
{
    while (i < f.size() && f[i] == u' ') {
        ++i;
    }
    if (i >= f.size()) {
        return false;
    }
    const qsizetype start = i;
    t = Token();
    if (isLetter(f[i]) || f[i] == u'$') {
        qsizetype j = i;
        t.fixedCol = f[j] == u'$';
        if (t.fixedCol) {
            ++j;
        }
        const qsizetype letters = j;
        while (j < f.size() && isLetter(f[j])) {
            ++j;
        }
        t.colLetters = f.sliced(letters, j - letters);
        qsizetype k = j;
        t.fixedRow = k < f.size() && f[k] == u'$';
        if (t.fixedRow) {
            ++k;
        }
        const qsizetype digits = k;
        while (k < f.size() && isDigit(f[k])) {
            ++k;
        }
        const bool followedByName =
            k < f.size() && (isLetter(f[k]) || f[k] == u'_' || f[k] == u'.');
        if (!t.colLetters.isEmpty() && k > digits && !followedByName) {
            t.kind = Token::Kind::Reference;
            t.row = f.sliced(digits, std::min<qsizetype>(k - digits, 9)).toLongLong();
            i = k;
            t.text = f.sliced(start, i - start);
            return true;
        }
        // A name: letters, digits, points and underscores.
        j = i;
        while (j < f.size() &&
               (isLetter(f[j]) || isDigit(f[j]) || f[j] == u'_' || f[j] == u'.' || f[j] == u'$')) {
            ++j;
        }
        t.kind = Token::Kind::Name;
        t.text = f.sliced(start, j - start);
        i = j;
        return true;
    }
    if (isDigit(f[i]) || f[i] == u'.') {
        qsizetype j = i;
        while (j < f.size() && (isDigit(f[j]) || f[j] == u'.')) {
            ++j;
        }
        // An exponent: 1E+20, 1.5e-3.
        if (j < f.size() && (f[j] == u'E' || f[j] == u'e')) {
            qsizetype k = j + 1;
            if (k < f.size() && (f[k] == u'+' || f[k] == u'-')) {
                ++k;
            }
            if (k < f.size() && isDigit(f[k])) {
                while (k < f.size() && isDigit(f[k])) {
                    ++k;
                }
                j = k;
            }
        }
        t.kind = Token::Kind::Number;
        t.text = f.sliced(start, j - start);
        i = j;
        return true;
    }
    t.text = f.sliced(i, 1);
    ++i;
    return true;
}

std::vector<Token> tokens(QStringView formula)
{
    std::vector<Token> list;
    list.reserve(size_t(formula.size() / 2 + 1));
    qsizetype i = 0;
    Token t;
    while (readToken(formula, i, t)) {
        list.push_back(t);
    }
    return list;
}

// A reference within the sheet: one column letter A to Z, rows 1 to 500.
bool onSheet(const Token& t)
{
    return t.kind == Token::Kind::Reference && t.colLetters.size() == 1 && t.row >= 1 &&
           t.row <= LastRow;
}

// A reference of the sheet as this program writes it: a capital letter and the row.
void appendReference(QString& out, const Token& t)
{
    out += t.colLetters[0].toUpper();
    out += QString::number(t.row);
}

bool isOperator(const Token& t)
{
    return t.is(u'+') || t.is(u'-') || t.is(u'*') || t.is(u'/') || t.is(u'^');
}

} // namespace

std::optional<QString> programFormula(const QString& bookFormula)
{
    const std::vector<Token> list = tokens(bookFormula);
    if (list.empty()) {
        return std::nullopt;
    }
    QString out;
    out.reserve(bookFormula.size());
    int depth = 0;
    auto at = [&](size_t n) -> const Token* { return n < list.size() ? &list[n] : nullptr; };
    auto plainOnSheet = [](const Token* t) {
        return t && onSheet(*t) && !t->fixedCol && !t->fixedRow;
    };
    for (size_t k = 0; k < list.size(); ++k) {
        const Token& t = list[k];
        switch (t.kind) {
        case Token::Kind::Reference:
            if (!plainOnSheet(&t)) {
                return std::nullopt;
            }
            appendReference(out, t);
            break;
        case Token::Kind::Number:
            // Digits with at most one point; an exponent is no number our formulas write.
            if (t.text.contains(u'E', Qt::CaseInsensitive) || t.text.count(u'.') > 1) {
                return std::nullopt;
            }
            out += t.text;
            break;
        case Token::Kind::Name: {
            // A name is one of the functions, followed by its parentheses: PI() takes nothing,
            // SUM one range (A1:B2); SIN, COS, TAN, ABS and SQRT take what follows, as the engine
            // does, and whether it computes is the engine's to say.
            const Token* open = at(k + 1);
            if (!open || !open->is(u'(')) {
                return std::nullopt;
            }
            if (t.is(u"PI")) {
                const Token* close = at(k + 2);
                if (!close || !close->is(u')')) {
                    return std::nullopt;
                }
                out += QLatin1String("PI()");
                k += 2;
            } else if (t.is(u"SUM")) {
                const Token* from = at(k + 2);
                const Token* colon = at(k + 3);
                const Token* to = at(k + 4);
                const Token* close = at(k + 5);
                if (!plainOnSheet(from) || !colon || !colon->is(u':') || !plainOnSheet(to) ||
                    !close || !close->is(u')')) {
                    return std::nullopt;
                }
                out += QLatin1String("SUM(");
                appendReference(out, *from);
                out += u':';
                appendReference(out, *to);
                out += u')';
                k += 5;
            } else if (t.is(u"SIN") || t.is(u"COS") || t.is(u"TAN") || t.is(u"ABS") ||
                       t.is(u"SQRT")) {
                out += t.text.toString().toUpper();
            } else {
                return std::nullopt;
            }
            break;
        }
        case Token::Kind::Other:
            if (t.is(u'(')) {
                ++depth;
            } else if (t.is(u')')) {
                if (--depth < 0) {
                    return std::nullopt;
                }
            } else if (!isOperator(t)) {
                return std::nullopt;
            }
            out += t.text;
            break;
        }
    }
    if (depth != 0) {
        return std::nullopt;
    }
    return out;
}

std::vector<CellBlock> formulaBlocks(const QString& formula)
{
    std::vector<CellBlock> blocks;
    bool range = false; // the reference before was followed by ":"
    for (const Token& t : tokens(formula)) {
        if (t.is(u':')) {
            range = !blocks.empty();
            continue;
        }
        if (onSheet(t)) {
            const int row = int(t.row);
            const int col = t.colLetters[0].toUpper().unicode() - u'A' + 1;
            if (range) {
                CellBlock& block = blocks.back();
                block = {std::min(block.top, row), std::min(block.left, col),
                         std::max(block.bottom, row), std::max(block.right, col)};
            } else {
                blocks.push_back({row, col, row, col});
            }
        }
        range = false;
    }
    return blocks;
}

std::optional<QString> shiftedFormula(const QString& formula, int rows, int cols)
{
    QString out;
    qsizetype i = 0;
    qsizetype copied = 0;
    Token t;
    while (readToken(formula, i, t)) {
        if (t.kind != Token::Kind::Reference) {
            continue;
        }
        const qsizetype start = i - t.text.size();
        out += QStringView(formula).sliced(copied, start - copied);
        // Columns beyond one letter are not of this sheet; they shift all the same in spirit,
        // but cannot be written here, so such a formula is none of ours.
        if (t.colLetters.size() != 1) {
            return std::nullopt;
        }
        const int letter = t.colLetters[0].toUpper().unicode() - u'A' + 1;
        const int col = t.fixedCol ? letter : letter + cols;
        const qint64 row = t.fixedRow ? t.row : t.row + rows;
        if (col < 1 || col > LastCol || row < 1 || row > LastRow) {
            return std::nullopt;
        }
        out += (t.fixedCol ? QStringLiteral("$") : QString()) + columnLetter(col) +
               (t.fixedRow ? QStringLiteral("$") : QString()) + QString::number(row);
        copied = i;
    }
    out += QStringView(formula).sliced(copied);
    return out;
}
