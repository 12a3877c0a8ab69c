#include "model/gridstate.h"

#include <QtTest>

// The grid's state: current cell and selection, block text, geometry in twips, the bounds.
class TestGridState : public QObject
{
    Q_OBJECT

private slots:
    void codeMovesCollapseSelectionAndNotifyOnce();
    void clipReadAndWrite_data();
    void clipReadAndWrite();
    void geometryInTwips();
    void outOfRangeThrows();
};

void TestGridState::codeMovesCollapseSelectionAndNotifyOnce()
{
    GridState g;
    int notified = 0;
    g.setChangeListener([&] { ++notified; });
    g.setCurrent(3, 4);
    g.setRowSel(1);
    g.setColSel(2);
    QCOMPARE(g.selTop(), 1);
    QCOMPARE(g.selLeft(), 2);
    QCOMPARE(g.selBottom(), 3);
    QCOMPARE(g.selRight(), 4);
    for (int i = 1; i <= 500; ++i) {
        g.setRow(i);
    }
    QCOMPARE(g.RowSel(), 500);
    QCOMPARE(g.ColSel(), 4);
    QCOMPARE(notified, 1); // told once until the view paints
    g.markPainted();
    g.setRedraw(false);
    g.setCol(5);
    QCOMPARE(notified, 1); // nothing while drawing is off
    g.setRedraw(true);
    QCOMPARE(notified, 2);
}

void TestGridState::clipReadAndWrite_data()
{
    using Rows = QList<QStringList>;
    QTest::addColumn<Rows>("written");
    QTest::addColumn<Rows>("read");
    QTest::newRow("exact block") << Rows{{"a", "b"}, {"c", "d"}} << Rows{{"a", "b"}, {"c", "d"}};
    QTest::newRow("short rows keep the rest")
        << Rows{{"x"}, {"y"}} << Rows{{"x", "b0"}, {"y", "b1"}};
    QTest::newRow("fields beyond the selection dropped")
        << Rows{{"1", "2", "3"}, {"4", "5", "6"}, {"7"}} << Rows{{"1", "2"}, {"4", "5"}};
}

void TestGridState::clipReadAndWrite()
{
    using Rows = QList<QStringList>;
    QFETCH(Rows, written);
    QFETCH(Rows, read);
    GridState g;
    g.setTextAt(2, 3, QStringLiteral("b0"));
    g.setTextAt(3, 3, QStringLiteral("b1"));
    // Selected upward and leftward: the block is the same as selected downward.
    g.setCurrent(3, 3);
    g.setRowSel(2);
    g.setColSel(2);
    g.setClip(written);
    QCOMPARE(g.Clip(), read);
    QCOMPARE(g.textAt(4, 2), QString());
}

void TestGridState::geometryInTwips()
{
    GridState g;
    g.setCurrent(3, 2);
    QCOMPARE(g.CellLeft(), 600 + 1200);
    QCOMPARE(g.CellTop(), 3 * 360);
    QCOMPARE(g.CellWidth(), 1200);
    QCOMPARE(g.CellHeight(), 360);
    g.setTopRow(3);
    g.setLeftCol(2);
    QCOMPARE(g.CellLeft(), 600);
    QCOMPARE(g.CellTop(), 360);
    g.setColWidth(2, 0);
    QCOMPARE(g.CellWidth(), 0);
}

void TestGridState::outOfRangeThrows()
{
    GridState g;
    QVERIFY_THROWS_EXCEPTION(std::out_of_range, g.setCurrent(501, 1));
    QVERIFY_THROWS_EXCEPTION(std::out_of_range, g.textAt(0, 27));
}

QTEST_GUILESS_MAIN(TestGridState)
#include "tst_gridstate.moc"
