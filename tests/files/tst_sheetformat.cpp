#include "files/codepage.h"
#include "files/sheetformat.h"

#include <QtTest>

// The text layer of sheet files and CSV: line ends, fields, the marker line, the layout
// trailer and code page 932.
class TestSheetFormat : public QObject
{
    Q_OBJECT

private slots:
    void lines_data();
    void lines();
    void fields_data();
    void fields();
    void rows_data();
    void rows();
    void marker_data();
    void marker();
    void quotedFieldReadsBack_data();
    void quotedFieldReadsBack();
    void trailer_data();
    void trailer();
    void decode_data();
    void decode();
    void encodeRefusesOrKeeps_data();
    void encodeRefusesOrKeeps();
    void lookAlikes_data();
    void lookAlikes();
};

void TestSheetFormat::lines_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("empty") << "" << QStringList{};
    QTest::newRow("no line end") << "a" << QStringList{"a"};
    QTest::newRow("CR LF") << "a\r\nb" << QStringList{"a", "b"};
    QTest::newRow("CR only") << "a\rb\rc" << QStringList{"a", "b", "c"};
    QTest::newRow("LF only") << "a\nb" << QStringList{"a", "b"};
    QTest::newRow("mixed") << "a\rb\nc\r\nd" << QStringList{"a", "b", "c", "d"};
    QTest::newRow("final line end adds nothing") << "a\r\n" << QStringList{"a"};
    QTest::newRow("only a line end") << "\r\n" << QStringList{""};
    QTest::newRow("empty line kept") << "a\n\nb" << QStringList{"a", "", "b"};
    QTest::newRow("CR before CR LF") << "a\r\r\nb" << QStringList{"a", "", "b"};
    QTest::newRow("LF CR is two ends") << "a\n\rb" << QStringList{"a", "", "b"};
}

void TestSheetFormat::lines()
{
    QFETCH(QString, text);
    QFETCH(QStringList, lines);
    QStringList split;
    for (const QStringView line : splitLines(text)) {
        split.append(line.toString());
    }
    QCOMPARE(split, lines);
}

void TestSheetFormat::fields_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QStringList>("fields");
    QTest::newRow("empty line") << "" << QStringList{""};
    QTest::newRow("quoted") << R"("a","b")" << QStringList{"a", "b"};
    QTest::newRow("doubled quote") << R"("a""b")" << QStringList{R"(a"b)"};
    QTest::newRow("only a quote") << R"("""")" << QStringList{R"(")"};
    QTest::newRow("quoted comma") << R"("a,b",c)" << QStringList{"a,b", "c"};
    QTest::newRow("quote comma quote") << R"(""",""")" << QStringList{R"(",")"};
    QTest::newRow("empty fields") << R"("",,"")" << QStringList{"", "", ""};
    QTest::newRow("comma at end") << R"("a",)" << QStringList{"a", ""};
    QTest::newRow("lone comma") << "," << QStringList{"", ""};
    QTest::newRow("unquoted numbers") << "1,2,3" << QStringList{"1", "2", "3"};
    // Files written before quotes were doubled read as they always did.
    QTest::newRow("old inner quotes")
        << R"("say "hi" now",x)" << QStringList{R"(say "hi" now)", "x"};
    QTest::newRow("old quote before end") << R"("a"b")" << QStringList{R"(a"b)"};
    QTest::newRow("unclosed runs to end") << R"("abc,d)" << QStringList{"abc,d"};
    QTest::newRow("blank after closing quote") << R"("a" ,b)" << QStringList{R"(a" ,b)"};
    QTest::newRow("unquoted loses ends") << R"(ab"cd,e)" << QStringList{R"(b"c)", "e"};
    QTest::newRow("unquoted a quote b") << R"(a"b)" << QStringList{R"(")"};
    QTest::newRow("unquoted number quote") << R"(1")" << QStringList{""};
    QTest::newRow("unquoted then quoted") << R"(x"y",",")" << QStringList{R"("y)", ","};
}

void TestSheetFormat::fields()
{
    QFETCH(QString, line);
    QFETCH(QStringList, fields);
    QCOMPARE(splitFields(line), fields);
}

// Rows of a whole text: quoted fields over line ends, as other spreadsheets write a cell that
// holds a line break.
void TestSheetFormat::rows_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<QStringList>>("rows");
    QTest::addColumn<bool>("trailer");
    QTest::newRow("LF inside a field") << "\"a\nb\",\"c\"\r\n\"d\"\r\n"
                                       << QList<QStringList>{{"a\nb", "c"}, {"d"}} << false;
    QTest::newRow("CR LF and CR inside become LF") << "\"a\r\nb\rc\"\r\n"
                                                   << QList<QStringList>{{"a\nb\nc"}} << false;
    QTest::newRow("doubled quotes over lines")
        << "\"say \"\"hi\"\"\nbye\",x\n1" << QList<QStringList>{{"say \"hi\"\nbye", "x"}, {"1"}}
        << false;
    QTest::newRow("unclosed at the end reads its line")
        << "\"abc,d\r\nx,y\r\n"
        << QList<QStringList>{{"abc,d"}, {"x", "y"}} << false;
    QTest::newRow("every line unclosed")
        << "\"a\n\"b\n\"c" << QList<QStringList>{{"a"}, {"b"}, {"c"}} << false;
    QTest::newRow("doubled quote at a line end, then an empty field")
        << "\"a\"\"\n\"\"\n"
        << QList<QStringList>{{"a\""}, {""}} << false;
    QTest::newRow("marker inside a field is text")
        << "\"x\n\"00.00\"\r\n\"y\"\r\n"
        << QList<QStringList>{{"x\n\"00.00"}, {"y"}} << false;
    QTest::newRow("marker after a row of two lines") << "\"a\nb\"\r\n\"00.00\"\r\n1200\r\n"
                                                     << QList<QStringList>{{"a\nb"}} << true;
}

void TestSheetFormat::rows()
{
    QFETCH(QString, text);
    QFETCH(QList<QStringList>, rows);
    QFETCH(bool, trailer);
    const SheetText sheet = parseSheetText(text);
    QCOMPARE(QList<QStringList>(sheet.rows.begin(), sheet.rows.end()), rows);
    QCOMPARE(sheet.hasTrailer, trailer);
}

void TestSheetFormat::marker_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("marker");
    QTest::newRow("as written") << R"("00.00")" << true;
    QTest::newRow("blanks around") << " \t\"00.00\"  " << true;
    QTest::newRow("100.00 quoted") << R"("100.00")" << false;
    QTest::newRow("100.00") << "100.00" << false;
    QTest::newRow("without quotes") << "00.00" << false;
    QTest::newRow("more digits") << R"("00.000")" << false;
    QTest::newRow("with a second field") << R"("00.00","")" << false;
    QTest::newRow("quoted in quotes") << R"("""00.00""")" << false;
}

void TestSheetFormat::marker()
{
    QFETCH(QString, line);
    QFETCH(bool, marker);
    QCOMPARE(isMarkerLine(line), marker);
}

// Whatever a cell holds, its written field reads back as that text, alone or beside others.
void TestSheetFormat::quotedFieldReadsBack_data()
{
    QTest::addColumn<QString>("text");
    for (const char* text :
         {"", "plain", "\"", "\"\"", "\"start", "end\"", "\",\"", "a,b", ",", "\"a\",\"b\"",
          "say \"hi\", ok", " spaced ", "日本語,ｶﾅ", "two\nlines", "\"\n\"", "\n"}) {
        QTest::newRow(*text ? text : "(empty)") << QString::fromUtf8(text);
    }
}

void TestSheetFormat::quotedFieldReadsBack()
{
    QFETCH(QString, text);
    QString field;
    appendQuotedField(field, text);
    QCOMPARE(field.count(u'"'), 2 + 2 * text.count(u'"'));
    QCOMPARE(splitFields(field), QStringList{text});
    QCOMPARE(splitFields(field + u',' + field + u',' + field), (QStringList{text, text, text}));
}

void TestSheetFormat::trailer_data()
{
    QTest::addColumn<QStringList>("values");
    QTest::addColumn<QList<int>>("widths");
    QTest::addColumn<float>("scale");
    const QList<int> keep(26, 1200);
    QStringList all;
    QList<int> allWidths;
    for (int c = 1; c <= 26; ++c) {
        all << QString::number(c * 100);
        allWidths << c * 100;
    }
    auto with = [&](int i, int v, int j = 0, int w = 1200) {
        QList<int> widths = keep;
        widths[j] = w;
        widths[i] = v;
        return widths;
    };
    QTest::newRow("full") << all + QStringList{"1.25"} << allWidths << 1.25f;
    QTest::newRow("short keeps the rest")
        << QStringList{"1000", "2000"} << with(1, 2000, 0, 1000) << 1.0f;
    QTest::newRow("non-number keeps its entry")
        << QStringList{"1000", "abc", "3000"} << with(2, 3000, 0, 1000) << 1.0f;
    QTest::newRow("beyond 16 bits")
        << QStringList{"40000", "-40000", "32767"} << with(2, 32767) << 1.0f;
    QTest::newRow("scale without leading 0") << all + QStringList{".75"} << allWidths << 0.75f;
    QTest::newRow("zero scale ignored") << all + QStringList{"0"} << allWidths << 1.0f;
    QTest::newRow("negative scale ignored") << all + QStringList{"-1.25"} << allWidths << 1.0f;
    QTest::newRow("scale not a number") << all + QStringList{"x"} << allWidths << 1.0f;
}

void TestSheetFormat::trailer()
{
    QFETCH(QStringList, values);
    QFETCH(QList<int>, widths);
    QFETCH(float, scale);
    int read[26];
    std::fill(std::begin(read), std::end(read), 1200);
    float readScale = 1.0f;
    readTrailer(values, read, readScale);
    QCOMPARE(QList<int>(std::begin(read), std::end(read)), widths);
    QCOMPARE(readScale, scale);
}

void TestSheetFormat::decode_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("encodesBack");
    QTest::newRow("ASCII") << QByteArray(R"(C:\dir~1)") << R"(C:\dir~1)" << true;
    QTest::newRow("backslash tilde beside kana")
        << QByteArray("\\\x82\xa0~") << u"\\あ~"_qs << true;
    QTest::newRow("kanji") << QByteArray("\x93\xfa\x96\x7b") << u"日本"_qs << true;
    QTest::newRow("half-width katakana") << QByteArray("\xb1\xb6\xdf") << u"ｱｶﾟ"_qs << true;
    QTest::newRow("circled one") << QByteArray("\x87\x40") << u"①"_qs << true;
    QTest::newRow("fullwidth tilde") << QByteArray("\x81\x60") << u"～"_qs << true;
    QTest::newRow("longer than a buffer")
        << QByteArray("\x82\xa0").repeated(3000) + 'x' << u"あ"_qs.repeated(3000) + u'x' << true;
    QTest::newRow("undefined byte") << QByteArray("a\x80"
                                                  "b")
                                    << u"a\uFFFDb"_qs << false;
    QTest::newRow("lead byte cut off") << QByteArray("\x82\xa0\x82") << u"あ\uFFFD"_qs << false;
    QTest::newRow("bad trail byte") << QByteArray("\x82 a") << u"\uFFFD a"_qs << false;
}

void TestSheetFormat::decode()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QFETCH(bool, encodesBack);
    QCOMPARE(decodeCp932(bytes), text);
    if (encodesBack) {
        QCOMPARE(encodeCp932(text).value_or("(refused)"), bytes);
    }
}

// A save either refuses a text or writes bytes that read back as that text: a price in yen
// must not come back with a backslash.
void TestSheetFormat::encodeRefusesOrKeeps_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("refused");
    QTest::newRow("e acute") << u"café"_qs << true;
    QTest::newRow("euro") << u"€5"_qs << true;
    QTest::newRow("emoji") << u"あ😀"_qs << true;
    QTest::newRow("replacement character") << u"\uFFFD"_qs << true;
    QTest::newRow("yen sign") << u"¥1,000"_qs << false;
    QTest::newRow("overline") << u"‾"_qs << false;
}

void TestSheetFormat::encodeRefusesOrKeeps()
{
    QFETCH(QString, text);
    QFETCH(bool, refused);
    const std::optional<QByteArray> bytes = encodeCp932(text);
    QVERIFY(!refused || !bytes);
    if (bytes) {
        QCOMPARE(decodeCp932(*bytes), text);
    }
    // A refusal leaves the conversion fit for the next cell.
    QCOMPARE(encodeCp932(u"あ"_qs).value_or("(refused)"), QByteArray("\x82\xa0"));
}

// What other systems write for seven characters is saved as code page 932's look-alikes, which
// read back as those; a character with no look-alike is refused as before.
void TestSheetFormat::lookAlikes_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("readBack");
    QTest::newRow("wave dash") << u"10〜20"_qs
                               << QByteArray("10\x81\x60"
                                             "20")
                               << u"10～20"_qs;
    QTest::newRow("em dash") << u"—"_qs << QByteArray("\x81\x5c") << u"―"_qs;
    QTest::newRow("double vertical line") << u"‖"_qs << QByteArray("\x81\x61") << u"∥"_qs;
    QTest::newRow("minus sign") << u"−5"_qs
                                << QByteArray("\x81\x7c"
                                              "5")
                                << u"－5"_qs;
    QTest::newRow("cent pound not")
        << u"¢£¬"_qs << QByteArray("\x81\x91\x81\x92\x81\xca") << u"￠￡￢"_qs;
    QTest::newRow("beside kana") << u"あ〜い"_qs << QByteArray("\x82\xa0\x81\x60\x82\xa2")
                                 << u"あ～い"_qs;
    QTest::newRow("yen sign refused") << u"¥100"_qs << QByteArray("(refused)") << QString();
    QTest::newRow("look-alike beside a refused one")
        << u"〜€"_qs << QByteArray("(refused)") << QString();
}

void TestSheetFormat::lookAlikes()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, readBack);
    QCOMPARE(encodeCp932(text).value_or("(refused)"), bytes);
    if (!readBack.isEmpty()) {
        QCOMPARE(decodeCp932(bytes), readBack);
    }
}

QTEST_GUILESS_MAIN(TestSheetFormat)
#include "tst_sheetformat.moc"
