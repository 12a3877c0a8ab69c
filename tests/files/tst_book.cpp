#include "calc/clscal.h"
#include "files/bookformula.h"
#include "files/bookreader.h"
#include "files/bookwriter.h"
#include "files/sheetio.h"
#include "model/standalonesheet.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

// Books: which formulas of other spreadsheets are ours, shared formulas moved, dates, widths,
// sheet names, and a book written and read back as the sheet it came from.
class TestBook : public QObject
{
    Q_OBJECT

private slots:
    void formulas_data();
    void formulas();
    void sharedFormulas_data();
    void sharedFormulas();
    void dates_data();
    void dates();
    void dateFormats_data();
    void dateFormats();
    void sheetNames_data();
    void sheetNames();
    void writtenReadsBack_data();
    void writtenReadsBack();
    void refused_data();
    void refused();
};

void TestBook::formulas_data()
{
    QTest::addColumn<QString>("book");
    QTest::addColumn<QString>("ours"); // empty: none of ours
    QTest::newRow("arithmetic") << "A1*2+(B3-C4)/2^3"
                                << "A1*2+(B3-C4)/2^3";
    QTest::newRow("blanks and small letters") << "a1 + sum( b1:b5 )"
                                              << "A1+SUM(B1:B5)";
    QTest::newRow("functions") << "SIN(A1)+COS(-1.5)+TAN(0)+ABS(B2)+SQRT(4)+PI()"
                               << "SIN(A1)+COS(-1.5)+TAN(0)+ABS(B2)+SQRT(4)+PI()";
    QTest::newRow("last cell") << "Z500"
                               << "Z500";
    QTest::newRow("beyond Z") << "AA1"
                              << "";
    QTest::newRow("beyond row 500") << "A501"
                                    << "";
    QTest::newRow("fixed reference") << "$A$1*2"
                                     << "";
    QTest::newRow("unknown function") << "ROUND(A1,2)"
                                      << "";
    QTest::newRow("sum of a list") << "SUM(A1,B1)"
                                   << "";
    QTest::newRow("function of an expression") << "SQRT(ABS(A1)+SIN(B1/100))"
                                               << "SQRT(ABS(A1)+SIN(B1/100))";
    QTest::newRow("function without parentheses") << "SIN+1"
                                                  << "";
    QTest::newRow("text") << "\"a\"&B1"
                          << "";
    QTest::newRow("comparison") << "A1>2"
                                << "";
    QTest::newRow("percent") << "50%"
                             << "";
    QTest::newRow("exponent number") << "1E+20"
                                     << "";
    QTest::newRow("other sheet") << "Sheet2!A1"
                                 << "";
    QTest::newRow("unbalanced") << "(A1+1"
                                << "";
    QTest::newRow("name") << "total*2"
                          << "";
}

void TestBook::formulas()
{
    QFETCH(QString, book);
    QFETCH(QString, ours);
    QCOMPARE(programFormula(book).value_or(QString()), ours);
}

void TestBook::sharedFormulas_data()
{
    QTest::addColumn<QString>("formula");
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("cols");
    QTest::addColumn<QString>("moved"); // empty: leaves the sheet
    QTest::newRow("down") << "A1*2+SUM(B1:B3)" << 2 << 0 << "A3*2+SUM(B3:B5)";
    QTest::newRow("right") << "A1+B2" << 0 << 1 << "B1+C2";
    QTest::newRow("fixed parts stay") << "$A1+A$1+$A$1" << 1 << 1 << "$A2+B$1+$A$1";
    QTest::newRow("off the sheet") << "Z1" << 0 << 1 << "";
    QTest::newRow("functions keep their names") << "SIN(A1)" << 1 << 0 << "SIN(A2)";
}

void TestBook::sharedFormulas()
{
    QFETCH(QString, formula);
    QFETCH(int, rows);
    QFETCH(int, cols);
    QFETCH(QString, moved);
    QCOMPARE(shiftedFormula(formula, rows, cols).value_or(QString()), moved);
}

void TestBook::dates_data()
{
    QTest::addColumn<double>("serial");
    QTest::addColumn<bool>("from1904");
    QTest::addColumn<QString>("text");
    QTest::newRow("first day") << 1.0 << false << "1900/01/01";
    QTest::newRow("28 February 1900") << 59.0 << false << "1900/02/28";
    QTest::newRow("the 29 February 1900 that never was") << 60.0 << false << "1900/02/29";
    QTest::newRow("1 March 1900") << 61.0 << false << "1900/03/01";
    QTest::newRow("a time of day is left out") << 45366.75 << false << "2024/03/15";
    QTest::newRow("1904 system") << 0.0 << true << "1904/01/01";
    QTest::newRow("1904 system, later") << 43904.0 << true << "2024/03/15";
    QTest::newRow("negative") << -1.0 << false << "";
}

void TestBook::dates()
{
    QFETCH(double, serial);
    QFETCH(bool, from1904);
    QFETCH(QString, text);
    QCOMPARE(bookDateText(serial, from1904).value_or(QString()), text);
}

void TestBook::dateFormats_data()
{
    QTest::addColumn<int>("id");
    QTest::addColumn<QString>("code");
    QTest::addColumn<bool>("date");
    QTest::newRow("built-in date") << 14 << "" << true;
    QTest::newRow("built-in Japanese date") << 57 << "" << true;
    QTest::newRow("built-in time") << 20 << "" << false;
    QTest::newRow("built-in number") << 2 << "" << false;
    QTest::newRow("custom date") << 165 << "yyyy\\-mm\\-dd" << true;
    QTest::newRow("Japanese era") << 176 << "[$-411]ggge\"年\"m\"月\"d\"日\"" << true;
    QTest::newRow("kanji year") << 177 << "0\"年\"" << false;
    QTest::newRow("kanji year outside quotes") << 178 << "yyyy年" << true;
    QTest::newRow("time") << 179 << "h:mm:ss" << false;
    QTest::newRow("general") << 180 << "General" << false;
    QTest::newRow("scientific") << 181 << "0.00E+00" << false;
    QTest::newRow("quoted letters") << 182 << "\"day \"0" << false;
    QTest::newRow("colour in brackets") << 183 << "[Red]0.0" << false;
}

void TestBook::dateFormats()
{
    QFETCH(int, id);
    QFETCH(QString, code);
    QFETCH(bool, date);
    QCOMPARE(isDateFormat(id, code), date);
}

void TestBook::sheetNames_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("name");
    QTest::newRow("plain") << "/tmp/売上表.xlsx"
                           << "売上表";
    QTest::newRow("forbidden characters") << "/tmp/a[1]:b*c?.xlsx"
                                          << "a_1__b_c_";
    QTest::newRow("edge apostrophes") << "/tmp/'quoted'.xlsx"
                                      << "_quoted_";
    QTest::newRow("long") << "/tmp/" + QString(40, u'x') + ".xlsx" << QString(31, u'x');
    QTest::newRow("nothing left") << "/tmp/.xlsx"
                                  << "Sheet1";
}

void TestBook::sheetNames()
{
    QFETCH(QString, path);
    QFETCH(QString, name);
    QCOMPARE(bookSheetName(path), name);
}

void TestBook::writtenReadsBack_data()
{
    QTest::addColumn<float>("scale");
    QTest::newRow("100％") << 1.0f;
    QTest::newRow("75％") << 0.75f;
    QTest::newRow("125％") << 1.25f;
}

// Every kind of cell, the widths and the display size come back as they were written.
void TestBook::writtenReadsBack()
{
    QFETCH(float, scale);
    StandaloneSheet saved;
    SheetLayout layout{scale, {}};
    layout.ColWidths.fill(1200);
    layout.ColWidths[2] = 0;
    layout.ColWidths[3] = 2345;
    layout.ColWidths[26] = 150;
    saved.model.applyLayout(layout);
    const QStringList texts{"1",        "-2.5",  "007",  "1E+20",       "text, with comma",
                            "二行\n目", "=A1*2", "=1/0", "=SUM(A1:B1)", "",
                            "=A1+",     "TRUE",  "=-2^2"};
    for (int i = 0; i < texts.size(); ++i) {
        saved.model.enterAt(1 + i / 5, 1 + i % 5, texts[i]);
    }
    saved.model.enterAt(500, 26, QStringLiteral("last"));
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("book.xlsx"));
    QCOMPARE(saveSheetFile(path, saved.model).status, SaveResult::Status::Saved);

    StandaloneSheet loaded;
    const LoadResult result = loadSheetFile(path, loaded.model);
    QVERIFY(result.read);
    QVERIFY(!result.overflow);
    for (int r = 1; r <= 500; ++r) {
        for (int c = 1; c <= 26; ++c) {
            const QString where = cellName(r, c);
            QVERIFY2(loaded.model.exWithoutMoving(r, c) == saved.model.exWithoutMoving(r, c),
                     qPrintable(where));
            QVERIFY2(loaded.grid.textAt(r, c) == saved.grid.textAt(r, c), qPrintable(where));
        }
    }
    const SheetLayout read = loaded.model.layout();
    QCOMPARE(read.DisplayScale, scale);
    for (int c = 1; c <= 26; ++c) {
        QVERIFY2(std::abs(read.ColWidths[size_t(c)] - layout.ColWidths[size_t(c)]) <= 15,
                 qPrintable(QStringLiteral("column %1: %2").arg(c).arg(read.ColWidths[size_t(c)])));
    }
    QCOMPARE(result.valuesForFormulas, 0);
}

void TestBook::refused_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("name");
    QTest::newRow("an OLE file, as an encrypted book is")
        << QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) + QByteArray(504, '\0')
        << "secret.xlsx";
    QTest::newRow("a zip that is no book")
        << QByteArray("PK\x03\x04", 4) + QByteArray(100, 'x') << "data.csv";
    QTest::newRow("a text named as a book") << QByteArray("\"1\",\"2\"\r\n") << "book.XLSX";
}

// Nothing is read: the sheet stays empty.
void TestBook::refused()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, name);
    QTemporaryDir dir;
    QFile file(dir.filePath(name));
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    file.close();
    StandaloneSheet sheet;
    QVERIFY(!loadSheetFile(file.fileName(), sheet.model).read);
    QCOMPARE(sheet.model.usedExtent(), (std::pair<int, int>{0, 0}));
}

QTEST_GUILESS_MAIN(TestBook)
#include "tst_book.moc"
