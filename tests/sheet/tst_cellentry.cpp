#include "calc/numbertext.h"
#include "model/gridstate.h"
#include "sheet/celleditor.h"
#include "sheet/sheetgrid.h"
#include "testhost.h"

#include <QtTest>

// Entering cells and recalculating a sheet: shown texts and markers, what the store keeps,
// the one-sweep order, the used extent and the refusal while a cell is edited.
class TestCellEntry : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void enterShowsResultOrMarker_data();
    void enterShowsResultOrMarker();
    void failedFormulaKeepsValue();
    void editLineEntersLikeTheEditor();
    void recalculateIsOneSweep();
    void recalculateCoversUsedExtent_data();
    void recalculateCoversUsedExtent();
    void recalculateRestoresSheet();
    void recalculateRefusedWhileEditing();

private:
    void enter(int row, int col, const QString& text);
    GridState& grid() { return sheet->grdZel->state(); }

    std::unique_ptr<TestHost> host;
    frmZelChild* sheet = nullptr;
};

void TestCellEntry::init()
{
    host = std::make_unique<TestHost>();
    sheet = new frmZelChild(*host);
    sheet->resize(900, 600);
    sheet->show();
}

void TestCellEntry::cleanup()
{
    delete sheet;
    host.reset();
}

// As callers do: the text into the editor, the cell made current, then EnterCell.
void TestCellEntry::enter(int row, int col, const QString& text)
{
    enterCell(*sheet, row, col, text);
}

void TestCellEntry::enterShowsResultOrMarker_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<bool>("isNumber");

    QTest::newRow("formula") << "=1+2"
                             << "=1+2"
                             << "3" << true;
    QTest::newRow("number stays text") << "12"
                                       << "12"
                                       << "12" << false;
    QTest::newRow("text") << "abc"
                          << "abc"
                          << "abc" << false;
    QTest::newRow("capitals stored") << "=a1*2"
                                     << "=A1*2"
                                     << "8" << true;
    QTest::newRow("every = removed") << "==1+2="
                                     << "==1+2="
                                     << "3" << true;
    QTest::newRow("rounded") << "=1/3"
                             << "=1/3"
                             << "0.33333" << true;
    QTest::newRow("large") << "=10^20"
                           << "=10^20"
                           << "1E+20" << true;
    QTest::newRow("1 character") << "=1+&"
                                 << "=1+&"
                                 << "Err文字" << false;
    QTest::newRow("2 parenthesis") << "=(1+2"
                                   << "=(1+2"
                                   << "Errカッコ" << false;
    QTest::newRow("3 too long") << "=" + QString(256, QLatin1Char('1'))
                                << "=" + QString(256, QLatin1Char('1')) << "ErrOVER" << false;
    QTest::newRow("4 division") << "=1/0"
                                << "=1/0"
                                << "Err0割り" << false;
    QTest::newRow("5 function") << "=SQRT(-4)"
                                << "=SQRT(-4)"
                                << "Err関数" << false;
    QTest::newRow("6 circular") << "=SUM(B1:B3)"
                                << "=SUM(B1:B3)"
                                << "Err循環" << false;
    QTest::newRow("7 empty cell") << "=C9+1"
                                  << "=C9+1"
                                  << "Errセル" << false;
}

void TestCellEntry::enterShowsResultOrMarker()
{
    QFETCH(QString, typed);
    QFETCH(QString, stored);
    QFETCH(QString, shown);
    QFETCH(bool, isNumber);

    enter(1, 1, QStringLiteral("4"));
    enter(2, 2, typed);
    QCOMPARE(grid().Row(), 2);
    QCOMPARE(grid().Col(), 2);
    QCOMPARE(sheet->Ex(2, 2), stored);
    QCOMPARE(grid().textAt(2, 2), shown);
    const CellValue& value = sheet->ExVal(2, 2);
    QCOMPARE(value.isNumber(), isNumber);
    if (isNumber) {
        QCOMPARE(gridNumberText(value.number()), shown);
    } else if (!typed.startsWith(QLatin1Char('='))) {
        QCOMPARE(value.text(), typed);
    } else {
        QVERIFY(value.isEmpty()); // a marker never reaches the store
    }
}

void TestCellEntry::failedFormulaKeepsValue()
{
    enter(1, 1, QStringLiteral("=2*3"));
    enter(1, 1, QStringLiteral("=1/0"));
    QCOMPARE(grid().textAt(1, 1), QStringLiteral("Err0割り"));
    QCOMPARE(sheet->ExVal(1, 1).number(), 6.0);
    // A formula reading the failed cell gets the value it kept.
    enter(1, 2, QStringLiteral("=A1+1"));
    QCOMPARE(grid().textAt(1, 2), QStringLiteral("7"));
}

void TestCellEntry::editLineEntersLikeTheEditor()
{
    sheet->txtEdit->setText(QStringLiteral("ignored"));
    grid().setCurrent(3, 3);
    sheet->EnterEditLine(QStringLiteral("=sqrt(16)"));
    QCOMPARE(sheet->Ex(3, 3), QStringLiteral("=SQRT(16)"));
    QCOMPARE(grid().textAt(3, 3), QStringLiteral("4"));
    sheet->EnterEditLine(QStringLiteral("text"));
    QCOMPARE(sheet->ExVal(3, 3).text(), QStringLiteral("text"));
}

void TestCellEntry::recalculateIsOneSweep()
{
    enter(1, 3, QStringLiteral("1"));
    enter(1, 2, QStringLiteral("=C1+1"));
    enter(1, 1, QStringLiteral("=B1+1"));
    QCOMPARE(grid().textAt(1, 1), QStringLiteral("3"));
    enter(1, 3, QStringLiteral("5"));
    QVERIFY(sheet->Recalculate());
    // A1 read B1 before B1 was entered again.
    QCOMPARE(grid().textAt(1, 2), QStringLiteral("6"));
    QCOMPARE(grid().textAt(1, 1), QStringLiteral("3"));
    QVERIFY(sheet->Recalculate());
    QCOMPARE(grid().textAt(1, 1), QStringLiteral("7"));
}

void TestCellEntry::recalculateCoversUsedExtent_data()
{
    QTest::addColumn<bool>("filled");
    QTest::newRow("Z1 and A500") << true;
    QTest::newRow("empty sheet") << false;
}

void TestCellEntry::recalculateCoversUsedExtent()
{
    QFETCH(bool, filled);
    if (filled) {
        sheet->setEx(1, 26, QStringLiteral("=1+1"));
        sheet->setEx(500, 1, QStringLiteral("x"));
    }
    // Shown texts that only a new entry of the cell replaces.
    grid().setTextAt(250, 13, QStringLiteral("stale"));
    grid().setTextAt(500, 26, QStringLiteral("stale"));
    sheet->model().clearChanged();
    QVERIFY(sheet->Recalculate());
    const QString expected = filled ? QString() : QStringLiteral("stale");
    QCOMPARE(grid().textAt(250, 13), expected);
    QCOMPARE(grid().textAt(500, 26), expected);
    QCOMPARE(grid().textAt(1, 26), filled ? QStringLiteral("2") : QString());
    QCOMPARE(sheet->IsChanged(), filled);
}

void TestCellEntry::recalculateRestoresSheet()
{
    enter(2, 2, QStringLiteral("=1"));
    grid().setCurrent(7, 5);
    sheet->model().startPointing(3, 3);
    sheet->txtEdit->setText(QStringLiteral("=A"));
    QVERIFY(sheet->Recalculate());
    QCOMPARE(grid().Row(), 7);
    QCOMPARE(grid().Col(), 5);
    QCOMPARE(grid().HighLight(), 1);
    QVERIFY(grid().Redraw());
    QCOMPARE(sheet->ActiveR(), 0);
    QCOMPARE(sheet->ActiveC(), 0);
    QVERIFY(sheet->txtEdit->text().isEmpty());
    QVERIFY(!QGuiApplication::overrideCursor());
}

void TestCellEntry::recalculateRefusedWhileEditing()
{
    enter(1, 1, QStringLiteral("=2"));
    sheet->setEx(1, 1, QStringLiteral("=3"));
    grid().setCurrent(4, 4);
    sheet->GridEdit(int('9'));
    QVERIFY(!sheet->Recalculate());
    QCOMPARE(host->said.criticals, QStringList{QStringLiteral("セル編集中は再計算できません！")});
    QCOMPARE(grid().textAt(1, 1), QStringLiteral("2"));
    QCOMPARE(sheet->txtEdit->text(), QStringLiteral("9"));
    QCOMPARE(grid().Row(), 4);
}

QTEST_MAIN(TestCellEntry)
#include "tst_cellentry.moc"
