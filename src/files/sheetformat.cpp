#include "files/sheetformat.h"

#include "model/sheetmodel.h"

#include <cmath>
#include <limits>

QList<QStringView> splitLines(QStringView text)
{
    QList<QStringView> lines;
    qsizetype start = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar ch = text[i];
        if (ch == QLatin1Char('\r') || ch == QLatin1Char('\n')) {
            lines.append(text.sliced(start, i - start));
            if (ch == QLatin1Char('\r') && i + 1 < n && text[i + 1] == QLatin1Char('\n')) {
                ++i;
            }
            start = i + 1;
        }
    }
    if (start < n) {
        lines.append(text.sliced(start));
    }
    return lines;
}

bool isMarkerLine(QStringView line)
{
    return line.trimmed() == QLatin1String("\"00.00\"");
}

namespace {

bool isLineEnd(QChar ch)
{
    return ch == QLatin1Char('\r') || ch == QLatin1Char('\n');
}

// Reads the cell rows of a text one after the other. A row is one line, except that a quoted
// field runs over line ends to its closing quote.
class CellRowReader
{
public:
    explicit CellRowReader(QStringView text) : m_text(text) {}

    bool atEnd() const { return m_pos >= m_text.size(); }
    qsizetype pos() const { return m_pos; }
    // The line the next row starts on, without its line end.
    QStringView nextLine() const { return m_text.sliced(m_pos, lineEnd(m_pos) - m_pos); }
    QStringList readRow();

private:
    qsizetype lineEnd(qsizetype from) const
    {
        while (from < m_text.size() && !isLineEnd(m_text[from])) {
            ++from;
        }
        return from;
    }
    qsizetype quoteRun(qsizetype from) const
    {
        qsizetype end = from;
        while (end < m_text.size() && m_text[end] == QLatin1Char('"')) {
            ++end;
        }
        return end - from;
    }
    bool readQuoted(QString& field);
    void readQuotedInLine(QString& field);
    QString readUnquoted();

    QStringView m_text;
    qsizetype m_pos = 0;
    // No closing quote starts at or after this position (-1: not known), so a text of many
    // unclosed fields is not searched to its end again and again.
    qsizetype m_noCloseFrom = -1;
};

QStringList CellRowReader::readRow()
{
    QStringList fields;
    while (true) {
        QString field;
        if (!atEnd() && m_text[m_pos] == QLatin1Char('"')) {
            if (!readQuoted(field)) {
                readQuotedInLine(field);
            }
        } else {
            field = readUnquoted();
        }
        fields.append(field);
        if (atEnd() || m_text[m_pos] != QLatin1Char(',')) {
            break;
        }
        ++m_pos; // a comma at the end of the row leaves one empty field after it
    }
    // The row's line end: CR LF, CR or LF.
    if (!atEnd() && m_text[m_pos] == QLatin1Char('\r')) {
        ++m_pos;
        if (!atEnd() && m_text[m_pos] == QLatin1Char('\n')) {
            ++m_pos;
        }
    } else if (!atEnd() && m_text[m_pos] == QLatin1Char('\n')) {
        ++m_pos;
    }
    return fields;
}

// From the opening quote: a run of quotes stands for half as many quotes; an odd run ends with a
// closing quote when a comma, a line end or the end of the text follows, and with a lone quote,
// kept as it stands, otherwise. False (nothing read) when no closing quote comes.
bool CellRowReader::readQuoted(QString& field)
{
    const qsizetype n = m_text.size();
    const qsizetype firstFree = m_pos + 1 + quoteRun(m_pos + 1);
    QString text;
    for (qsizetype i = m_pos + 1;;) {
        const qsizetype quote = m_text.indexOf(QLatin1Char('"'), i);
        if (quote < 0 || (quote >= firstFree && m_noCloseFrom >= 0 && quote >= m_noCloseFrom)) {
            m_noCloseFrom = m_noCloseFrom < 0 ? firstFree : std::min(m_noCloseFrom, firstFree);
            return false;
        }
        appendWithLineBreaks(text, m_text.sliced(i, quote - i));
        const qsizetype run = quoteRun(quote);
        text += QString(run / 2, QLatin1Char('"'));
        i = quote + run;
        if (run % 2 == 1) {
            if (i == n || m_text[i] == QLatin1Char(',') || isLineEnd(m_text[i])) {
                field = text;
                m_pos = i;
                return true;
            }
            text += QLatin1Char('"');
        }
    }
}

// A quoted field never closed: the rest of its line, doubled quotes read as one.
void CellRowReader::readQuotedInLine(QString& field)
{
    const qsizetype end = lineEnd(m_pos);
    for (qsizetype i = m_pos + 1; i < end;) {
        const qsizetype quote = m_text.indexOf(QLatin1Char('"'), i);
        if (quote < 0 || quote >= end) {
            field += m_text.sliced(i, end - i);
            break;
        }
        field += m_text.sliced(i, quote - i);
        const qsizetype run = std::min(quoteRun(quote), end - quote);
        field += QString((run + 1) / 2, QLatin1Char('"'));
        i = quote + run;
    }
    m_pos = end;
}

// Up to the next comma or line end; holding a double quote anywhere, it loses its first and
// last character.
QString CellRowReader::readUnquoted()
{
    qsizetype end = m_pos;
    while (end < m_text.size() && m_text[end] != QLatin1Char(',') && !isLineEnd(m_text[end])) {
        ++end;
    }
    QStringView field = m_text.sliced(m_pos, end - m_pos);
    m_pos = end;
    if (field.contains(QLatin1Char('"'))) {
        return field.size() <= 2 ? QString() : field.sliced(1, field.size() - 2).toString();
    }
    return field.toString();
}

} // namespace

void appendWithLineBreaks(QString& field, QStringView text)
{
    for (qsizetype start = 0;;) {
        qsizetype cr = text.indexOf(QLatin1Char('\r'), start);
        if (cr < 0) {
            field += text.sliced(start);
            return;
        }
        field += text.sliced(start, cr - start);
        field += QLatin1Char('\n');
        start = cr + 1 < text.size() && text[cr + 1] == QLatin1Char('\n') ? cr + 2 : cr + 1;
    }
}

QStringList splitFields(QStringView line)
{
    return CellRowReader(line).readRow();
}

void appendQuotedField(QString& line, QStringView text)
{
    line += QLatin1Char('"');
    for (qsizetype start = 0;;) {
        const qsizetype quote = text.indexOf(QLatin1Char('"'), start);
        if (quote < 0) {
            line += text.sliced(start);
            break;
        }
        line += text.sliced(start, quote + 1 - start);
        line += QLatin1Char('"');
        start = quote + 1;
    }
    line += QLatin1Char('"');
}

SheetText parseSheetText(QStringView text)
{
    SheetText sheet;
    CellRowReader reader(text);
    while (!reader.atEnd()) {
        // Only a line that starts a row can be the marker: inside a quoted field it is text.
        if (isMarkerLine(reader.nextLine())) {
            sheet.hasTrailer = true;
            break;
        }
        sheet.rows.push_back(reader.readRow());
    }
    if (sheet.hasTrailer) {
        for (const QStringView line :
             splitLines(text.sliced(reader.pos())).sliced(1)) { // after the marker
            for (const QStringView value : line.split(QLatin1Char(','))) {
                const QStringView v = value.trimmed();
                if (!v.isEmpty()) {
                    sheet.trailer.append(v.toString());
                }
            }
        }
    }
    return sheet;
}

void readTrailer(const QStringList& values, int (&widths)[LastCol], float& scale)
{
    for (qsizetype i = 0; i < LastCol && i < values.size(); ++i) {
        bool ok = false;
        const short width = values[i].toShort(&ok);
        if (ok) {
            widths[i] = width;
        }
    }
    if (values.size() > LastCol) {
        bool ok = false;
        const float value = values[LastCol].toFloat(&ok);
        if (ok && isDisplayScale(value)) {
            scale = value;
        }
    }
}
