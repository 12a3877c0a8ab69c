#include "calc/cellvalue.h"
#include "calc/numbertext.h"

#include <QtTest>
#include <cmath>

class TestNumberText : public QObject
{
    Q_OBJECT

private slots:
    void engineAndGridForms_data();
    void engineAndGridForms();
    void numberTest_data();
    void numberTest();
    void reading_data();
    void reading();
    void cellValueKeepsItsText();
};

void TestNumberText::engineAndGridForms_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("engine");
    QTest::addColumn<QString>("grid");

    QTest::newRow("zero") << 0.0 << "0"
                          << "0";
    QTest::newRow("negative zero") << -0.0 << "0"
                                   << "0";
    QTest::newRow("whole") << 3.0 << "3"
                           << "3";
    QTest::newRow("negative whole") << -3.0 << "-3"
                                    << "-3";
    QTest::newRow("half") << 0.5 << ".5"
                          << "0.5";
    QTest::newRow("negative quarter") << -0.25 << "-.25"
                                      << "-0.25";
    QTest::newRow("five digits") << 0.33333 << ".33333"
                                 << "0.33333";
    QTest::newRow("third cut to 15 digits") << 1.0 / 3 << ".333333333333333"
                                            << "0.333333333333333";
    QTest::newRow("sum error removed") << 0.1 + 0.2 << ".3"
                                       << "0.3";
    QTest::newRow("limit below exponent") << 999999999999999.0 << "999999999999999"
                                          << "999999999999999";
    QTest::newRow("1E+15") << 1e15 << "1E+15"
                           << "1E+15";
    QTest::newRow("rounds up into exponent") << 999999999999999.9 << "1E+15"
                                             << "1E+15";
    QTest::newRow("1E+20") << 1e20 << "1E+20"
                           << "1E+20";
    QTest::newRow("three exponent digits") << 1e100 << "1E+100"
                                           << "1E+100";
    QTest::newRow("long mantissa") << 123456789012345678.0 << "1.23456789012346E+17"
                                   << "1.23456789012346E+17";
    QTest::newRow("0.0001 without exponent") << 0.0001 << ".0001"
                                             << "0.0001";
    QTest::newRow("1E-05") << 0.00001 << "1E-05"
                           << "1E-05";
    QTest::newRow("negative 1.5E-05") << -0.000015 << "-1.5E-05"
                                      << "-1.5E-05";
}

void TestNumberText::engineAndGridForms()
{
    QFETCH(double, value);
    QFETCH(QString, engine);
    QFETCH(QString, grid);
    QCOMPARE(NumberText(value), engine);
    QCOMPARE(gridNumberText(value), grid);
    QCOMPARE(cutTo15Digits(value), readNumber(engine).value());
    double readsBackAs = 42;
    QCOMPARE(gridNumberText(value, readsBackAs), grid);
    QVERIFY(readsBackAs == cutTo15Digits(value)); // exactly, not within QCOMPARE's tolerance
}

void TestNumberText::numberTest_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("number");

    QTest::newRow("digits") << "5" << true;
    QTest::newRow("minus") << "-5" << true;
    QTest::newRow("fraction") << "-0.25" << true;
    QTest::newRow("plus") << "+3" << true;
    QTest::newRow("point first") << ".5" << true;
    QTest::newRow("point last") << "5." << true;
    QTest::newRow("exponent") << "1E5" << true;
    QTest::newRow("signed exponent") << "1E-05" << true;
    QTest::newRow("small e") << "2.5e+3" << false;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("lone minus") << "-" << false;
    QTest::newRow("lone point") << "." << false;
    QTest::newRow("negated reference") << "-A1" << false;
    QTest::newRow("sum") << "2+3" << false;
    QTest::newRow("two points") << "1.2.3" << false;
    QTest::newRow("exponent without digits") << "1E" << false;
    QTest::newRow("exponent alone") << "E5" << false;
    QTest::newRow("blank inside the test") << " 5" << false;
    QTest::newRow("full-width digit") << QString::fromUtf8("１") << false;
}

void TestNumberText::numberTest()
{
    QFETCH(QString, text);
    QFETCH(bool, number);
    QCOMPARE(isNumber(text), number);
}

void TestNumberText::reading_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("readable");   // by the loose reading of shown texts
    QTest::addColumn<bool>("inFormulas"); // by the number test
    QTest::addColumn<double>("value");

    QTest::newRow("blanks ignored") << "  12 \t" << true << false << 12.0;
    QTest::newRow("small e") << "2.5e+3" << true << false << 2500.0;
    QTest::newRow("nearest double") << "0.1" << true << true << 0.1;
    QTest::newRow("plus sign") << "+2.5" << true << true << 2.5;
    QTest::newRow("exponent") << "-1.5E+3" << true << true << -1500.0;
    QTest::newRow("beyond a double") << "1E999" << false << false << 0.0;
    QTest::newRow("text") << "abc" << false << false << 0.0;
    QTest::newRow("empty") << "" << false << false << 0.0;
}

void TestNumberText::reading()
{
    QFETCH(QString, text);
    QFETCH(bool, readable);
    QFETCH(bool, inFormulas);
    QFETCH(double, value);
    const auto n = readNumber(text);
    QCOMPARE(n.has_value(), readable);
    if (readable) {
        QCOMPARE(*n, value);
    }
    const auto strict = readFormulaNumber(text);
    QCOMPARE(strict.has_value(), inFormulas);
    if (inFormulas) {
        QCOMPARE(*strict, value);
    }
}

void TestNumberText::cellValueKeepsItsText()
{
    const CellValue number = CellValue::fromNumber(1.23456789012345678);
    QVERIFY(number.isNumber());
    QCOMPARE(number.number(), 1.23456789012345678);
    QCOMPARE(number.text(), QStringLiteral("1.23456789012346"));
    QCOMPARE(number.textAsNumber().value(), 1.23456789012346);

    const CellValue typed = CellValue::fromText(QStringLiteral("12"));
    QVERIFY(!typed.isNumber());
    QCOMPARE(typed.textAsNumber().value(), 12.0);

    QVERIFY(!CellValue::fromText(QStringLiteral("abc")).textAsNumber());
    QVERIFY(!CellValue::fromText(QStringLiteral(" 12")).textAsNumber());
    QVERIFY(CellValue().isEmpty());
    QVERIFY(!CellValue().textAsNumber());
}

QTEST_GUILESS_MAIN(TestNumberText)
#include "tst_numbertext.moc"
