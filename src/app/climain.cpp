// zeltarn-cli: the sheet tools that need no window.
#include "files/sheetio.h"
#include "model/standalonesheet.h"

#include <QCoreApplication>
#include <QStringList>
#include <QTextStream>
#include <memory>
#include <optional>

namespace {

constexpr int ExitDone = 0;
constexpr int ExitLeftOut = 1;
constexpr int ExitFile = 2;
constexpr int ExitUsage = 64;

const char* const Usage =
    "Usage: zeltarn-cli calc [--digits N] EXPRESSION...\n"
    "       zeltarn-cli show [--digits N] [--recalc K] FILE\n"
    "       zeltarn-cli convert [--digits N] IN OUT\n"
    "\n"
    "calc     enters each expression into the next cell of column A (A1, A2, ...) as the\n"
    "         program does and prints the cell, the expression and what the cell shows.\n"
    "         Formulas begin with \"=\" and may refer to cells entered before them.\n"
    "show     opens a sheet file (.zel), CSV or book (.xlsx) as the program does,\n"
    "         recalculates it K times (default 0) and prints what its cells show, from A1\n"
    "         to the last used row and column: a line per row, cells separated by a tab.\n"
    "convert  opens IN and saves it as OUT, as Save As does: a sheet file with its layout\n"
    "         when OUT ends in \"zel\", a book when it ends in \"xlsx\", CSV otherwise;\n"
    "         sheet files and CSV in Shift-JIS with CR LF.\n"
    "\n"
    "--digits N  decimal places of results, 0 to 9 (default 5)\n"
    "--recalc K  recalculations after loading (default 0)\n"
    "\n"
    "Exit status: 0 done; 1 done, but rows beyond 500 or fields beyond column Z were\n"
    "left out (what was written stays written); 2 a file could not be read or written;\n"
    "64 wrong arguments.\n";

using Sheet = StandaloneSheet;

struct Options
{
    qint16 digits = 5;
    int recalc = 0;
    QStringList operands;
};

std::optional<Options> parseOptions(QStringList args, QTextStream& err)
{
    Options options;
    while (!args.isEmpty() && args.front().startsWith(QLatin1String("--"))) {
        const QString name = args.takeFirst();
        bool ok = false;
        const int value = args.isEmpty() ? -1 : args.takeFirst().toInt(&ok);
        if (name == QLatin1String("--digits") && ok && value >= 0 && value <= 9) {
            options.digits = qint16(value);
        } else if (name == QLatin1String("--recalc") && ok && value >= 0) {
            options.recalc = value;
        } else if (name == QLatin1String("--digits")) {
            err << "zeltarn-cli: --digits takes a number from 0 to 9\n";
            return std::nullopt;
        } else if (name == QLatin1String("--recalc")) {
            err << "zeltarn-cli: --recalc takes a number of 0 or more\n";
            return std::nullopt;
        } else {
            err << "zeltarn-cli: unknown option " << name << "\n";
            return std::nullopt;
        }
    }
    options.operands = args;
    return options;
}

int runCalc(const Options& options, QTextStream& out, QTextStream& err)
{
    if (options.operands.isEmpty() || options.operands.size() > LastRow) {
        err << Usage;
        return ExitUsage;
    }
    auto sheet = std::make_unique<Sheet>(options.digits);
    for (int i = 0; i < options.operands.size(); ++i) {
        sheet->grid.setCurrent(i + 1, 1);
        sheet->model.enter(options.operands.at(i));
        out << " A " << (i + 1) << '\t' << options.operands.at(i) << '\t'
            << sheet->grid.textAt(i + 1, 1) << '\n';
    }
    return ExitDone;
}

// Loads a file into the sheet: ExitDone, ExitLeftOut when data beyond the sheet was left out,
// or ExitFile (with the reason said) when it cannot be read. Only a regular file within the
// program's bound is read at all: a device or a pipe could be endless.
int load(Sheet& sheet, const QString& path, QTextStream& err)
{
    switch (checkSheetFile(path)) {
    case FileCheck::Readable:
        break;
    case FileCheck::Missing:
        err << "zeltarn-cli: cannot read " << path << "\n";
        return ExitFile;
    case FileCheck::NotAFile:
        err << "zeltarn-cli: " << path << " is not a regular file\n";
        return ExitFile;
    case FileCheck::TooLarge:
        err << "zeltarn-cli: " << path << " is larger than " << MaxSheetFileSize / (1024 * 1024)
            << " MiB, the most a sheet file may hold\n";
        return ExitFile;
    }
    const LoadResult result = loadSheetFile(path, sheet.model);
    if (!result.read) {
        err << "zeltarn-cli: cannot read " << path << "\n";
        return ExitFile;
    }
    if (result.valuesForFormulas > 0) {
        err << "zeltarn-cli: " << path << ": " << result.valuesForFormulas
            << " formulas this program does not compute came in as their values\n";
    }
    if (result.textsLikeFormulas > 0) {
        err << "zeltarn-cli: " << path << ": " << result.textsLikeFormulas
            << " texts beginning with \"=\" were entered as formulas\n";
    }
    if (result.overflow) {
        err << "zeltarn-cli: " << path
            << ": rows beyond 500, fields beyond column Z or further worksheets were left out\n";
        return ExitLeftOut;
    }
    return ExitDone;
}

int runShow(const Options& options, QTextStream& out, QTextStream& err)
{
    if (options.operands.size() != 1) {
        err << Usage;
        return ExitUsage;
    }
    auto sheet = std::make_unique<Sheet>(options.digits);
    const int loaded = load(*sheet, options.operands.front(), err);
    if (loaded == ExitFile) {
        return ExitFile;
    }
    for (int k = 0; k < options.recalc; ++k) {
        sheet->model.recalculate();
    }
    const auto [lastRow, lastCol] = sheet->model.usedExtent();
    for (int r = 1; r <= lastRow; ++r) {
        for (int c = 1; c <= lastCol; ++c) {
            out << sheet->grid.textAt(r, c) << (c < lastCol ? '\t' : '\n');
        }
    }
    return loaded;
}

int runConvert(const Options& options, QTextStream& err)
{
    if (options.operands.size() != 2) {
        err << Usage;
        return ExitUsage;
    }
    auto sheet = std::make_unique<Sheet>(options.digits);
    const int loaded = load(*sheet, options.operands.at(0), err);
    if (loaded == ExitFile) {
        return ExitFile;
    }
    const QString target = options.operands.at(1);
    const SaveResult result = saveSheetFile(target, sheet->model);
    switch (result.status) {
    case SaveResult::Status::Saved:
        return loaded;
    case SaveResult::Status::Unencodable:
        err << "zeltarn-cli: cell " << cellName(result.row, result.col)
            << " holds a character that Shift-JIS cannot store; nothing was written\n";
        return ExitFile;
    case SaveResult::Status::WriteFailed:
        break;
    }
    err << "zeltarn-cli: cannot write " << target << "\n";
    return ExitFile;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    QTextStream out(stdout);
    QTextStream err(stderr);
    out.setEncoding(QStringConverter::Utf8);
    err.setEncoding(QStringConverter::Utf8);
    if (args.isEmpty() || args.front() == QLatin1String("--help") ||
        args.front() == QLatin1String("-h")) {
        (args.isEmpty() ? err : out) << Usage;
        return args.isEmpty() ? ExitUsage : 0;
    }
    const QString command = args.takeFirst();
    if (command != QLatin1String("calc") && command != QLatin1String("show") &&
        command != QLatin1String("convert")) {
        err << "zeltarn-cli: unknown command " << command << "\n\n" << Usage;
        return ExitUsage;
    }
    const std::optional<Options> options = parseOptions(args, err);
    if (!options) {
        return ExitUsage;
    }
    if (command == QLatin1String("calc")) {
        return runCalc(*options, out, err);
    }
    if (command == QLatin1String("show")) {
        return runShow(*options, out, err);
    }
    return runConvert(*options, err);
}
