#include "calc/clscal.h"
#include "files/sheetio.h"
#include "model/gridstate.h"
#include "model/standalonesheet.h"

#include <QProcess>
#include <QRandomGenerator>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QtTest>
#include <optional>

namespace {

using Status = SaveResult::Status;

// One sheet without a window, as the command-line tool builds it.
struct Sheet : StandaloneSheet
{

    void enter(int row, int col, const QString& text)
    {
        grid.setCurrent(row, col);
        model.enter(text);
    }
    // Cells given as "row:col:text".
    void fill(const QStringList& cells)
    {
        for (const QString& cell : cells) {
            enter(cell.section(u':', 0, 0).toInt(), cell.section(u':', 1, 1).toInt(),
                  cell.section(u':', 2));
        }
    }
};

struct Cell
{
    int row, col;
    QString expression, shown;
};

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush();
}

bool run(const QString& program, const QStringList& args)
{
    QProcess process;
    process.start(program, args);
    return process.waitForFinished() && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() == 0;
}

// A 64 KiB tmpfs of its own, for faults an ordinary folder cannot give root; needs root.
struct Tmpfs
{
    explicit Tmpfs(const QString& dir)
        : dir(dir), mounted(run("mount", {"-t", "tmpfs", "-o", "size=64k", "tmpfs", dir}))
    {
    }
    ~Tmpfs()
    {
        if (mounted) {
            run("umount", {dir});
        }
    }
    QString dir;
    bool mounted;
};

const QByteArray DefaultTrailer = "\"00.00\"\r\n" + QByteArray("1200\r\n").repeated(26) + "1\r\n";

// Numbers, awkward texts and formulas. Formulas refer only to cells that hold no formula, so
// one recalculation settles the saved sheet and the reader's two passes the loaded one.
void randomSheet(Sheet& sheet, QRandomGenerator& rng)
{
    static const QStringList pieces = {"a,b",   "\"",  "\",\"",  "say \"hi\"", "日本語",
                                       "ｶﾀｶﾅﾟ", "①～", "C:\\d~", " x  ",       "100.00",
                                       "1,5",   ",",   "end\""};
    static const QStringList broken = {"=1/0", "=(1+2", "=1 + 2", "=2*"};
    const int rows = 5 + int(rng.bounded(40)), cols = 3 + int(rng.bounded(24));
    std::vector<int> kind(size_t(rows) * cols); // 0 empty, 1 value, 2 formula
    for (int& k : kind) {
        k = std::min(2, int(rng.bounded(5)) / 2);
    }
    kind.back() = 1; // the rectangle reaches the last row and column
    auto ref = [&]() {
        int r, c;
        do {
            r = 1 + int(rng.bounded(rows));
            c = 1 + int(rng.bounded(cols));
        } while (kind[size_t(r - 1) * cols + c - 1] == 2);
        return QChar(u'A' + c - 1) + QString::number(r);
    };
    for (int r = 1; r <= rows; ++r) {
        for (int c = 1; c <= cols; ++c) {
            QString text;
            switch (kind[size_t(r - 1) * cols + c - 1] * 4 + int(rng.bounded(4))) {
            case 4:
            case 5:
                text = QString::number((int(rng.bounded(200000)) - 100000) / 100.0);
                break;
            case 6:
            case 7:
                for (int n = 1 + int(rng.bounded(3)); n > 0; --n) {
                    text += pieces[rng.bounded(pieces.size())];
                }
                break;
            case 8:
                text = "=" + ref() + "+1";
                break;
            case 9:
                text = "=" + ref() + "*" + ref();
                break;
            case 10:
                text = "=" + ref().toLower() + "-2.5";
                break;
            case 11:
                text = broken[rng.bounded(broken.size())];
                break;
            default:
                continue;
            }
            sheet.enter(r, c, text);
        }
    }
    sheet.model.recalculate();
}

} // namespace

Q_DECLARE_METATYPE(QList<Cell>)

// Reading sheets from files and writing them: the exact bytes, round trips, the reader's two
// passes and trailer, and saves that must leave the old file alone.
class TestSheetIo : public QObject
{
    Q_OBJECT

private slots:
    void savedBytes_data()
    {
        QTest::addColumn<QStringList>("cells");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        const QByteArray c7 = QByteArray("\"\",\"\",\"\"\r\n").repeated(6) + "\"\",\"\",\"x\"\r\n";
        QTest::newRow("C7 as CSV") << QStringList{"7:3:x"} << "s.csv" << c7;
        QTest::newRow("C7 as sheet file") << QStringList{"7:3:x"} << "s.zel" << c7 + DefaultTrailer;
        QTest::newRow("upper-case ZEL, no trailer") << QStringList{"7:3:x"} << "s.ZEL" << c7;
        QTest::newRow("empty CSV") << QStringList{} << "s.csv" << QByteArray();
        QTest::newRow("empty sheet file") << QStringList{} << "s.zel" << DefaultTrailer;
        QTest::newRow("zel without a dot") << QStringList{} << "notzel" << DefaultTrailer;
        QTest::newRow("text file") << QStringList{"1:1:1"} << "s.txt" << QByteArray("\"1\"\r\n");
        QTest::newRow("last row and column found apart")
            << QStringList{"3:1:a", "1:4:b"} << "s.csv"
            << QByteArray(
                   "\"\",\"\",\"\",\"b\"\r\n\"\",\"\",\"\",\"\"\r\n\"a\",\"\",\"\",\"\"\r\n");
        QTest::newRow("quotes and Japanese")
            << QStringList{"1:1:say \"hi\"", "1:2:日本", "2:1:ｱ"} << "s.csv"
            << QByteArray("\"say \"\"hi\"\"\",\"\x93\xfa\x96\x7b\"\r\n\"\xb1\",\"\"\r\n");
        QTest::newRow("formula as entered")
            << QStringList{"1:1:=a2/0"} << "s.csv" << QByteArray("\"=A2/0\"\r\n");
    }
    void savedBytes()
    {
        QFETCH(QStringList, cells);
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        Sheet sheet;
        sheet.fill(cells);
        QTemporaryDir tmp;
        QCOMPARE(saveSheetFile(tmp.filePath(name), sheet.model).status, Status::Saved);
        QCOMPARE(readFile(tmp.filePath(name)), bytes);
    }

    // Grid widths are divided by the scale and cut, never rounded, to whole twips.
    void trailerWidths_data()
    {
        QTest::addColumn<float>("scale");
        QTest::addColumn<QByteArray>("lines"); // columns A and B, then the scale
        QTest::newRow("1") << 1.0f << QByteArray("1200\r\n1001\r\n1\r\n");
        QTest::newRow("0.75") << 0.75f << QByteArray("1600\r\n1334\r\n0.75\r\n");
        QTest::newRow("1.25") << 1.25f << QByteArray("960\r\n800\r\n1.25\r\n");
    }
    void trailerWidths()
    {
        QFETCH(float, scale);
        QFETCH(QByteArray, lines);
        Sheet sheet;
        sheet.model.applyLayout(SheetLayout{scale, {}});
        sheet.grid.setColWidth(1, 1200);
        sheet.grid.setColWidth(2, 1001);
        SaveResult result;
        const QList<QByteArray> all = sheetFileBytes(sheet.model, true, result).split('\n');
        QCOMPARE(all.size(), 29); // 28 lines, nothing after the last line end
        QCOMPARE(all[1] + '\n' + all[2] + '\n' + all[27] + '\n', lines);
    }

    void roundTrip_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<float>("scale");
        QTest::addColumn<double>("font");
        QTest::addColumn<quint32>("seed");
        QTest::newRow("sheet file at 1") << "r.zel" << 1.0f << 12.0 << 20240601u;
        QTest::newRow("sheet file at 0.75") << "r.zel" << 0.75f << 9.0 << 20240602u;
        QTest::newRow("sheet file at 1.25") << "r.zel" << 1.25f << 16.0 << 20240603u;
        QTest::newRow("CSV") << "r.csv" << 1.0f << 12.0 << 20240604u;
    }
    void roundTrip()
    {
        QFETCH(QString, name);
        QFETCH(float, scale);
        QFETCH(double, font);
        QFETCH(quint32, seed);
        const QByteArray why = "seed " + QByteArray::number(seed);
        QRandomGenerator rng(seed);
        Sheet saved;
        randomSheet(saved, rng);
        SheetLayout savedLayout{scale, {}};
        std::array<int, 27>& widths = savedLayout.ColWidths;
        widths.fill(1200);
        for (int i = 0; i < 8; ++i) {
            widths[1 + rng.bounded(26)] = 200 + int(rng.bounded(5000));
        }
        saved.model.applyLayout(savedLayout);

        QTemporaryDir tmp;
        QVERIFY2(saveSheetFile(tmp.filePath(name), saved.model).status == Status::Saved, why);
        Sheet loaded;
        const LoadResult result = loadSheetFile(tmp.filePath(name), loaded.model);
        QVERIFY2(result.read && !result.overflow, why);
        for (int r = 1; r <= 500; ++r) {
            for (int c = 1; c <= 26; ++c) {
                const QString was =
                    saved.model.exWithoutMoving(r, c) + " / " + saved.grid.textAt(r, c);
                const QString is =
                    loaded.model.exWithoutMoving(r, c) + " / " + loaded.grid.textAt(r, c);
                const QString where = QStringLiteral("%1,%2").arg(r).arg(c);
                QVERIFY2(was == is,
                         why + ": cell " +
                             qPrintable(where + " saved [" + was + "], loaded [" + is + "]"));
            }
        }
        const bool sheetFile = name.endsWith(u"zel");
        const SheetLayout layout = result.layout.value_or(loaded.model.layout());
        QVERIFY2(layout.DisplayScale == scale && loaded.grid.FontSize() == font, why);
        QVERIFY2(loaded.grid.ColWidth(0) == qRound(600 * scale), why);
        QVERIFY2(loaded.grid.RowHeight(1) == qRound(360 * scale), why);
        for (int c = 1; c <= 26; ++c) {
            const int width = sheetFile ? layout.ColWidths[c] : loaded.grid.ColWidth(c);
            QVERIFY2(std::abs(width - (sheetFile ? widths[c] : 1200)) <= 1,
                     why + ": column " + QByteArray::number(c) + " " + QByteArray::number(width));
        }
    }

    // Texts whose written form could read back as something else: a lone 00.00 in the only
    // column looks like the marker line, and half-width katakana can form valid UTF-8.
    void lookalikesReadBack_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("name");
        QTest::newRow("00.00 alone, CSV") << "00.00"
                                          << "m.csv";
        QTest::newRow("00.00 alone, sheet file") << "00.00"
                                                 << "m.zel";
        QTest::newRow("katakana like UTF-8") << "ﾃｽ"
                                             << "k.csv";
    }
    void lookalikesReadBack()
    {
        QFETCH(QString, text);
        QFETCH(QString, name);
        Sheet saved;
        saved.fill({"1:1:" + text, "2:1:after"});
        QTemporaryDir tmp;
        QCOMPARE(int(saveSheetFile(tmp.filePath(name), saved.model).status), int(Status::Saved));
        Sheet loaded;
        QVERIFY(loadSheetFile(tmp.filePath(name), loaded.model).read);
        QCOMPARE(loaded.model.exWithoutMoving(1, 1), text);
        QCOMPARE(loaded.model.exWithoutMoving(2, 1), QStringLiteral("after"));
    }

    void loadEntersCells_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QList<Cell>>("cells");
        QTest::newRow("unquoted numbers") << "1,2,3\r\n"
                                          << QList<Cell>{{1, 1, "1", "1"}, {1, 3, "3", "3"}};
        QTest::newRow("formula sees a later cell")
            << R"("=B1+1","2")" << QList<Cell>{{1, 1, "=B1+1", "3"}};
        QTest::newRow("formula sees a later row")
            << "\"=A3+1\"\r\n\"\"\r\n\"4\"" << QList<Cell>{{1, 1, "=A3+1", "5"}};
        // The second pass covers only as many columns as the last line has fields.
        QTest::newRow("last line too short")
            << "\"\",\"\",\"=A2*2\"\r\n\"5\"\r\n"
            << QList<Cell>{{1, 3, "=A2*2", "Errセル"}, {2, 1, "5", "5"}};
        QTest::newRow("last line wide enough") << "\"\",\"\",\"=A2*2\"\r\n\"5\",\"\",\"\"\r\n"
                                               << QList<Cell>{{1, 3, "=A2*2", "10"}};
        QTest::newRow("quoted, old-style and unquoted")
            << R"("a,b","say ""hi""","old "q" x",p"q"r)"
            << QList<Cell>{{1, 1, "a,b", "a,b"},
                           {1, 2, R"(say "hi")", R"(say "hi")"},
                           {1, 3, R"(old "q" x)", R"(old "q" x)"},
                           {1, 4, R"("q")", R"("q")"}};
        QTest::newRow("100.00 lines are data") << "\"1\"\r\n\"100.00\"\r\n100.00\r\n00.00\r\n\"2\""
                                               << QList<Cell>{{2, 1, "100.00", "100.00"},
                                                              {3, 1, "100.00", "100.00"},
                                                              {4, 1, "00.00", "00.00"},
                                                              {5, 1, "2", "2"}};
        QTest::newRow("every line end") << "\"1\"\r\"2\"\n\"3\"\r\n\"=A1+A2+A3\""
                                        << QList<Cell>{{3, 1, "3", "3"}, {4, 1, "=A1+A2+A3", "6"}};
    }
    void loadEntersCells()
    {
        QFETCH(QString, text);
        QFETCH(QList<Cell>, cells);
        Sheet sheet;
        const LoadResult result = loadSheetText(text, sheet.model);
        QVERIFY(result.read && !result.overflow);
        for (const Cell& cell : cells) {
            QCOMPARE(sheet.model.exWithoutMoving(cell.row, cell.col), cell.expression);
            QCOMPARE(sheet.grid.textAt(cell.row, cell.col), cell.shown);
        }
        // No trailer: the zero widths of a fresh layout must not have been applied.
        QCOMPARE(sheet.grid.ColWidth(1), 1200);
        QVERIFY(sheet.grid.Redraw() && sheet.grid.HighLight() == 1);
    }

    void loadLayout_data()
    {
        QTest::addColumn<QString>("name"); // empty: loaded as text
        QTest::addColumn<QString>("text");
        QTest::addColumn<QList<int>>("sizes"); // heading, A, B, C, row height, font
        QTest::addColumn<QStringList>("columnA");
        const QString ones = QStringList(26, "1000").join("\r\n");
        QTest::newRow("short trailer keeps the rest")
            << ""
            << "\"1\"\r\n\"00.00\"\r\n1000\r\n2000\r\n"
            << QList<int>{600, 1000, 2000, 1500, 360, 12} << QStringList{"1", ""};
        QTest::newRow("scale without leading 0")
            << ""
            << "\"00.00\"\r\n" + ones + "\r\n.75\r\n"
            << QList<int>{450, 750, 750, 750, 270, 9} << QStringList{""};
        QTest::newRow("a scale that is no display size keeps the one before")
            << ""
            << "\"00.00\"\r\n" + ones + "\r\n1e-38\r\n"
            << QList<int>{600, 1000, 1000, 1000, 360, 12} << QStringList{""};
        QTest::newRow("values split at commas")
            << ""
            << "\"00.00\"\r\n" + QStringList(26, "1000").join(",") + "\r\n1.25"
            << QList<int>{750, 1250, 1250, 1250, 450, 16} << QStringList{""};
        QTest::newRow("marker line in a CSV")
            << "m.csv"
            << "\"1\"\r\n \"00.00\" \r\n700\r\n\"2\"\r\n"
            << QList<int>{600, 700, 1500, 1500, 360, 12} << QStringList{"1", "", "", ""};
    }
    void loadLayout()
    {
        QFETCH(QString, name);
        QFETCH(QString, text);
        QFETCH(QList<int>, sizes);
        QFETCH(QStringList, columnA);
        Sheet sheet;
        SheetLayout before;
        before.ColWidths.fill(1500); // as the sheet had them before
        QTemporaryDir tmp;
        QVERIFY(name.isEmpty() || writeFile(tmp.filePath(name), text.toLatin1()));
        sheet.model.applyLayout(before);
        const LoadResult result = name.isEmpty() ? loadSheetText(text, sheet.model)
                                                 : loadSheetFile(tmp.filePath(name), sheet.model);
        QVERIFY(result.read);
        const GridState& g = sheet.grid;
        QCOMPARE((QList<int>{g.ColWidth(0), g.ColWidth(1), g.ColWidth(2), g.ColWidth(3),
                             g.RowHeight(1), int(g.FontSize())}),
                 sizes);
        for (int r = 0; r < columnA.size(); ++r) {
            QCOMPARE(sheet.model.exWithoutMoving(r + 1, 1), columnA[r]);
        }
    }

    void overflow_data()
    {
        QTest::addColumn<int>("lines");
        QTest::addColumn<int>("fields"); // of the first line; the others have one
        QTest::addColumn<bool>("overflow");
        QTest::newRow("fits exactly") << 500 << 26 << false;
        QTest::newRow("501 lines") << 501 << 1 << true;
        QTest::newRow("27 fields") << 1 << 27 << true;
        QTest::newRow("both") << 502 << 30 << true;
    }
    void overflow()
    {
        QFETCH(int, lines);
        QFETCH(int, fields);
        QFETCH(bool, overflow);
        QStringList first, text;
        for (int c = 1; c <= fields; ++c) {
            first << (c <= 26 ? QStringLiteral("C%1").arg(c) : QStringLiteral("over"));
        }
        text << first.join(u',');
        for (int r = 2; r <= lines; ++r) {
            text << (r <= 500 ? QStringLiteral("R%1").arg(r) : QStringLiteral("over"));
        }
        Sheet sheet;
        QCOMPARE(loadSheetText(text.join("\r\n"), sheet.model).overflow, overflow);
        int used = 0;
        for (int r = 1; r <= 500; ++r) {
            for (int c = 1; c <= 26; ++c) {
                QVERIFY2(sheet.model.exWithoutMoving(r, c) != u"over" &&
                             sheet.grid.textAt(r, c) != u"over",
                         qPrintable(QStringLiteral("cell %1,%2").arg(r).arg(c)));
                used += sheet.model.exWithoutMoving(r, c).isEmpty() ? 0 : 1;
            }
        }
        QCOMPARE(used, std::min(fields, 26) + std::min(lines, 500) - 1);
        QCOMPARE(sheet.grid.textAt(1, std::min(fields, 26)),
                 QStringLiteral("C%1").arg(std::min(fields, 26)));
        QCOMPARE(sheet.grid.textAt(std::min(lines, 500), 1),
                 lines > 1 ? QStringLiteral("R%1").arg(std::min(lines, 500)) : "C1");
    }

    void fileEncodings_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("row1");
        QTest::newRow("bad bytes in a sheet file") << "b.zel"
                                                   << QByteArray("\"a\x80"
                                                                 "b\",\"\x93\xfa\"\r\n")
                                                   << QStringList{u"a\uFFFDb"_qs, "日"};
        QTest::newRow("sheet file is never UTF-8")
            << "u.zel" << QByteArray("\"\xe3\x81\x82\"") << QStringList{u"縺\uFFFD"_qs, ""};
        QTest::newRow("UTF-8 CSV")
            << "u.csv" << QByteArray("\"日本\",\"ｶﾅ\"") << QStringList{"日本", "ｶﾅ"};
        QTest::newRow("UTF-8 text with BOM")
            << "u.txt" << QByteArray("\xef\xbb\xbf\"x\",\"é\"") << QStringList{"x", "é"};
        QTest::newRow("code page 932 CSV")
            << "s.csv" << QByteArray("\"\x93\xfa\x96\x7b\",\"\xb6\xc5\"")
            << QStringList{"日本", "ｶﾅ"};
    }
    void fileEncodings()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, row1);
        QTemporaryDir tmp;
        QVERIFY(writeFile(tmp.filePath(name), bytes));
        Sheet sheet;
        QVERIFY(loadSheetFile(tmp.filePath(name), sheet.model).read);
        QCOMPARE(
            (QStringList{sheet.model.exWithoutMoving(1, 1), sheet.model.exWithoutMoving(1, 2)}),
            row1);
    }

    void unreadablePath()
    {
        QTemporaryDir tmp;
        QVERIFY(QDir(tmp.path()).mkdir("folder.csv"));
        for (const char* name : {"missing.zel", "folder.csv"}) {
            Sheet sheet;
            sheet.enter(1, 1, "kept");
            QVERIFY2(!loadSheetFile(tmp.filePath(name), sheet.model).read, name);
            QCOMPARE(sheet.model.exWithoutMoving(1, 1), u"kept");
        }
    }

    void unencodableKeepsFile_data()
    {
        QTest::addColumn<QStringList>("cells");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("col");
        QTest::newRow("e acute") << QStringList{"1:1:ok", "2:2:café"} << 2 << 2;
        QTest::newRow("first in row order") << QStringList{"2:1:€", "1:3:x€"} << 1 << 3;
        QTest::newRow("first in its row") << QStringList{"1:2:€", "1:3:é", "1:5:ok"} << 1 << 2;
        QTest::newRow("emoji") << QStringList{"3:26:😀"} << 3 << 26;
        QTest::newRow("replacement character") << QStringList{"1:1:\uFFFD"} << 1 << 1;
    }
    void unencodableKeepsFile()
    {
        QFETCH(QStringList, cells);
        QFETCH(int, row);
        QFETCH(int, col);
        QTemporaryDir tmp;
        const QByteArray old = "\"old\"\r\n" + DefaultTrailer;
        QVERIFY(writeFile(tmp.filePath("old.zel"), old));
        Sheet sheet;
        sheet.fill(cells);
        const SaveResult result = saveSheetFile(tmp.filePath("old.zel"), sheet.model);
        QCOMPARE(result.status, Status::Unencodable);
        QCOMPARE(QList<int>({result.row, result.col}), QList<int>({row, col}));
        QCOMPARE(readFile(tmp.filePath("old.zel")), old);
        QCOMPARE(QDir(tmp.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"old.zel"});
    }

    void writeFailureKeepsFile_data()
    {
        QTest::addColumn<bool>("fullDisk");
        QTest::newRow("read-only folder") << false;
        QTest::newRow("full disk") << true;
    }
    void writeFailureKeepsFile()
    {
        QFETCH(bool, fullDisk);
        QTemporaryDir tmp;
        const QString dir = tmp.filePath("d"), path = dir + "/old.csv";
        const QByteArray old = "\"old\"\r\n";
        QVERIFY(QDir().mkdir(dir));
        std::optional<Tmpfs> fs;
        const auto restore = qScopeGuard([&] {
            QFile::setPermissions(dir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        });
        if (!fullDisk) {
            QVERIFY(writeFile(path, old));
            QVERIFY(QFile::setPermissions(dir, QFile::ReadOwner | QFile::ExeOwner));
        }
        if (fullDisk ||
            writeFile(dir + "/probe", "")) { // root: only a read-only mount holds it back
            QFile::remove(dir + "/probe");
            fs.emplace(dir);
            if (!fs->mounted) {
                QSKIP("needs a tmpfs of its own, and mounting one is not allowed here");
            }
            QVERIFY(writeFile(path, old));
        }
        const QString filler = dir + "/filler";
        if (fullDisk) {
            QFile file(filler);
            QVERIFY(file.open(QIODevice::WriteOnly));
            const QByteArray block(4096, 'f');
            for (int i = 0; i < 64 && file.write(block) == block.size() && file.flush(); ++i) {
            }
        } else if (fs) {
            QVERIFY(run("mount", {"-o", "remount,ro", dir}));
        }
        Sheet sheet;
        for (int r = 1; r <= 20; ++r) {
            sheet.enter(r, 1, "new");
        }
        QCOMPARE(saveSheetFile(path, sheet.model).status, Status::WriteFailed);
        QCOMPARE(readFile(path), old);
        QCOMPARE(QDir(dir).entryList(QDir::Files | QDir::Hidden).size(), fullDisk ? 2 : 1);
        if (fullDisk) { // with room again the same save goes through: space was the fault
            QVERIFY(QFile::remove(filler));
            QCOMPARE(saveSheetFile(path, sheet.model).status, Status::Saved);
            QCOMPARE(readFile(path), QByteArray("\"new\"\r\n").repeated(20));
        }
    }
};

QTEST_GUILESS_MAIN(TestSheetIo)
#include "tst_sheetio.moc"
