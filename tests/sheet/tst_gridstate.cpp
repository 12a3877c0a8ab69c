#include "gridpainter.h"
#include "gridstate.h"
#include "sheetgrid.h"

#include <QtTest>

// The grid's state and its view: current cell and selection, block text, geometry in twips,
// the drawing of a block, and the user's drag in each direction.
class TestGridState : public QObject
{
    Q_OBJECT

private slots:
    void codeMovesCollapseSelectionAndNotifyOnce();
    void clipReadAndWrite_data();
    void clipReadAndWrite();
    void geometryInTwips();
    void pictureSizeFollowsTwips_data();
    void pictureSizeFollowsTwips();
    void dragSelects_data();
    void dragSelects();
    void userMoveRaisesLeaveCellCodeMoveDoesNot();
    void columnResizeByHeadingBorder();
    void outOfRangeThrows();
    void wideNumberShowsFirstDigits();
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
    QCOMPARE(g.text(4, 2), QString());
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

void TestGridState::pictureSizeFollowsTwips_data()
{
    QTest::addColumn<double>("dpi");
    QTest::newRow("96 dpi") << 96.0;
    QTest::newRow("120 dpi") << 120.0;
    QTest::newRow("600 dpi printer") << 600.0;
}

void TestGridState::pictureSizeFollowsTwips()
{
    QFETCH(double, dpi);
    GridState g(6, 4); // 5 data rows, 3 data columns
    g.setColWidth(0, 25);
    g.setRowHeight(0, 23);
    g.setColWidth(2, 0); // hidden column takes no space
    g.setColWidth(3, 999);
    g.setTextAt(1, 1, QStringLiteral("12.5"));
    const int twipsWide = 25 + 1200 + 999;
    const int twipsHigh = 23 + 5 * 360;
    const QImage image = GridPainter(g, dpi).picture(false);
    QCOMPARE(image.width(), qRound(twipsWide * dpi / 1440.0));
    QCOMPARE(image.height(), qRound(twipsHigh * dpi / 1440.0));
    QVERIFY(GridPainter(g, dpi).picture(true).format() == QImage::Format_Mono);
    // A heading is light blue, a data cell white.
    QCOMPARE(image.pixelColor(GridPainter(g, dpi).cellRect(0, 1).center()), QColor(192, 192, 255));
    const QRect cell = GridPainter(g, dpi).cellRect(5, 1);
    QCOMPARE(image.pixelColor(cell.center()), QColor(Qt::white));
}

void TestGridState::dragSelects_data()
{
    QTest::addColumn<QPoint>("from");
    QTest::addColumn<QPoint>("to");
    QTest::newRow("down right") << QPoint(2, 2) << QPoint(4, 3);
    QTest::newRow("up left") << QPoint(4, 3) << QPoint(2, 2);
    QTest::newRow("up right") << QPoint(4, 1) << QPoint(2, 3);
}

// Points are (row, column). The drag leaves Row/Col where it started, RowSel/ColSel where it ended.
void TestGridState::dragSelects()
{
    QFETCH(QPoint, from);
    QFETCH(QPoint, to);
    GridState state;
    SheetGrid grid(state);
    grid.resize(800, 600);
    grid.show();
    QVERIFY(QTest::qWaitForWindowExposed(&grid));
    int clicks = 0;
    connect(&grid, &SheetGrid::clicked, this, [&] { ++clicks; });
    const QPoint a = grid.cellRect(from.x(), from.y()).center();
    const QPoint b = grid.cellRect(to.x(), to.y()).center();
    QTest::mousePress(grid.viewport(), Qt::LeftButton, {}, a);
    QMouseEvent move(QEvent::MouseMove, b, grid.viewport()->mapToGlobal(b), Qt::NoButton,
                     Qt::LeftButton, {});
    QApplication::sendEvent(grid.viewport(), &move);
    QTest::mouseRelease(grid.viewport(), Qt::LeftButton, {}, b);
    QCOMPARE(grid.state().Row(), from.x());
    QCOMPARE(grid.state().Col(), from.y());
    QCOMPARE(grid.state().RowSel(), to.x());
    QCOMPARE(grid.state().ColSel(), to.y());
    QCOMPARE(clicks, 1);
}

void TestGridState::userMoveRaisesLeaveCellCodeMoveDoesNot()
{
    GridState state;
    SheetGrid grid(state);
    grid.resize(600, 400);
    grid.show();
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

void TestGridState::columnResizeByHeadingBorder()
{
    GridState state;
    SheetGrid grid(state);
    grid.resize(800, 400);
    grid.show();
    QVERIFY(QTest::qWaitForWindowExposed(&grid));
    const QRect head = grid.cellRect(0, 2);
    const QPoint border(head.right() + 1, head.center().y());
    QTest::mousePress(grid.viewport(), Qt::LeftButton, {}, border);
    const QPoint to = border + QPoint(grid.toPixels(600), 0);
    QMouseEvent move(QEvent::MouseMove, to, grid.viewport()->mapToGlobal(to), Qt::NoButton,
                     Qt::LeftButton, {});
    QApplication::sendEvent(grid.viewport(), &move);
    QTest::mouseRelease(grid.viewport(), Qt::LeftButton, {}, to);
    QVERIFY(std::abs(grid.state().ColWidth(2) - 1800) <= 20);
    QCOMPARE(grid.state().Row(), 1); // the resize selected nothing
}

void TestGridState::outOfRangeThrows()
{
    GridState g;
    QVERIFY_THROWS_EXCEPTION(std::out_of_range, g.setCurrent(501, 1));
    QVERIFY_THROWS_EXCEPTION(std::out_of_range, g.text(0, 27));
}

// A number fits right-aligned; one too wide for its cell is shown from its first digit, so the
// part cut off is at the end (183.33333 must not read as 83.33333): two wide numbers that
// differ only in their first digit look different.
void TestGridState::wideNumberShowsFirstDigits()
{
    GridState g;
    g.setColWidth(1, 900);
    g.setTextAt(1, 1, QStringLiteral("12"));
    g.setTextAt(2, 1, QStringLiteral("183.333333333333"));
    g.setTextAt(3, 1, QStringLiteral("983.333333333333"));
    g.setHighLight(0);
    const double dpi = 96;
    const GridPainter gp(g, dpi);
    const QImage image = GridPainter(g, dpi).picture(false);
    const QRect fit = gp.cellRect(1, 1);
    int firstInk = -1;
    for (int x = fit.left() + 1; x < fit.right() - 1 && firstInk < 0; ++x) {
        for (int y = fit.top() + 2; y < fit.bottom() - 2; ++y) {
            if (qGray(image.pixel(x, y)) < 128) {
                firstInk = x - fit.left();
                break;
            }
        }
    }
    QVERIFY(firstInk > fit.width() / 2); // right-aligned
    const QImage a = image.copy(gp.cellRect(2, 1).adjusted(1, 1, -1, -1));
    const QImage b = image.copy(gp.cellRect(3, 1).adjusted(1, 1, -1, -1));
    QVERIFY(a != b);
}

QTEST_MAIN(TestGridState)
#include "tst_gridstate.moc"
