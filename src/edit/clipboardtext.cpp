#include "edit/clipboardtext.h"

namespace {

bool isLineEnd(QChar ch)
{
    return ch == QLatin1Char('\r') || ch == QLatin1Char('\n');
}

bool needsQuotes(const QString& field)
{
    for (const QChar ch : field) {
        if (ch == QLatin1Char('\t') || ch == QLatin1Char('"') || isLineEnd(ch)) {
            return true;
        }
    }
    return false;
}

// Reads a clipboard text field by field.
class FieldReader
{
public:
    explicit FieldReader(QStringView text) : m_text(text) {}

    bool atEnd() const { return m_pos >= m_text.size(); }
    // The next field; says whether a row end (or the end of the text) follows it, and moves
    // past that separator.
    QString readField(bool& rowEnds);

private:
    qsizetype quoteRun(qsizetype from) const
    {
        qsizetype end = from;
        while (end < m_text.size() && m_text[end] == QLatin1Char('"')) {
            ++end;
        }
        return end - from;
    }
    qsizetype firstOddRun(qsizetype from);
    bool readQuoted(QString& field);

    QStringView m_text;
    qsizetype m_pos = 0;
    // The first run of an odd number of quotes at or after m_oddFrom starts at m_oddAt (-1: none
    // up to the end), so many fields that open a quote and never close it cost one search.
    qsizetype m_oddFrom = -1;
    qsizetype m_oddAt = -1;
};

// Where the first run of an odd number of quotes starts at or after from; from must not lie
// inside a run. -1 when there is none.
qsizetype FieldReader::firstOddRun(qsizetype from)
{
    if (m_oddFrom >= 0 && from >= m_oddFrom && (m_oddAt < 0 || from <= m_oddAt)) {
        return m_oddAt;
    }
    m_oddFrom = from;
    for (qsizetype i = from;;) {
        const qsizetype quote = m_text.indexOf(QLatin1Char('"'), i);
        if (quote < 0) {
            m_oddAt = -1;
            return -1;
        }
        const qsizetype run = quoteRun(quote);
        if (run % 2 == 1) {
            m_oddAt = quote;
            return quote;
        }
        i = quote + run;
    }
}

// A quoted field from its opening quote at m_pos; false (nothing read) when it is no quoted
// field.
bool FieldReader::readQuoted(QString& field)
{
    const qsizetype opening = quoteRun(m_pos);
    // Inside, a run is read as pairs; the first run of odd length holds the closing quote last.
    qsizetype closing = opening % 2 == 0 ? m_pos + opening - 1 : firstOddRun(m_pos + opening);
    if (closing < 0) {
        return false;
    }
    if (opening % 2 == 1) {
        closing += quoteRun(closing) - 1;
    }
    const qsizetype after = closing + 1;
    if (after < m_text.size() && m_text[after] != QLatin1Char('\t') && !isLineEnd(m_text[after])) {
        return false;
    }
    QString text;
    const QStringView inside = m_text.sliced(m_pos + 1, closing - m_pos - 1);
    for (qsizetype i = 0; i < inside.size(); ++i) {
        const QChar ch = inside[i];
        if (ch == QLatin1Char('"')) {
            ++i; // the second of a pair
            text += ch;
        } else if (ch == QLatin1Char('\r')) {
            if (i + 1 < inside.size() && inside[i + 1] == QLatin1Char('\n')) {
                ++i;
            }
            text += QLatin1Char('\n');
        } else {
            text += ch;
        }
    }
    field = text;
    m_pos = after;
    return true;
}

QString FieldReader::readField(bool& rowEnds)
{
    QString field;
    if (m_text[m_pos] != QLatin1Char('"') || !readQuoted(field)) {
        qsizetype end = m_pos;
        while (end < m_text.size() && m_text[end] != QLatin1Char('\t') && !isLineEnd(m_text[end])) {
            ++end;
        }
        field = m_text.sliced(m_pos, end - m_pos).toString();
        m_pos = end;
    }
    rowEnds = atEnd() || m_text[m_pos] != QLatin1Char('\t');
    if (!atEnd() && m_text[m_pos] == QLatin1Char('\r') && m_pos + 1 < m_text.size() &&
        m_text[m_pos + 1] == QLatin1Char('\n')) {
        ++m_pos;
    }
    if (!atEnd()) {
        ++m_pos;
    }
    return field;
}

} // namespace

QString clipboardText(const BlockRows& rows)
{
    QString text;
    for (qsizetype r = 0; r < rows.size(); ++r) {
        if (r > 0) {
            text += QLatin1Char('\n');
        }
        for (qsizetype c = 0; c < rows[r].size(); ++c) {
            if (c > 0) {
                text += QLatin1Char('\t');
            }
            const QString& field = rows[r][c];
            if (needsQuotes(field)) {
                text += QLatin1Char('"') +
                        QString(field).replace(QLatin1Char('"'), QLatin1String("\"\"")) +
                        QLatin1Char('"');
            } else {
                text += field;
            }
        }
    }
    return text;
}

BlockRows parseClipboardText(QStringView text)
{
    BlockRows rows;
    FieldReader reader(text);
    QStringList row;
    while (!reader.atEnd()) {
        bool rowEnds = false;
        row.append(reader.readField(rowEnds));
        if (rowEnds) {
            rows.append(row);
            row.clear();
        }
    }
    // A tab at the very end leaves one empty field after it; an empty text is one empty field.
    if (!row.isEmpty() || text.isEmpty()) {
        row.append(QString());
        rows.append(row);
    }
    return rows;
}
