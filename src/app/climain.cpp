// zeltarn-cli: the sheet tools that need no window.
#include "calcstatus.h"
#include "cellsource.h"
#include "clscal.h"

#include <QCoreApplication>
#include <QStringList>
#include <QTextStream>
#include <array>
#include <memory>

namespace {

constexpr int ExitUsage = 64;

const char* const Usage = "Usage: zeltarn-cli calc [--digits N] EXPRESSION...\n"
                          "\n"
                          "calc  enters each expression into the next cell of column A (A1, A2, ...)\n"
                          "      as the program does and prints the cell, the expression and what\n"
                          "      the cell shows. Formulas begin with \"=\" and may refer to cells\n"
                          "      entered before them.\n"
                          "--digits N  decimal places of results, 0 to 9 (default 5)\n";

// Column A of a sheet, filled from the command line.
class ColumnSheet : public CellSource
{
public:
    const CellValue& cellValue(int row, int col) override
    {
        m_row = row;
        m_col = col;
        return col == 1 ? m_values[row] : m_empty;
    }
    int currentRow() const override { return m_row; }
    int currentCol() const override { return m_col; }

    // Stores an expression as a cell would and returns the text the cell shows.
    QString enter(int row, const QString& expression, clsCal& cal)
    {
        m_row = row;
        m_col = 1;
        if (!expression.startsWith(QLatin1Char('='))) {
            m_values[row] = CellValue::fromText(expression);
            return expression;
        }
        QString formula = expression.toUpper();
        formula.remove(QLatin1Char('='));
        double value = 0;
        const CalcStatus status = cal.Calc(formula, value, *this);
        if (status != CalcStatus::Ok) {
            return markerText(status);
        }
        m_values[row] = CellValue::fromNumber(value);
        return m_values[row].text();
    }

private:
    std::array<CellValue, 501> m_values;
    CellValue m_empty;
    int m_row = 1;
    int m_col = 1;
};

int runCalc(QStringList args, QTextStream& out, QTextStream& err)
{
    qint16 digits = 5;
    if (args.size() >= 2 && args.front() == QLatin1String("--digits")) {
        bool ok = false;
        const int n = args.at(1).toInt(&ok);
        if (!ok || n < 0 || n > 9) {
            err << "zeltarn-cli: --digits takes a number from 0 to 9\n";
            return ExitUsage;
        }
        digits = qint16(n);
        args = args.mid(2);
    }
    if (args.isEmpty() || args.size() > 500) {
        err << Usage;
        return ExitUsage;
    }
    clsCal cal(digits);
    auto sheet = std::make_unique<ColumnSheet>();
    for (int i = 0; i < args.size(); ++i) {
        const QString shown = sheet->enter(i + 1, args.at(i), cal);
        out << " A " << (i + 1) << '\t' << args.at(i) << '\t' << shown << '\n';
    }
    return 0;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    QTextStream out(stdout);
    QTextStream err(stderr);
    if (args.isEmpty() || args.front() == QLatin1String("--help") || args.front() == QLatin1String("-h")) {
        (args.isEmpty() ? err : out) << Usage;
        return args.isEmpty() ? ExitUsage : 0;
    }
    const QString command = args.takeFirst();
    if (command == QLatin1String("calc")) {
        return runCalc(args, out, err);
    }
    err << "zeltarn-cli: unknown command " << command << "\n\n" << Usage;
    return ExitUsage;
}
