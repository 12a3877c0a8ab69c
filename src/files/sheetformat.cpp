#include "sheetformat.h"

#include "sheetmodel.h"

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

QStringList splitFields(QStringView line)
{
    QStringList fields;
    fields.reserve(line.count(QLatin1Char(',')) + 1);
    const qsizetype n = line.size();
    qsizetype i = 0;
    while (true) {
        if (i < n && line[i] == QLatin1Char('"')) {
            QString field;
            ++i;
            bool closed = false;
            while (i < n) {
                const qsizetype quote = line.indexOf(QLatin1Char('"'), i);
                if (quote < 0) {
                    field += line.sliced(i); // never closed: the rest of the line
                    i = n;
                    break;
                }
                field += line.sliced(i, quote - i);
                if (quote + 1 < n && line[quote + 1] == QLatin1Char('"')) {
                    field += QLatin1Char('"');
                    i = quote + 2;
                } else if (quote + 1 == n || line[quote + 1] == QLatin1Char(',')) {
                    i = quote + 1;
                    closed = true;
                    break;
                } else {
                    field += QLatin1Char('"'); // a lone double quote stands for itself
                    i = quote + 1;
                }
            }
            fields.append(field);
            if (!closed || i == n) {
                break;
            }
            ++i; // the comma
            if (i == n) {
                fields.append(QString()); // a comma at the end leaves one empty field after it
                break;
            }
            continue;
        }
        qsizetype end = line.indexOf(QLatin1Char(','), i);
        if (end < 0) {
            end = n;
        }
        QString field = line.sliced(i, end - i).toString();
        if (field.contains(QLatin1Char('"'))) {
            field = field.size() <= 2 ? QString() : field.sliced(1, field.size() - 2);
        }
        fields.append(field);
        if (end == n) {
            break;
        }
        i = end + 1;
    }
    return fields;
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
    const QList<QStringView> lines = splitLines(text);
    sheet.rows.reserve(size_t(lines.size()));
    qsizetype i = 0;
    for (; i < lines.size(); ++i) {
        if (isMarkerLine(lines[i])) {
            sheet.hasTrailer = true;
            break;
        }
        sheet.rows.push_back(splitFields(lines[i]));
    }
    for (++i; sheet.hasTrailer && i < lines.size(); ++i) {
        for (const QStringView value : lines[i].split(QLatin1Char(','))) {
            const QStringView v = value.trimmed();
            if (!v.isEmpty()) {
                sheet.trailer.append(v.toString());
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
