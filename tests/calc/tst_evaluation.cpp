#include "calc/clscal.h"
#include "calc/numbertext.h"
#include "memorycells.h"

#include <QtTest>
#include <cmath>

// Arithmetic through Calc: priorities, rounding, division by zero and the inputs the formula
// rules leave without a result.
class TestEvaluation : public QObject
{
    Q_OBJECT

private slots:
    void arithmetic_data();
    void arithmetic();
    void rounding_data();
    void rounding();
    void round45_data();
    void round45();
    void undefinedInputs_data();
    void undefinedInputs();
    void failureKeepsValue();
    void emptyExpressionIgnoresOldKind();
    void digitsReadAtEveryCall();
};

namespace {

struct Result
{
    CalcStatus status;
    double value;
};

Result calc(const QString& expression, qint16 digits = 5)
{
    clsCal cal(digits);
    MemoryCells cells;
    double value = 0;
    const CalcStatus status = cal.Calc(expression, value, cells);
    return {status, value};
}

} // namespace

void TestEvaluation::arithmetic_data()
{
    QTest::addColumn<QString>("expression");
    QTest::addColumn<CalcStatus>("status");
    QTest::addColumn<QString>("value"); // as the grid shows it
    using enum CalcStatus;

    QTest::newRow("precedence") << "1+2*3" << Ok << "7";
    QTest::newRow("parentheses") << "(1+2)*3" << Ok << "9";
    QTest::newRow("division left to right") << "8/2/2" << Ok << "2";
    QTest::newRow("subtraction left to right") << "2-3-4" << Ok << "-5";
    QTest::newRow("power left to right") << "2^3^2" << Ok << "64";
    QTest::newRow("power before times") << "2*3^2" << Ok << "18";
    QTest::newRow("square root by power") << "2^0.5" << Ok << "1.41421";
    QTest::newRow("third") << "1/3" << Ok << "0.33333";
    QTest::newRow("leading minus") << "-5" << Ok << "-5";
    QTest::newRow("negative group") << "(-5)*2" << Ok << "-10";
    QTest::newRow("leading plus ignored") << "+5" << Ok << "5";
    QTest::newRow("trailing operator not applied") << "5*" << Ok << "5";
    QTest::newRow("rounding removes float error") << "0.1+0.2" << Ok << "0.3";
    QTest::newRow("single number keeps digits") << "3.14159265" << Ok << "3.14159265";
    QTest::newRow("operator rounds") << "1.23456789*1" << Ok << "1.23457";
    QTest::newRow("point starts an operand") << ".5" << Ok << "0.5";
    QTest::newRow("point after operator") << "2*.5" << Ok << "1";
    QTest::newRow("point last") << "5.*2" << Ok << "10";
    QTest::newRow("nested") << "((2+3)*(4-1))^2" << Ok << "225";
    QTest::newRow("negative base whole power") << "(-2)^3" << Ok << "-8";
    QTest::newRow("zero divided") << "0/5" << Ok << "0";
    QTest::newRow("division by zero") << "7/0" << DivisionByZero << "";
    QTest::newRow("division by 0.0") << "7/0.0" << DivisionByZero << "";
    QTest::newRow("division by 00") << "7/00" << DivisionByZero << "";
    QTest::newRow("division by zero group") << "7/(1-1)" << DivisionByZero << "";
    QTest::newRow("character error") << "1 + 2" << BadCharacter << "";
    QTest::newRow("parenthesis error") << "(1+2" << BadParenthesis << "";
    QTest::newRow("too long") << QString(256, QLatin1Char('1')) << TooLong << "";
    QTest::newRow("deepest nesting")
        << QString(127, QLatin1Char('(')) + QLatin1Char('1') + QString(127, QLatin1Char(')')) << Ok
        << "1";
    QTest::newRow("large result in exponent form") << "10^20" << Ok << "1E+20";
    // Beyond 15 significant digits or 22 decimals an operand is left to the general reader.
    QTest::newRow("operand of 17 digits") << "12345678901234567" << Ok << "1.23456789012346E+16";
    QTest::newRow("operand of 26 decimals")
        << "0.00000000000000000000012345*100000000000000000000000" << Ok << "12.345";
}

void TestEvaluation::arithmetic()
{
    QFETCH(QString, expression);
    QFETCH(CalcStatus, status);
    QFETCH(QString, value);
    const Result r = calc(expression);
    QCOMPARE(r.status, status);
    if (status == CalcStatus::Ok) {
        QCOMPARE(gridNumberText(r.value), value);
    }
}

void TestEvaluation::rounding_data()
{
    QTest::addColumn<int>("digits");
    QTest::addColumn<QString>("expression");
    QTest::addColumn<double>("value");

    QTest::newRow("1 digit third") << 1 << "1/3" << 0.3;
    QTest::newRow("0 digits half up") << 0 << "7/2" << 4.0;
    QTest::newRow("0 digits negative half up") << 0 << "(-7)/2" << -3.0;
    QTest::newRow("2 digits half up") << 2 << "0.125*1" << 0.13;
    QTest::newRow("2 digits negative half toward plus") << 2 << "(-0.125)*1" << -0.12;
    QTest::newRow("0 digits 2.5") << 0 << "2.5*1" << 3.0;
    QTest::newRow("0 digits -2.5") << 0 << "(-2.5)*1" << -2.0;
    QTest::newRow("float below the half") << 2 << "1.005*1" << 1.0;
    QTest::newRow("9 digits") << 9 << "1/3" << 0.333333333;
    QTest::newRow("5 digits two thirds") << 5 << "2/3" << 0.66667;
    QTest::newRow("every step rounded") << 1 << "1/3*3" << 0.9;
    QTest::newRow("15 digits kept of a large sum")
        << 9 << "123456789*1000000+0.123456789" << 123456789000000.0;
    QTest::newRow("15 digits kept at 20 places") << 20 << "2/3" << 0.666666666666667;
    QTest::newRow("negative digit count") << -1 << "14*1" << 10.0;
}

void TestEvaluation::rounding()
{
    QFETCH(int, digits);
    QFETCH(QString, expression);
    QFETCH(double, value);
    const Result r = calc(expression, qint16(digits));
    QCOMPARE(r.status, CalcStatus::Ok);
    QCOMPARE(r.value, value); // exact: the texts of the operand stack decide the value
}

void TestEvaluation::round45_data()
{
    QTest::addColumn<int>("digits");
    QTest::addColumn<double>("x");
    QTest::addColumn<double>("rounded");

    QTest::newRow("2 digits up") << 2 << 0.125 << 0.13;
    QTest::newRow("2 digits negative") << 2 << -0.125 << -0.12;
    QTest::newRow("0 digits") << 0 << 2.5 << 3.0;
    QTest::newRow("0 digits negative") << 0 << -2.5 << -2.0;
    QTest::newRow("as the float lies") << 2 << 1.005 << 1.0;
    QTest::newRow("5 digits pi") << 5 << 3.14159265358979 << 3.14159;
}

void TestEvaluation::round45()
{
    QFETCH(int, digits);
    QFETCH(double, x);
    QFETCH(double, rounded);
    const qint16 n = qint16(digits);
    clsCal cal(n);
    QCOMPARE(cal.Round45(x, n), rounded);
}

// Inputs without a defined result end with an orderly status and never a value.
void TestEvaluation::undefinedInputs_data()
{
    QTest::addColumn<QString>("expression");

    QTest::newRow("leading plus then more") << "+5+3";
    QTest::newRow("leading times") << "*2-1";
    QTest::newRow("operator after parenthesis") << "(*2)";
    QTest::newRow("unrewritten negative group") << "(-2^2)";
    QTest::newRow("negative function group") << "2*(-SIN(1))";
    QTest::newRow("nothing in parentheses") << "()";
    QTest::newRow("operands without operator") << "2(3)";
    QTest::newRow("two pairs without operator") << "2(3)(4)";
    QTest::newRow("two points") << "1.2.3";
    QTest::newRow("point after point") << "5..3";
    QTest::newRow("close before open") << ")1+2(";
    QTest::newRow("lone letter") << "A";
    QTest::newRow("letter after number") << "2A";
    QTest::newRow("fractional power of negative") << "(-8)^(1/3)";
    QTest::newRow("overflow") << "10^400";
    QTest::newRow("overflow in rounding") << "10^305*10";
    QTest::newRow("equals signs only") << "";
}

void TestEvaluation::undefinedInputs()
{
    QFETCH(QString, expression);
    const Result r = calc(expression);
    QVERIFY2(r.status != CalcStatus::Ok, qPrintable(QString::number(r.value)));
}

void TestEvaluation::failureKeepsValue()
{
    const qint16 digits = 5;
    clsCal cal(digits);
    MemoryCells cells;
    double value = 42;
    QCOMPARE(cal.Calc(QStringLiteral("1/0"), value, cells), CalcStatus::DivisionByZero);
    QCOMPARE(value, 42.0);
    QCOMPARE(cal.Calc(QStringLiteral("(-2^2)"), value, cells), CalcStatus::Undefined);
    QCOMPARE(value, 42.0);
}

void TestEvaluation::emptyExpressionIgnoresOldKind()
{
    const qint16 digits = 5;
    clsCal cal(digits);
    MemoryCells cells;
    double value = 0;
    QCOMPARE(cal.Calc(QStringLiteral("1,2"), value, cells), CalcStatus::BadCharacter);
    QCOMPARE(cal.Calc(QString(), value, cells), CalcStatus::Undefined);
    QCOMPARE(cal.ErrKind, CalcStatus::BadCharacter);
}

void TestEvaluation::digitsReadAtEveryCall()
{
    clsCal cal;
    MemoryCells cells;
    double value = 0;
    QCOMPARE(cal.Calc(QStringLiteral("2/3"), value, cells), CalcStatus::Ok);
    QCOMPARE(value, 0.66667);
    cal.setRoundDigits(2);
    QCOMPARE(cal.Calc(QStringLiteral("2/3"), value, cells), CalcStatus::Ok);
    QCOMPARE(value, 0.67);
}

QTEST_GUILESS_MAIN(TestEvaluation)
#include "tst_evaluation.moc"
