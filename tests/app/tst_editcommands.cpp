#include "app/frmzel.h"
#include "sheet/celleditor.h"
#include "sheet/sheetgrid.h"
#include "testwindow.h"
#include "ui/gridpainter.h"

#include <QClipboard>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QtTest>

// The Edit menu's commands as the main window runs them, offscreen: the Delete key, the undo
// going to its own sheet's window, a command writing the cell being edited, and the clipboard
// commands through the application's clipboard. What the block commands do to the cells is
// tested on sheets without windows (tst_editbuffers).
class TestEditCommands : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void deleteKeyKeepsCopyBuffer();
    void undoGoesToItsSheet();
    void commandWritesEditedCell_data();
    void commandWritesEditedCell();
    void copyShownTextsToClipboard();
    void pasteFromClipboard_data();
    void pasteFromClipboard();
    void copyTablePicture();

private:
    frmZelChild* sheet() const { return window->activeSheet(); }
    GridState& grid() const { return sheet()->grdZel->state(); }
    void enter(int row, int col, const QString& text);
    void select(int row, int col, int rowSel, int colSel);
    quint32 colour(int row, int col) const { return grid().cellBackColorAt(row, col); }

    std::unique_ptr<TestWindow> fixture;
    frmZel* window = nullptr;
};

void TestEditCommands::init()
{
    fixture = std::make_unique<TestWindow>();
    window = fixture->window;
    window->mnuFileNew_Click();
}

void TestEditCommands::cleanup()
{
    fixture.reset();
}

void TestEditCommands::enter(int row, int col, const QString& text)
{
    enterCell(*sheet(), row, col, text);
}

void TestEditCommands::select(int row, int col, int rowSel, int colSel)
{
    grid().setCurrent(row, col);
    grid().setRowSel(rowSel);
    grid().setColSel(colSel);
}

void TestEditCommands::deleteKeyKeepsCopyBuffer()
{
    enter(1, 1, QStringLiteral("kept"));
    select(1, 1, 1, 1);
    window->mnuEditCopy_Click();
    select(1, 1, 1, 1);
    // The Delete key on the grid runs Edit > Delete, even while the menu entry is greyed.
    Q_EMIT window->mnuEdit->aboutToShow();
    window->mnuEditDelete->setEnabled(false);
    QTest::keyClick(sheet()->grdZel, Qt::Key_Delete);
    QVERIFY(grid().textAt(1, 1).isEmpty());
    QVERIFY(window->editing().buffers().canUndo());
    grid().setCurrent(4, 4);
    window->mnuEditPaste_Click();
    QCOMPARE(grid().textAt(4, 4), QStringLiteral("kept"));
}

void TestEditCommands::undoGoesToItsSheet()
{
    enter(2, 2, QStringLiteral("4"));
    frmZelChild* cutFrom = sheet();
    select(2, 2, 2, 2);
    window->mnuEditCut_Click();
    window->mnuFileNew_Click();
    QVERIFY(sheet() != cutFrom);
    sheet()->setEditorText(QStringLiteral("x"));
    window->mnuEditBack_Click();
    QCOMPARE(sheet(), cutFrom);
    QCOMPARE(grid().textAt(2, 2), QStringLiteral("4"));
    QVERIFY(sheet()->txtEdit->text().isEmpty());
}

// The cell under the open editor is written by a command; Escape then shows what the command
// wrote, not what the cell showed before the edit.
void TestEditCommands::commandWritesEditedCell_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("shown"); // A1 after Escape
    QTest::newRow("削除") << "mnuEditDelete"
                          << "";
    QTest::newRow("切り取り") << "mnuEditCut"
                              << "";
    QTest::newRow("貼り付け") << "mnuEditPaste"
                              << "7";
    QTest::newRow("セルを元に戻す") << "mnuEditBack"
                                    << "5";
    QTest::newRow("クリップボードから貼り付け") << "mnuEditPasteClip"
                                                << "9";
}

void TestEditCommands::commandWritesEditedCell()
{
    QFETCH(QString, command);
    QFETCH(QString, shown);
    SheetGrid* view = sheet()->grdZel;
    view->setFocus();
    enter(2, 2, QStringLiteral("7"));
    select(2, 2, 2, 2);
    window->mnuEditCopy_Click();
    QGuiApplication::clipboard()->setText(QStringLiteral("9"));
    grid().setCurrent(1, 1);
    QTest::keyClicks(view, QStringLiteral("5"));
    QTest::keyClick(sheet()->txtEdit, Qt::Key_Return);
    QTest::keyClick(sheet()->txtEdit, Qt::Key_Escape);
    if (command == QLatin1String("mnuEditBack")) {
        QTest::keyClick(view, Qt::Key_Up);
        window->mnuEditDelete_Click(); // A1 emptied, to be put back while it is edited
    }
    grid().setCurrent(1, 1);
    QTest::keyClick(view, Qt::Key_Return); // the editor opens on A1's expression
    QVERIFY(sheet()->isEditing());
    QCOMPARE(grid().textAt(1, 1), sheet()->model().exWithoutMoving(1, 1));
    Q_EMIT window->mnuEdit->aboutToShow();
    window->findChild<QAction*>(command)->trigger();
    QTest::keyClick(sheet()->txtEdit, Qt::Key_Escape);
    QVERIFY(!sheet()->isEditing());
    QCOMPARE(grid().textAt(1, 1), shown);
    QCOMPARE(sheet()->model().exWithoutMoving(1, 1), shown);
}

void TestEditCommands::copyShownTextsToClipboard()
{
    enter(1, 1, QStringLiteral("1"));
    enter(2, 1, QStringLiteral("2"));
    enter(1, 2, QStringLiteral("=A1+A2"));
    enter(2, 2, QStringLiteral("=1/0"));
    sheet()->model().clearChanged();
    select(2, 2, 1, 1);
    window->mnuEditCopyClip_Click();
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("1\t3\n2\tErr0割り"));
    QVERIFY(!sheet()->IsChanged());
    QCOMPARE(grid().Row(), 2);
    QCOMPARE(grid().RowSel(), 1);
}

void TestEditCommands::pasteFromClipboard_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QPoint>("from"); // (column, row) where the selection started
    QTest::addColumn<QPoint>("to");
    QTest::addColumn<QStringList>("expected"); // B2 C2 D2 / B3 C3 D3, what the cells show
    const QStringList sixShown{"1", "2", "3", "x", "y", "10"};
    QTest::newRow("CR rows") << "1\t2\t=B2+C2\rx\ty\t=a1*2" << QPoint(2, 2) << QPoint(4, 3)
                             << sixShown;
    // Three rows selected: the final LF must not empty the third.
    QTest::newRow("LF rows and a final LF") << "1\t2\t=B2+C2\nx\ty\t=a1*2\n"
                                            << QPoint(2, 2) << QPoint(4, 4) << sixShown;
    QTest::newRow("CR LF rows, selected upward") << "1\t2\t=B2+C2\r\nx\ty\t=a1*2\r\n"
                                                 << QPoint(4, 3) << QPoint(2, 2) << sixShown;
    QTest::newRow("one cell selected")
        << "9\t8\n7" << QPoint(2, 2) << QPoint(2, 2) << QStringList{"9", "", "", "", "", ""};
}

void TestEditCommands::pasteFromClipboard()
{
    QFETCH(QString, text);
    QFETCH(QPoint, from);
    QFETCH(QPoint, to);
    QFETCH(QStringList, expected);
    enter(1, 1, QStringLiteral("5"));
    enter(4, 2, QStringLiteral("below"));
    sheet()->model().clearChanged();
    QGuiApplication::clipboard()->setText(text);
    select(from.y(), from.x(), to.y(), to.x());
    window->mnuEditPasteClip_Click();
    for (int i = 0; i < 6; ++i) {
        QCOMPARE(grid().textAt(2 + i / 3, 2 + i % 3), expected[i]);
    }
    if (expected[5] == QLatin1String("10")) {
        QCOMPARE(sheet()->Ex(3, 4), QStringLiteral("=A1*2"));
    }
    QCOMPARE(grid().textAt(4, 2), QStringLiteral("below")); // a trailing row end adds no row
    QVERIFY(sheet()->IsChanged());
}

void TestEditCommands::copyTablePicture()
{
    enter(2, 2, QStringLiteral("=1+1"));
    enter(3, 3, QStringLiteral("text"));
    grid().setColWidth(3, 2000);
    grid().setTopRow(40);
    select(3, 3, 2, 2); // upward: the same block B2:C3
    const GridState before = grid();
    window->mnuEditCopyTable_Click();
    const QImage image = QGuiApplication::clipboard()->image();
    const SheetGrid* view = sheet()->grdZel;
    const QSize expected(view->toPixels(25) + view->toPixels(1200) + view->toPixels(2000),
                         view->toPixels(22) + 2 * view->toPixels(360));
    QVERIFY(qAbs(image.width() - expected.width()) <= 2);
    QVERIFY(qAbs(image.height() - expected.height()) <= 2);
    // The grid is back as it was: sizes, scroll position, selection, highlight.
    for (int r = 0; r < grid().Rows(); ++r) {
        QCOMPARE(grid().RowHeight(r), before.RowHeight(r));
    }
    for (int c = 0; c < grid().Cols(); ++c) {
        QCOMPARE(grid().ColWidth(c), before.ColWidth(c));
    }
    QCOMPARE(grid().TopRow(), 40);
    QCOMPARE(grid().RowSel(), 2);
    QCOMPARE(grid().HighLight(), before.HighLight());
    QVERIFY(grid().Redraw());
}

QTEST_MAIN(TestEditCommands)
#include "tst_editcommands.moc"
