#include "files/bookreader.h"

#include "calc/numbertext.h"
#include "calc/sheetsize.h"
#include "files/bookformula.h"
#include "files/sheetformat.h"
#include "model/sheetmetrics.h"

#include <QDate>
#include <QHash>
#include <QXmlStreamReader>
#include <cmath>
#include <memory>
#include <zip.h>

namespace {

// The parts of a zip held in memory, each read with the inflated bytes counted against one
// bound for the whole book.
class ZipParts
{
public:
    explicit ZipParts(const QByteArray& bytes)
    {
        zip_error_t error;
        zip_error_init(&error);
        zip_source_t* source =
            zip_source_buffer_create(bytes.constData(), zip_uint64_t(bytes.size()), 0, &error);
        if (source) {
            m_zip = zip_open_from_source(source, ZIP_RDONLY, &error);
            if (!m_zip) {
                zip_source_free(source);
            }
        }
        zip_error_fini(&error);
    }
    ~ZipParts()
    {
        if (m_zip) {
            zip_discard(m_zip);
        }
    }
    ZipParts(const ZipParts&) = delete;
    ZipParts& operator=(const ZipParts&) = delete;

    bool isOpen() const { return m_zip != nullptr; }
    bool has(const QString& name) const
    {
        return m_zip && zip_name_locate(m_zip, name.toUtf8().constData(), 0) >= 0;
    }
    bool overBound() const { return m_overBound; }

    // Nothing when the part is missing or damaged, or when reading it passes the bound.
    std::optional<QByteArray> read(const QString& name)
    {
        if (!m_zip || m_overBound) {
            return std::nullopt;
        }
        const zip_int64_t index = zip_name_locate(m_zip, name.toUtf8().constData(), 0);
        if (index < 0) {
            return std::nullopt;
        }
        zip_file_t* file = zip_fopen_index(m_zip, zip_uint64_t(index), 0);
        if (!file) {
            return std::nullopt;
        }
        QByteArray out;
        char buffer[65536];
        zip_int64_t got = 0;
        while ((got = zip_fread(file, buffer, sizeof buffer)) > 0) {
            m_inflated += got;
            if (m_inflated > MaxBookInflated) {
                m_overBound = true;
                zip_fclose(file);
                return std::nullopt;
            }
            out.append(buffer, qsizetype(got));
        }
        const bool damaged = got < 0;
        zip_fclose(file);
        return damaged ? std::nullopt : std::optional<QByteArray>(out);
    }

private:
    zip_t* m_zip = nullptr;
    qint64 m_inflated = 0;
    bool m_overBound = false;
};

bool isTag(const QXmlStreamReader& xml, const char* name)
{
    return xml.name() == QLatin1String(name);
}

// "_x000D_" and its kind stand for one character in a book's texts; a line break is kept as one
// LF, as in the program's own files.
QString decodeEscapes(const QString& text)
{
    QString out;
    if (!text.contains(u"_x")) {
        appendWithLineBreaks(out, text);
        return out;
    }
    QString decoded;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'_' && i + 6 < text.size() && text[i + 1] == u'x' && text[i + 6] == u'_') {
            bool ok = false;
            const ushort code = text.mid(i + 2, 4).toUShort(&ok, 16);
            if (ok) {
                decoded += QChar(code);
                i += 6;
                continue;
            }
        }
        decoded += text[i];
    }
    appendWithLineBreaks(out, decoded);
    return out;
}

// The text of a string item (<si> or <is>): its <t> and runs, without the reading runs (<rPh>).
QString stringItem(QXmlStreamReader& xml)
{
    QString text;
    const QString end = xml.name().toString();
    int phonetic = 0;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            if (isTag(xml, "rPh")) {
                ++phonetic;
            } else if (isTag(xml, "t") && phonetic == 0) {
                text += xml.readElementText();
            }
        } else if (xml.isEndElement()) {
            if (isTag(xml, "rPh")) {
                --phonetic;
            } else if (xml.name() == end) {
                break;
            }
        }
    }
    return decodeEscapes(text);
}

std::vector<QString> sharedStrings(const QByteArray& part)
{
    std::vector<QString> strings;
    QXmlStreamReader xml(part);
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && isTag(xml, "si")) {
            strings.push_back(stringItem(xml));
        }
    }
    return strings;
}

// What the styles tell: for each cell format (xf) whether it shows a date, and the default
// font's widest digit in pixels.
struct Styles
{
    std::vector<bool> dateFormats;
    int digitPixels = 7;
};

Styles readStyles(const QByteArray& part)
{
    Styles styles;
    QHash<int, QString> codes;
    QXmlStreamReader xml(part);
    bool inXfs = false;
    bool inFonts = false;
    bool firstFont = true;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            if (isTag(xml, "numFmt")) {
                codes.insert(xml.attributes().value(QLatin1String("numFmtId")).toInt(),
                             xml.attributes().value(QLatin1String("formatCode")).toString());
            } else if (isTag(xml, "fonts")) {
                inFonts = true;
            } else if (inFonts && firstFont && isTag(xml, "sz")) {
                // Calibri 11 has digits 7 pixels wide; other sizes in proportion.
                const double size = xml.attributes().value(QLatin1String("val")).toDouble();
                if (size > 0) {
                    styles.digitPixels = std::max(1, int(std::lround(7.0 * size / 11.0)));
                }
            } else if (isTag(xml, "cellXfs")) {
                inXfs = true;
            } else if (inXfs && isTag(xml, "xf")) {
                const int id = xml.attributes().value(QLatin1String("numFmtId")).toInt();
                styles.dateFormats.push_back(isDateFormat(id, codes.value(id)));
            }
        } else if (xml.isEndElement()) {
            if (isTag(xml, "cellXfs")) {
                inXfs = false;
            } else if (isTag(xml, "font")) {
                firstFont = false;
            } else if (isTag(xml, "fonts")) {
                inFonts = false;
            }
        }
    }
    return styles;
}

// Where the first worksheet is, whether dates count from 1904, and whether more worksheets follow.
struct Workbook
{
    QString sheetPart;
    bool from1904 = false;
    bool moreSheets = false;
};

std::optional<Workbook> readWorkbook(const QByteArray& workbook, const QByteArray& relations)
{
    // Relationship ids of worksheets, and their parts.
    QHash<QString, QString> worksheets;
    QXmlStreamReader rels(relations);
    while (!rels.atEnd()) {
        rels.readNext();
        if (rels.isStartElement() && isTag(rels, "Relationship") &&
            rels.attributes().value(QLatin1String("Type")).endsWith(u"/worksheet")) {
            QString target = rels.attributes().value(QLatin1String("Target")).toString();
            target = target.startsWith(u'/') ? target.mid(1) : QStringLiteral("xl/") + target;
            worksheets.insert(rels.attributes().value(QLatin1String("Id")).toString(), target);
        }
    }
    Workbook book;
    QXmlStreamReader xml(workbook);
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement()) {
            continue;
        }
        if (isTag(xml, "workbookPr")) {
            const auto value = xml.attributes().value(QLatin1String("date1904"));
            book.from1904 = value == u"1" || value == u"true";
        } else if (isTag(xml, "sheet")) {
            QString id;
            for (const QXmlStreamAttribute& a : xml.attributes()) {
                if (a.name() == u"id") { // r:id, whatever the prefix
                    id = a.value().toString();
                }
            }
            if (!worksheets.contains(id)) {
                continue;
            }
            if (book.sheetPart.isEmpty()) {
                book.sheetPart = worksheets.value(id);
            } else {
                book.moreSheets = true;
            }
        }
    }
    if (xml.hasError() || book.sheetPart.isEmpty()) {
        return std::nullopt;
    }
    return book;
}

// "C12" as (12, 3); nothing beyond the letters and digits of a reference.
bool parseCellRef(QStringView ref, qint64& row, qint64& col)
{
    qsizetype i = 0;
    col = 0;
    while (i < ref.size() && ref[i] >= u'A' && ref[i] <= u'Z' && col < 100000) {
        col = col * 26 + (ref[i].unicode() - u'A' + 1);
        ++i;
    }
    bool ok = false;
    row = ref.sliced(i).toLongLong(&ok);
    return i > 0 && ok && row > 0;
}

// One cell as the worksheet holds it.
struct BookCell
{
    qint64 row = 0;
    qint64 col = 0;
    QString type; // t: s, str, inlineStr, b, e, n
    int style = 0;
    QString value;
    QString inlineText;
    bool hasFormula = false;
    QString formula;
    QString sharedIndex; // of a shared formula
    bool sharedMaster = false;
};

// Which cells of the sheet show dates, counted so that a block of any size is asked at once:
// m_counts holds, for each cell, the dates above and left of it, itself included.
class DateCells
{
public:
    void add(int row, int col)
    {
        m_counts[index(row, col)] = 1;
        m_any = true;
    }
    // Turns the marks into counts; after add, before within.
    void count()
    {
        for (int r = 1; r <= LastRow; ++r) {
            for (int c = 1; c <= LastCol; ++c) {
                m_counts[index(r, c)] += m_counts[index(r - 1, c)] + m_counts[index(r, c - 1)] -
                                         m_counts[index(r - 1, c - 1)];
            }
        }
    }
    bool any() const { return m_any; }
    bool within(const CellBlock& b) const
    {
        return m_counts[index(b.bottom, b.right)] - m_counts[index(b.top - 1, b.right)] -
                   m_counts[index(b.bottom, b.left - 1)] + m_counts[index(b.top - 1, b.left - 1)] >
               0;
    }

private:
    static size_t index(int row, int col) { return size_t(row) * (LastCol + 1) + size_t(col); }
    std::vector<int> m_counts = std::vector<int>(size_t(LastRow + 1) * (LastCol + 1));
    bool m_any = false;
};

struct SharedFormula
{
    qint64 row = 0;
    qint64 col = 0;
    QString formula;
};

class SheetReader
{
public:
    SheetReader(const std::vector<QString>& strings, const Styles& styles, bool from1904)
        : m_strings(strings), m_styles(styles), m_from1904(from1904)
    {
    }

    bool read(const QByteArray& part, BookContent& content);

private:
    bool isDate(const BookCell& cell) const
    {
        return cell.style >= 0 && size_t(cell.style) < m_styles.dateFormats.size() &&
               m_styles.dateFormats[size_t(cell.style)];
    }
    // What the cell shows as a value: its number (or date), text, truth value or error.
    QString valueText(const BookCell& cell) const;
    void readCell(QXmlStreamReader& xml, BookCell& cell);
    void readColumns(QXmlStreamReader& xml);

    const std::vector<QString>& m_strings;
    const Styles& m_styles;
    bool m_from1904;
    double m_defaultWidth = 8.43;
    std::vector<std::pair<std::pair<int, int>, double>> m_widths; // (min, max) → width
};

QString SheetReader::valueText(const BookCell& cell) const
{
    if (cell.type == u"s") {
        bool ok = false;
        const qsizetype index = cell.value.toLongLong(&ok);
        return ok && index >= 0 && size_t(index) < m_strings.size() ? m_strings[size_t(index)]
                                                                    : QString();
    }
    if (cell.type == u"inlineStr") {
        return cell.inlineText;
    }
    if (cell.type == u"str" || cell.type == u"e") {
        return decodeEscapes(cell.value);
    }
    if (cell.type == u"b") {
        return cell.value == u"1" ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
    }
    if (cell.value.isEmpty()) {
        return QString();
    }
    bool ok = false;
    const double number = cell.value.toDouble(&ok);
    if (!ok || !std::isfinite(number)) {
        return cell.value;
    }
    if (isDate(cell)) {
        if (const std::optional<QString> date = bookDateText(number, m_from1904)) {
            return *date;
        }
    }
    return gridNumberText(number);
}

void SheetReader::readCell(QXmlStreamReader& xml, BookCell& cell)
{
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            if (isTag(xml, "v")) {
                cell.value = xml.readElementText();
            } else if (isTag(xml, "f")) {
                cell.hasFormula = true;
                const QXmlStreamAttributes a = xml.attributes();
                const bool shared = a.value(QLatin1String("t")) == u"shared";
                const bool array = a.value(QLatin1String("t")) == u"array" ||
                                   a.value(QLatin1String("t")) == u"dataTable";
                if (shared) {
                    cell.sharedIndex = a.value(QLatin1String("si")).toString();
                }
                cell.formula = xml.readElementText();
                cell.sharedMaster = shared && !cell.formula.isEmpty();
                if (array) {
                    cell.formula.clear(); // never one of ours
                    cell.sharedIndex.clear();
                }
            } else if (isTag(xml, "is")) {
                cell.inlineText = stringItem(xml);
            }
        } else if (xml.isEndElement() && isTag(xml, "c")) {
            return;
        }
    }
}

void SheetReader::readColumns(QXmlStreamReader& xml)
{
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && isTag(xml, "col")) {
            const QXmlStreamAttributes a = xml.attributes();
            const bool hidden = a.value(QLatin1String("hidden")) == u"1" ||
                                a.value(QLatin1String("hidden")) == u"true";
            const double width = hidden ? 0 : a.value(QLatin1String("width")).toDouble();
            m_widths.push_back(
                {{a.value(QLatin1String("min")).toInt(), a.value(QLatin1String("max")).toInt()},
                 width});
        } else if (xml.isEndElement() && isTag(xml, "cols")) {
            return;
        }
    }
}

bool SheetReader::read(const QByteArray& part, BookContent& content)
{
    std::vector<BookCell> cells;
    QXmlStreamReader xml(part);
    qint64 row = 0;
    qint64 col = 0;
    int zoom = 100;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement()) {
            continue;
        }
        const QXmlStreamAttributes a = xml.attributes();
        if (isTag(xml, "sheetView") && a.hasAttribute(QLatin1String("zoomScale"))) {
            zoom = a.value(QLatin1String("zoomScale")).toInt();
        } else if (isTag(xml, "sheetFormatPr") &&
                   a.hasAttribute(QLatin1String("defaultColWidth"))) {
            m_defaultWidth = a.value(QLatin1String("defaultColWidth")).toDouble();
        } else if (isTag(xml, "cols")) {
            readColumns(xml);
        } else if (isTag(xml, "row")) {
            // Rows and cells without their r follow the ones before.
            row = a.hasAttribute(QLatin1String("r")) ? a.value(QLatin1String("r")).toLongLong()
                                                     : row + 1;
            col = 0;
        } else if (isTag(xml, "c")) {
            BookCell cell;
            qint64 r = row;
            qint64 c = col + 1;
            if (a.hasAttribute(QLatin1String("r")) &&
                !parseCellRef(a.value(QLatin1String("r")), r, c)) {
                return false;
            }
            cell.row = r;
            cell.col = c;
            row = r;
            col = c;
            cell.type = a.value(QLatin1String("t")).toString();
            cell.style =
                a.hasAttribute(QLatin1String("s")) ? a.value(QLatin1String("s")).toInt() : 0;
            readCell(xml, cell);
            if (r > LastRow || c > LastCol) {
                content.overflow = true;
            } else if (r >= 1 && c >= 1) {
                cells.push_back(std::move(cell));
            }
        }
    }
    if (xml.hasError()) {
        return false;
    }

    // The cells that show dates: a formula that reads one is taken as its value.
    DateCells dates;
    for (const BookCell& cell : cells) {
        if (!cell.hasFormula && (cell.type.isEmpty() || cell.type == u"n") && isDate(cell) &&
            !cell.value.isEmpty()) {
            dates.add(int(cell.row), int(cell.col));
        }
    }
    dates.count();
    QHash<QString, SharedFormula> shared;
    for (const BookCell& cell : cells) {
        if (cell.sharedMaster) {
            shared.insert(cell.sharedIndex, {cell.row, cell.col, cell.formula});
        }
    }
    for (const BookCell& cell : cells) {
        QString expression = valueText(cell);
        if (cell.hasFormula) {
            QString formula = cell.formula;
            if (!cell.sharedIndex.isEmpty() && !cell.sharedMaster) {
                const auto master = shared.constFind(cell.sharedIndex);
                std::optional<QString> moved;
                if (master != shared.cend()) {
                    moved = shiftedFormula(master->formula, int(cell.row - master->row),
                                           int(cell.col - master->col));
                }
                formula = moved.value_or(QString());
            }
            std::optional<QString> ours =
                formula.isEmpty() ? std::nullopt : programFormula(formula);
            if (ours && dates.any()) {
                for (const CellBlock& block : formulaBlocks(*ours)) {
                    if (dates.within(block)) {
                        ours.reset();
                        break;
                    }
                }
            }
            if (ours) {
                expression = QLatin1Char('=') + *ours;
            } else {
                ++content.valuesForFormulas;
            }
        } else if (expression.startsWith(u'=')) {
            ++content.textsLikeFormulas;
        }
        if (!expression.isEmpty()) {
            content.cells.push_back({int(cell.row), int(cell.col), expression});
        }
    }

    // The layout: each column's width, the zoom as the display size when it is one.
    SheetLayout& layout = content.layout;
    layout.DisplayScale = isDisplayScale(zoom / 100.0) ? float(zoom / 100.0) : 1.0f;
    for (int c = 1; c <= LastCol; ++c) {
        double width = m_defaultWidth;
        for (const auto& [span, w] : m_widths) {
            if (c >= span.first && c <= span.second) {
                width = w;
            }
        }
        layout.ColWidths[size_t(c)] = bookWidthToTwips(width, m_styles.digitPixels);
    }
    return true;
}

} // namespace

bool isBook(const QByteArray& bytes)
{
    return bytes.startsWith("PK\x03\x04") && ZipParts(bytes).has(QStringLiteral("xl/workbook.xml"));
}

bool isForeignContainer(const QByteArray& bytes)
{
    return bytes.startsWith("PK\x03\x04") || bytes.startsWith("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1");
}

std::optional<BookContent> readBook(const QByteArray& bytes)
{
    ZipParts zip(bytes);
    if (!zip.isOpen()) {
        return std::nullopt;
    }
    const std::optional<QByteArray> workbookPart = zip.read(QStringLiteral("xl/workbook.xml"));
    const std::optional<QByteArray> relations =
        zip.read(QStringLiteral("xl/_rels/workbook.xml.rels"));
    if (!workbookPart || !relations) {
        return std::nullopt;
    }
    const std::optional<Workbook> workbook = readWorkbook(*workbookPart, *relations);
    if (!workbook) {
        return std::nullopt;
    }
    std::vector<QString> strings;
    if (zip.has(QStringLiteral("xl/sharedStrings.xml"))) {
        const std::optional<QByteArray> part = zip.read(QStringLiteral("xl/sharedStrings.xml"));
        if (!part) {
            return std::nullopt;
        }
        strings = sharedStrings(*part);
    }
    Styles styles;
    if (zip.has(QStringLiteral("xl/styles.xml"))) {
        const std::optional<QByteArray> part = zip.read(QStringLiteral("xl/styles.xml"));
        if (!part) {
            return std::nullopt;
        }
        styles = readStyles(*part);
    }
    const std::optional<QByteArray> sheet = zip.read(workbook->sheetPart);
    if (!sheet) {
        return std::nullopt;
    }
    BookContent content;
    content.overflow = workbook->moreSheets;
    if (!SheetReader(strings, styles, workbook->from1904).read(*sheet, content)) {
        return std::nullopt;
    }
    return content;
}

std::optional<QString> bookDateText(double serial, bool from1904)
{
    if (!std::isfinite(serial) || serial < 0 || serial >= 2958466) { // 10000-01-01
        return std::nullopt;
    }
    const qint64 day = qint64(std::floor(serial));
    QDate date;
    if (from1904) {
        date = QDate(1904, 1, 1).addDays(day);
    } else if (day == 60) {
        return QStringLiteral("1900/02/29"); // the day the 1900 system counts though it never was
    } else if (day == 0) {
        return QStringLiteral("1900/01/00");
    } else {
        date = QDate(1899, 12, day < 60 ? 31 : 30).addDays(day);
    }
    return date.toString(QStringLiteral("yyyy/MM/dd"));
}

bool isDateFormat(int id, const QString& code)
{
    if ((id >= 14 && id <= 17) || id == 22 || (id >= 27 && id <= 36) || (id >= 50 && id <= 58)) {
        return true;
    }
    if (code.isEmpty()) {
        return false;
    }
    // The code without quoted text, escaped characters and bracketed parts ([Red], [$-411]).
    QString plain;
    for (qsizetype i = 0; i < code.size(); ++i) {
        const QChar ch = code[i];
        if (ch == u'"') {
            const qsizetype end = code.indexOf(u'"', i + 1);
            i = end < 0 ? code.size() : end;
        } else if (ch == u'\\' || ch == u'_' || ch == u'*') {
            ++i;
        } else if (ch == u'[') {
            const qsizetype end = code.indexOf(u']', i + 1);
            i = end < 0 ? code.size() : end;
        } else {
            plain += ch.toLower();
        }
    }
    // Neither "General" nor a scientific exponent (0.00E+00) is a date's g or e.
    plain.remove(QStringLiteral("general"));
    plain.remove(QStringLiteral("e+"));
    plain.remove(QStringLiteral("e-"));
    for (const QChar mark : {u'y', u'd', u'年', u'日', u'g', u'e'}) {
        if (plain.contains(mark)) {
            return true;
        }
    }
    return false;
}

int bookWidthToTwips(double width, int digitPixels)
{
    if (!(width > 0) || !std::isfinite(width)) {
        return 0;
    }
    const int digit = std::max(1, digitPixels);
    // Pixels as spreadsheets lay a width in characters out (padding included), at 96 dpi.
    const double pixels =
        std::trunc((256.0 * std::min(width, 255.0) + std::trunc(128.0 / digit)) / 256.0 * digit);
    return std::clamp(int(pixels) * 15, 0, 32767);
}
