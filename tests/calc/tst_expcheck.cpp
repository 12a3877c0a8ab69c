#include "calc/clscal.h"

#include <QtTest>

class TestExpCheck : public QObject
{
    Q_OBJECT

private slots:
    void checkAndRewrite_data();
    void checkAndRewrite();
    void lengthLimit();
    void emptyLeavesKind();
    void acceptedLeavesKind();
};

// Ok in the table means accepted, with the rewritten text given.
void TestExpCheck::checkAndRewrite_data()
{
    QTest::addColumn<QString>("expression");
    QTest::addColumn<CalcStatus>("kind");
    QTest::addColumn<QString>("rewritten");
    using enum CalcStatus;

    // Minus rewriting.
    QTest::newRow("negative group") << "(-5)*2" << Ok << "(0-5)*2";
    QTest::newRow("negative fraction") << "2*(-3.5)" << Ok << "2*(0-3.5)";
    QTest::newRow("negated reference") << "(-A1)+1" << Ok << "(0-A1)+1";
    QTest::newRow("negated reference times") << "(-A1*2)" << Ok << "(0-A1*2)";
    QTest::newRow("groups unchanged") << "(A1+B1)*(C1+D1)" << Ok << "(A1+B1)*(C1+D1)";
    QTest::newRow("number rule rewrites next group") << "(5)*(-3)" << Ok << "(5)*(0-3)";
    QTest::newRow("innermost group") << "((-5))" << Ok << "((0-5))";
    QTest::newRow("close groups skipped") << "(1)+(2)" << Ok << "(1)+(2)";
    QTest::newRow("caret not looked for") << "(-2^2)" << Ok << "(-2^2)";
    QTest::newRow("function inside negative group") << "2*(-SIN(1))" << Ok << "2*(-SIN(1))";
    QTest::newRow("close before open") << ")1+2(" << Ok << ")1+2(";
    QTest::newRow("leading minus") << "-5" << Ok << "-5";
    QTest::newRow("leading minus function") << "-SIN(30)" << Ok << "-SIN(30)";
    QTest::newRow("one character") << "7" << Ok << "7";
    QTest::newRow("range") << "SUM(A1:B5)" << Ok << "SUM(A1:B5)";

    // Characters.
    QTest::newRow("blank") << "1 + 2" << BadCharacter << "";
    QTest::newRow("comma inside 40..58") << "1,2" << BadCharacter << "";
    QTest::newRow("double quote") << "\"1\"" << BadCharacter << "";
    QTest::newRow("small letter") << "a1" << BadCharacter << "";
    QTest::newRow("semicolon") << "1;2" << BadCharacter << "";
    QTest::newRow("at sign") << "1@" << BadCharacter << "";
    QTest::newRow("bracket") << "[1]" << BadCharacter << "";
    QTest::newRow("underscore") << "A_1" << BadCharacter << "";
    QTest::newRow("full-width digit") << QString::fromUtf8("１+1") << BadCharacter << "";
    QTest::newRow("times minus") << "2*-3" << BadCharacter << "";
    QTest::newRow("plus plus") << "1++2" << BadCharacter << "";
    QTest::newRow("power minus") << "4^-1" << BadCharacter << "";
    QTest::newRow("first failure decides") << "2*-3(" << BadCharacter << "";

    // Parentheses and minus signs.
    QTest::newRow("unclosed") << "(1+2" << BadParenthesis << "";
    QTest::newRow("unclosed negative") << "(-5" << BadParenthesis << "";
    QTest::newRow("leading minus with operator") << "-5+1" << BadParenthesis << "";
    QTest::newRow("operator in negative group") << "(-2+3)" << BadParenthesis << "";
    QTest::newRow("negative group without close") << ")+(-3" << BadParenthesis << "";
}

void TestExpCheck::checkAndRewrite()
{
    QFETCH(QString, expression);
    QFETCH(CalcStatus, kind);
    QFETCH(QString, rewritten);

    const qint16 digits = 5;
    clsCal cal(digits);
    QString out = QStringLiteral("untouched");
    const bool accepted = cal.ExpCheck(expression, out);
    QCOMPARE(accepted, kind == CalcStatus::Ok);
    if (accepted) {
        QCOMPARE(out, rewritten);
        QCOMPARE(cal.ErrKind, CalcStatus::Ok);
    } else {
        QCOMPARE(cal.ErrKind, kind);
        QCOMPARE(out, QStringLiteral("untouched"));
    }
}

void TestExpCheck::lengthLimit()
{
    const qint16 digits = 5;
    clsCal cal(digits);
    QString formula = QStringLiteral("1");
    while (formula.size() < 255) {
        formula += QStringLiteral("+1");
    }
    QCOMPARE(formula.size(), 255);
    QString out;
    QVERIFY(cal.ExpCheck(formula, out));

    formula += QLatin1Char('1');
    QVERIFY(!cal.ExpCheck(formula, out));
    QCOMPARE(cal.ErrKind, CalcStatus::TooLong);

    QVERIFY(!cal.ExpCheck(QString(256, QLatin1Char('a')), out));
    QCOMPARE(cal.ErrKind, CalcStatus::TooLong);
}

void TestExpCheck::emptyLeavesKind()
{
    const qint16 digits = 5;
    clsCal cal(digits);
    QString out;
    QVERIFY(!cal.ExpCheck(QStringLiteral("1,2"), out));
    QVERIFY(!cal.ExpCheck(QString(), out));
    QCOMPARE(cal.ErrKind, CalcStatus::BadCharacter);
}

void TestExpCheck::acceptedLeavesKind()
{
    const qint16 digits = 5;
    clsCal cal(digits);
    QString out;
    QVERIFY(!cal.ExpCheck(QStringLiteral("(1"), out));
    QVERIFY(cal.ExpCheck(QStringLiteral("1+2"), out));
    QCOMPARE(cal.ErrKind, CalcStatus::BadParenthesis);
}

QTEST_GUILESS_MAIN(TestExpCheck)
#include "tst_expcheck.moc"
