#include "calc/clscal.h"
#include "calc/numbertext.h"
#include "memorycells.h"

#include <QtTest>

// References, functions and the range sum: values read from the sheet, the (0...) wrapping
// of negative values, and the current cell the reads leave behind.
class TestReferences : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void formulas_data();
    void formulas();
    void referencesListed();
    void readsMoveTheCurrentCell();
    void rangeSumIsCircularOnOwnCell_data();
    void rangeSumIsCircularOnOwnCell();
    void rangeSumUsesShownValues();
    void noRangeLeftOverFromEarlierCall();
    void secondCalcWhileRunningIsRefused();

private:
    MemoryCells cells;
};

void TestReferences::init()
{
    cells = MemoryCells();
    cells.setCurrent(QStringLiteral("H1"));
}

void TestReferences::formulas_data()
{
    QTest::addColumn<QStringList>("sheet"); // address=value, "#" before a typed text
    QTest::addColumn<QString>("expression");
    QTest::addColumn<CalcStatus>("status");
    QTest::addColumn<QString>("value");
    using enum CalcStatus;

    const QStringList twoMinusThree{"A1=2", "B1=-3"};
    const QStringList oneTwoThree{"A1=1", "A2=2", "A3=3"};

    QTest::newRow("negative reference wrapped") << twoMinusThree << "A1+B1" << Ok << "-1";
    QTest::newRow("negated negative reference") << twoMinusThree << "-B1" << Ok << "3";
    QTest::newRow("negated zero is zero") << QStringList{"A1=0"} << "-A1" << Ok << "0";
    QTest::newRow("A1 and A10 apart") << QStringList{"A1=1", "A10=10"} << "A1+A10" << Ok << "11";
    QTest::newRow("typed number is text") << QStringList{"A1=#12"} << "A1*2" << Ok << "24";
    QTest::newRow("reference not rounded")
        << QStringList{"A1=#1.23456789"} << "A1" << Ok << "1.23456789";
    QTest::newRow("empty cell") << QStringList{} << "A1*2" << EmptyCell << "";
    QTest::newRow("rest not a number") << QStringList{"A1=1"} << "A1B+1" << BadCharacter << "";
    QTest::newRow("half row to even") << QStringList{"A2=7"} << "A2.5*1" << Ok << "7";
    QTest::newRow("row above 500") << QStringList{} << "A501" << BadCharacter << "";
    QTest::newRow("exponent value cannot be evaluated")
        << QStringList{"A1=1E20"} << "A1*2" << Undefined << "";
    QTest::newRow("text value cannot be evaluated")
        << QStringList{"A1=#abc"} << "A1*2" << Undefined << "";
    QTest::newRow("text value is put in as it stands")
        << QStringList{"A1=#1+2"} << "A1*2" << Ok << "5";
    QTest::newRow("blank before a number cannot be evaluated")
        << QStringList{"A1=# 5"} << "A1+1" << Undefined << "";

    QTest::newRow("sine of negative reference")
        << QStringList{"A1=-5"} << "SIN(A1)" << Ok << "0.95892";
    QTest::newRow("negative function value wrapped")
        << QStringList{} << "2*SIN(5)" << Ok << "-1.91784";
    QTest::newRow("negative function value first")
        << QStringList{} << "SIN(5)*2" << Ok << "-1.91784";
    QTest::newRow("negated function") << QStringList{} << "-SIN(30)" << Ok << "0.98803";
    QTest::newRow("cosine") << QStringList{} << "COS(0)" << Ok << "1";
    QTest::newRow("sine in radians") << QStringList{} << "SIN(30)" << Ok << "-0.98803";
    QTest::newRow("tangent") << QStringList{} << "TAN(1)" << Ok << "1.55741";
    QTest::newRow("pi") << QStringList{} << "PI()" << Ok << "3.14159";
    QTest::newRow("pi ignores argument") << QStringList{} << "PI(7)*2" << Ok << "6.28318";
    QTest::newRow("pi without parentheses") << QStringList{} << "PI" << BadFunction << "";
    QTest::newRow("square root") << QStringList{} << "SQRT(2)" << Ok << "1.41421";
    QTest::newRow("square root of negative") << QStringList{} << "SQRT(-4)" << BadFunction << "";
    QTest::newRow("absolute value not rounded") << QStringList{} << "ABS(-2.5)" << Ok << "2.5";
    QTest::newRow("absolute of reference")
        << QStringList{"A1=#-1.234567"} << "ABS(A1)" << Ok << "1.234567";
    QTest::newRow("expression argument") << QStringList{} << "SIN(1+1)" << BadFunction << "";
    QTest::newRow("nested function") << QStringList{} << "SIN(COS(0))" << BadFunction << "";
    QTest::newRow("unknown function") << QStringList{} << "LOG(2)" << BadFunction << "";
    QTest::newRow("empty argument") << QStringList{} << "SIN()" << BadFunction << "";
    QTest::newRow("text argument") << QStringList{"A1=#x"} << "SIN(A1)" << BadFunction << "";
    QTest::newRow("tiny result in exponent form")
        << QStringList{} << "SIN(0.00003)" << Undefined << "";

    QTest::newRow("range sum") << oneTwoThree << "SUM(A1:A3)" << Ok << "6";
    QTest::newRow("range sum in a formula") << oneTwoThree << "2*SUM(A1:A3)+1" << Ok << "13";
    QTest::newRow("range corners in any order")
        << QStringList{"A1=1", "B1=2", "A2=3", "B2=4"} << "SUM(B2:A1)" << Ok << "10";
    QTest::newRow("range sum of texts")
        << QStringList{"A1=#1", "A2=#2", "A3=#3"} << "SUM(A1:A3)" << Ok << "6";
    QTest::newRow("negative range sum wrapped")
        << QStringList{"A1=-1", "A2=-2"} << "3*SUM(A1:A2)" << Ok << "-9";
    QTest::newRow("range cell empty")
        << QStringList{"A1=1", "A3=3"} << "SUM(A1:A3)" << BadFunction << "";
    QTest::newRow("range cell text")
        << QStringList{"A1=1", "A2=#x", "A3=3"} << "SUM(A1:A3)" << BadFunction << "";
    QTest::newRow("range beyond row 200") << oneTwoThree << "SUM(A1:A300)" << BadFunction << "";
    QTest::newRow("range too short") << oneTwoThree << "SUM(A1:B)" << BadFunction << "";
    QTest::newRow("range end bad") << oneTwoThree << "SUM(A1:A3B)" << BadFunction << "";
    QTest::newRow("range without SUM") << oneTwoThree << "MAX(A1:B2)" << BadCharacter << "";
    QTest::newRow("range in parentheses") << oneTwoThree << "10*(A1:B2)" << BadCharacter << "";
    QTest::newRow("range without parenthesis")
        << oneTwoThree << "1+2+3+A1:A3" << BadCharacter << "";
    QTest::newRow("second range") << oneTwoThree << "SUM(A1:A3)+SUM(A1:A2)" << BadFunction << "";
    QTest::newRow("same range twice") << oneTwoThree << "SUM(A1:A3)+SUM(A1:A3)" << Ok << "12";
    QTest::newRow("sum without range") << oneTwoThree << "SUM(A1)" << BadFunction << "";

    // A cell's text where a function or the range sum takes it as a number passes the number
    // test or is a bad function argument: no blanks, a capital E only.
    const struct
    {
        const char* text;
        CalcStatus status;
        const char* function; // ABS of it
        const char* sum;
    } cellTexts[] = {{" 5", BadFunction, "", ""},      {"5 ", BadFunction, "", ""},
                     {"1e5", BadFunction, "", ""},     {".", BadFunction, "", ""},
                     {"1E+5", Ok, "100000", "100000"}, {"+3", Ok, "3", "3"},
                     {"-.5", Ok, "0.5", "-0.5"},       {"5.", Ok, "5", "5"}};
    for (const auto& t : cellTexts) {
        const QStringList sheet{QStringLiteral("A1=#") + QLatin1String(t.text)};
        QTest::addRow("function of '%s'", t.text) << sheet << "ABS(A1)" << t.status << t.function;
        QTest::addRow("range sum of '%s'", t.text) << sheet << "SUM(A1:A1)" << t.status << t.sum;
    }
}

void TestReferences::formulas()
{
    QFETCH(QStringList, sheet);
    QFETCH(QString, expression);
    QFETCH(CalcStatus, status);
    QFETCH(QString, value);

    for (const QString& entry : sheet) {
        const QString address = entry.section(QLatin1Char('='), 0, 0);
        const QString content = entry.section(QLatin1Char('='), 1);
        if (content.startsWith(QLatin1Char('#'))) {
            cells.setText(address, content.mid(1));
        } else {
            cells.setNumber(address, content.toDouble());
        }
    }
    const qint16 digits = 5;
    clsCal cal(digits);
    double result = 0;
    QCOMPARE(cal.Calc(expression, result, cells), status);
    if (status == CalcStatus::Ok) {
        QCOMPARE(gridNumberText(result), value);
        QVERIFY(!std::signbit(result) || result < 0);
    }
}

void TestReferences::referencesListed()
{
    cells.setNumber(QStringLiteral("A1"), 1);
    cells.setNumber(QStringLiteral("B2"), 2);
    const qint16 digits = 5;
    clsCal cal(digits);
    double value = 0;
    QCOMPARE(cal.Calc(QStringLiteral("SIN(A1)+B2"), value, cells), CalcStatus::Ok);
    QCOMPARE(cal.RefList(), (QStringList{"A1", "B2"}));
    QCOMPARE(cal.RefInFunc(), (QList<bool>{true, false}));
    QCOMPARE(cal.FuncList(), (QStringList{"SIN(1)"}));
    QCOMPARE(cal.FuncCount(), qint16(1));
}

void TestReferences::readsMoveTheCurrentCell()
{
    cells.setNumber(QStringLiteral("A1"), 1);
    cells.setNumber(QStringLiteral("C3"), 3);
    cells.setNumber(QStringLiteral("B2"), 2);
    const qint16 digits = 5;
    clsCal cal(digits);
    double value = 0;
    QCOMPARE(cal.Calc(QStringLiteral("A1+C3"), value, cells), CalcStatus::Ok);
    QCOMPARE(cells.currentRow(), 3);
    QCOMPARE(cells.currentCol(), 3);

    cells.setCurrent(QStringLiteral("H1"));
    QCOMPARE(cal.Calc(QStringLiteral("SUM(A1:B2)*0"), value, cells), CalcStatus::BadFunction);
    QCOMPARE(cells.currentRow(), 2); // stopped at the first empty cell, A2
    QCOMPARE(cells.currentCol(), 1);

    // The first failing reference ends the evaluation; later ones are not read.
    cells.reads = 0;
    QCOMPARE(cal.Calc(QStringLiteral("D4+A1"), value, cells), CalcStatus::EmptyCell);
    QCOMPARE(cells.reads, 1);
}

void TestReferences::rangeSumIsCircularOnOwnCell_data()
{
    QTest::addColumn<QString>("own");
    QTest::addColumn<CalcStatus>("status");
    QTest::newRow("inside") << "A2" << CalcStatus::CircularRange;
    QTest::newRow("corner") << "B3" << CalcStatus::CircularRange;
    QTest::newRow("right of it") << "C2" << CalcStatus::Ok;
    QTest::newRow("below it") << "A4" << CalcStatus::Ok;
}

void TestReferences::rangeSumIsCircularOnOwnCell()
{
    QFETCH(QString, own);
    QFETCH(CalcStatus, status);
    for (const char* a : {"A1", "A2", "A3", "B1", "B2", "B3"}) {
        cells.setNumber(QLatin1String(a), 1);
    }
    cells.setCurrent(own);
    const qint16 digits = 5;
    clsCal cal(digits);
    double value = 0;
    QCOMPARE(cal.Calc(QStringLiteral("SUM(A1:B3)"), value, cells), status);
    if (status == CalcStatus::Ok) {
        QCOMPARE(value, 6.0);
    }
}

void TestReferences::rangeSumUsesShownValues()
{
    cells.setNumber(QStringLiteral("A1"), 0.1);
    cells.setNumber(QStringLiteral("A2"), 0.2);
    cells.setNumber(QStringLiteral("A3"), 1.23456789012345678);
    const qint16 digits = 5;
    clsCal cal(digits);
    double value = 0;
    QCOMPARE(cal.Calc(QStringLiteral("SUM(A1:A2)"), value, cells), CalcStatus::Ok);
    QCOMPARE(value, 0.3); // the sum's text has 15 digits, so no float error is left
    QCOMPARE(cal.Calc(QStringLiteral("SUM(A3:A3)"), value, cells), CalcStatus::Ok);
    QCOMPARE(value, 1.23456789012346);
}

void TestReferences::noRangeLeftOverFromEarlierCall()
{
    cells.setNumber(QStringLiteral("A1"), 1);
    const qint16 digits = 5;
    clsCal cal(digits);
    double value = 0;
    QCOMPARE(cal.Calc(QStringLiteral("SUM(A1:A1)"), value, cells), CalcStatus::Ok);
    QCOMPARE(cal.Calc(QStringLiteral("SUM(A1)"), value, cells), CalcStatus::BadFunction);
    QCOMPARE(cal.Calc(QStringLiteral("SUM()"), value, cells), CalcStatus::BadFunction);
}

// A sheet whose reads try to start another evaluation, as an event raised during one might.
void TestReferences::secondCalcWhileRunningIsRefused()
{
    class Reentrant : public MemoryCells
    {
    public:
        clsCal* cal = nullptr;
        CalcStatus inner = CalcStatus::Ok;
        const CellValue& cellValue(int row, int col) override
        {
            double v = 0;
            inner = cal->Calc(QStringLiteral("1+1"), v, *this);
            return MemoryCells::cellValue(row, col);
        }
    } sheet;
    sheet.setNumber(QStringLiteral("A1"), 20);
    const qint16 digits = 5;
    clsCal cal(digits);
    sheet.cal = &cal;
    double value = 0;
    QCOMPARE(cal.Calc(QStringLiteral("A1*2+1"), value, sheet), CalcStatus::Ok);
    QCOMPARE(value, 41.0);
    QCOMPARE(sheet.inner, CalcStatus::Undefined);
}

QTEST_GUILESS_MAIN(TestReferences)
#include "tst_references.moc"
