#include "files/bookwriter.h"

#include "calc/numbertext.h"
#include "files/sheetio.h"
#include "model/sheetmetrics.h"
#include "model/sheetmodel.h"
#include "model/standalonesheet.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cmath>
#include <xlsxwriter.h>

bool isBookPath(const QString& path)
{
    return path.endsWith(QLatin1String("xlsx"), Qt::CaseInsensitive);
}

QString bookSheetName(const QString& path)
{
    QString name = QFileInfo(path).completeBaseName();
    for (QChar& ch : name) {
        if (QStringLiteral("[]:*?/\\").contains(ch)) {
            ch = u'_';
        }
    }
    if (name.startsWith(u'\'')) {
        name[0] = u'_';
    }
    name = name.left(31);
    if (name.endsWith(u'\'')) {
        name[name.size() - 1] = u'_';
    }
    return name.isEmpty() ? QStringLiteral("Sheet1") : name;
}

namespace {

// A width in twips as characters of the book's default font (digits 7 pixels wide, 5 pixels of
// padding at 96 dots per inch), which is how the library lays a width out again.
double bookWidth(int twips)
{
    const double pixels = twips / 15.0;
    return pixels >= 12 ? (pixels - 5) / 7.0 : pixels / 12.0;
}

// Writes one cell; false when the library refuses it (a text longer than a book's cell holds).
bool writeCell(lxw_worksheet* ws, lxw_format* format, const SheetModel& sheet, int r, int c)
{
    const QString& expression = sheet.exWithoutMoving(r, c);
    const auto row = lxw_row_t(r - 1);
    const auto col = lxw_col_t(c - 1);
    if (expression.startsWith(u'=')) {
        const QByteArray formula = expression.mid(1).toUtf8();
        const QString& shown = sheet.valueText(r, c);
        if (const std::optional<double> value = readFormulaNumber(shown)) {
            return worksheet_write_formula_num(ws, row, col, formula.constData(), format, *value) ==
                   LXW_NO_ERROR;
        }
        return worksheet_write_formula_str(ws, row, col, formula.constData(), format,
                                           shown.toUtf8().constData()) == LXW_NO_ERROR;
    }
    // A number only where its text is the program's own text of it: 007 stays a text.
    if (const std::optional<double> value = readFormulaNumber(expression);
        value && gridNumberText(*value) == expression) {
        return worksheet_write_number(ws, row, col, *value, format) == LXW_NO_ERROR;
    }
    return worksheet_write_string(ws, row, col, expression.toUtf8().constData(), format) ==
           LXW_NO_ERROR;
}

} // namespace

// The library writes the book into a folder of its own, from which its bytes are taken.
std::optional<QByteArray> bookFileBytes(const QString& path, const SheetModel& sheet)
{
    QTemporaryDir folder;
    if (!folder.isValid()) {
        return std::nullopt;
    }
    const QString file = folder.filePath(QStringLiteral("book.xlsx"));
    QByteArray tmpdir = folder.path().toUtf8();
    lxw_workbook_options options{};
    options.tmpdir = tmpdir.data();
    lxw_workbook* workbook = workbook_new_opt(file.toUtf8().constData(), &options);
    if (!workbook) {
        return std::nullopt;
    }
    bool written = true;
    lxw_worksheet* ws = workbook_add_worksheet(workbook, bookSheetName(path).toUtf8().constData());
    lxw_format* format = workbook_add_format(workbook);
    if (ws && format) {
        // The zoom enlarges the font as it does the widths.
        format_set_font_name(format, GridFontFamily);
        format_set_font_size(format, Size100.fontSize);
        const SheetLayout layout = sheet.layout();
        // A formula is computed when it is entered, so what the sheet shows may be older than
        // the cells it reads. The book caches what the sheet shows once opened again: a copy
        // entered as a file is read.
        StandaloneSheet opened(sheet.roundDigits());
        const std::vector<StoredCell> cells = sheet.storedCells();
        enterStoredCells(opened.model, cells, layout);
        for (int c = 1; c <= LastCol; ++c) {
            worksheet_set_column(ws, lxw_col_t(c - 1), lxw_col_t(c - 1),
                                 bookWidth(layout.ColWidths[size_t(c)]), nullptr);
        }
        worksheet_set_zoom(ws, uint16_t(std::lround(layout.DisplayScale * 100)));
        for (const StoredCell& cell : cells) {
            if (!writeCell(ws, format, opened.model, cell.row, cell.col)) {
                written = false;
                break;
            }
        }
    } else {
        written = false;
    }
    // Closing writes the book; it frees the workbook whatever happens.
    written = workbook_close(workbook) == LXW_NO_ERROR && written;
    QFile book(file);
    if (!written || !book.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    return book.readAll();
}
