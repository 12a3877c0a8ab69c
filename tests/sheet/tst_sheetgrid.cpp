#include "model/gridstate.h"
#include "sheet/sheetgrid.h"

#include <QApplication>
#include <QtTest>

// The grid control on its own: a drag selects in each direction, the user's moves raise
// leave-cell and moves in code do not, and a heading border resizes its column.
class TestSheetGrid : public QObject
{
    Q_OBJECT

private slots:
    void dragSelects_data();
    void dragSelects();
    void userMoveRaisesLeaveCellCodeMoveDoesNot();
    void columnResizeByHeadingBorder();
};

namespace {

// A grid over its own state, shown at the given size.
struct ShownGrid
{
    explicit ShownGrid(QSize size)
    {
        grid.resize(size);
        grid.show();
    }
    GridState state;
    SheetGrid grid{state};
};

// A left-button drag over the grid's viewport, moved once from press to release.
void drag(SheetGrid& grid, QPoint from, QPoint to)
{
    QTest::mousePress(grid.viewport(), Qt::LeftButton, {}, from);
    QMouseEvent move(QEvent::MouseMove, to, grid.viewport()->mapToGlobal(to), Qt::NoButton,
                     Qt::LeftButton, {});
    QApplication::sendEvent(grid.viewport(), &move);
    QTest::mouseRelease(grid.viewport(), Qt::LeftButton, {}, to);
}

} // namespace

void TestSheetGrid::dragSelects_data()
{
    QTest::addColumn<QPoint>("from");
    QTest::addColumn<QPoint>("to");
    QTest::newRow("down right") << QPoint(2, 2) << QPoint(4, 3);
    QTest::newRow("up left") << QPoint(4, 3) << QPoint(2, 2);
    QTest::newRow("up right") << QPoint(4, 1) << QPoint(2, 3);
}

// Points are (row, column). The drag leaves Row/Col where it started, RowSel/ColSel where it ended.
void TestSheetGrid::dragSelects()
{
    QFETCH(QPoint, from);
    QFETCH(QPoint, to);
    ShownGrid shown(QSize(800, 600));
    SheetGrid& grid = shown.grid;
    QVERIFY(QTest::qWaitForWindowExposed(&grid));
    int clicks = 0;
    connect(&grid, &SheetGrid::clicked, this, [&] { ++clicks; });
    const QPoint a = grid.cellRect(from.x(), from.y()).center();
    const QPoint b = grid.cellRect(to.x(), to.y()).center();
    drag(grid, a, b);
    QCOMPARE(grid.state().Row(), from.x());
    QCOMPARE(grid.state().Col(), from.y());
    QCOMPARE(grid.state().RowSel(), to.x());
    QCOMPARE(grid.state().ColSel(), to.y());
    QCOMPARE(clicks, 1);
}

void TestSheetGrid::userMoveRaisesLeaveCellCodeMoveDoesNot()
{
    ShownGrid shown(QSize(600, 400));
    SheetGrid& grid = shown.grid;
    QVERIFY(QTest::qWaitForWindowExposed(&grid));
    int leaves = 0;
    connect(&grid, &SheetGrid::leaveCell, this, [&] {
        ++leaves;
        QCOMPARE(grid.state().Row(), 1); // raised before the move
    });
    grid.state().setCurrent(1, 1);
    grid.setFocus();
    QTest::keyClick(&grid, Qt::Key_Down);
    QCOMPARE(leaves, 1);
    QCOMPARE(grid.state().Row(), 2);
    grid.state().setCurrent(7, 7);
    QCOMPARE(leaves, 1);
    // Clicking a heading makes nothing current.
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, grid.cellRect(0, 3).center());
    QCOMPARE(grid.state().Row(), 7);
}

void TestSheetGrid::columnResizeByHeadingBorder()
{
    ShownGrid shown(QSize(800, 400));
    SheetGrid& grid = shown.grid;
    QVERIFY(QTest::qWaitForWindowExposed(&grid));
    const QRect head = grid.cellRect(0, 2);
    const QPoint border(head.right() + 1, head.center().y());
    drag(grid, border, border + QPoint(grid.toPixels(600), 0));
    QVERIFY(std::abs(grid.state().ColWidth(2) - 1800) <= 20);
    QCOMPARE(grid.state().Row(), 1); // the resize selected nothing
}

QTEST_MAIN(TestSheetGrid)
#include "tst_sheetgrid.moc"
