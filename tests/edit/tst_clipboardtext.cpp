#include "edit/clipboardtext.h"

#include <QtTest>

// Block text exchanged with other programs through the clipboard: quoted cells that hold tabs,
// line breaks and quotes stay one cell both ways; other quotes are text.
class TestClipboardText : public QObject
{
    Q_OBJECT

private slots:
    void parse_data();
    void parse();
    void writtenReadsBack_data();
    void writtenReadsBack();
};

using Rows = QList<QStringList>;

void TestClipboardText::parse_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<Rows>("rows");
    QTest::newRow("plain block") << "1\t2\n3\t4" << Rows{{"1", "2"}, {"3", "4"}};
    QTest::newRow("CR LF and CR rows, final row end") << "a\r\nb\rc\r\n"
                                                      << Rows{{"a"}, {"b"}, {"c"}};
    QTest::newRow("empty text") << "" << Rows{{""}};
    QTest::newRow("tab at the end") << "a\t" << Rows{{"a", ""}};
    QTest::newRow("empty row kept") << "a\n\nb" << Rows{{"a"}, {""}, {"b"}};
    QTest::newRow("quoted line break") << "\"x\ny\"\tz\n1\t2" << Rows{{"x\ny", "z"}, {"1", "2"}};
    QTest::newRow("quoted CR LF becomes LF") << "\"x\r\ny\"" << Rows{{"x\ny"}};
    QTest::newRow("quoted tab and doubled quote")
        << "\"a\tb\"\t\"say \"\"hi\"\"\"" << Rows{{"a\tb", "say \"hi\""}};
    QTest::newRow("empty quoted") << "\"\"\tx" << Rows{{"", "x"}};
    QTest::newRow("quotes that close nothing")
        << "\"Hello\" he said\tx" << Rows{{"\"Hello\" he said", "x"}};
    QTest::newRow("quote in the middle") << "5\" pipe\t\"" << Rows{{"5\" pipe", "\""}};
    QTest::newRow("never closed, over lines") << "\"a\n\"b\nc" << Rows{{"\"a"}, {"\"b"}, {"c"}};
    QTest::newRow("closing quote not at a field end")
        << "\"a\nb\"c\n\"d\"" << Rows{{"\"a"}, {"b\"c"}, {"d"}};
    QTest::newRow("formula") << "=a1*2" << Rows{{"=a1*2"}};
}

void TestClipboardText::parse()
{
    QFETCH(QString, text);
    QFETCH(Rows, rows);
    QCOMPARE(parseClipboardText(text), rows);
}

// Whatever cells show, the text put on the clipboard reads back as the same cells.
void TestClipboardText::writtenReadsBack_data()
{
    QTest::addColumn<Rows>("rows");
    QTest::addColumn<QString>("text");
    QTest::newRow("plain") << Rows{{"1", "2"}, {"x", ""}} << "1\t2\nx\t";
    QTest::newRow("line break") << Rows{{"a\nb", "c"}} << "\"a\nb\"\tc";
    QTest::newRow("tab") << Rows{{"a\tb"}} << "\"a\tb\"";
    QTest::newRow("quotes") << Rows{{"\"Hello\" he said"}} << "\"\"\"Hello\"\" he said\"";
    QTest::newRow("only a quote") << Rows{{"\"", "\"\""}} << "\"\"\"\"\t\"\"\"\"\"\"";
}

void TestClipboardText::writtenReadsBack()
{
    QFETCH(Rows, rows);
    QFETCH(QString, text);
    QCOMPARE(clipboardText(rows), text);
    QCOMPARE(parseClipboardText(text), rows);
}

QTEST_GUILESS_MAIN(TestClipboardText)
#include "tst_clipboardtext.moc"
