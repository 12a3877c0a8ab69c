#include "celleditor.h"
#include "testwindow.h"
#include "frmzel.h"
#include "gridpainter.h"
#include "sheetgrid.h"

#include <QClipboard>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QtTest>

// The Edit menu's block commands offscreen: what each does to expressions, values, shown
// texts, colours, the flags and the change mark, across one and two sheets; and the clipboard
// commands through the application's clipboard.
class TestEditCommands : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void copyPasteKeepsFormulaText();
    void upwardSelectionCopiesSameBlock();
    void pasteCutOffAtSheetEdge();
    void pasteOnlyOnce();
    void cutUndoPaste();
    void copyEndsUndo();
    void deleteUndo();
    void deleteKeepsCopyBuffer();
    void whiteningWithOneOrTwoSheets();
    void pasteIntoOtherSheet();
    void undoAfterItsSheetClosed();
    void copyShownTextsToClipboard();
    void pasteFromClipboard_data();
    void pasteFromClipboard();
    void copyTablePicture();

private:
    frmZelChild* sheet() const { return window->activeSheet(); }
    GridState& grid() const { return sheet()->grdZel->state(); }
    void enter(int row, int col, const QString& text);
    void select(int row, int col, int rowSel, int colSel);
    quint32 colour(int row, int col) const { return grid().cellBackColor(row, col); }

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

void TestEditCommands::copyPasteKeepsFormulaText()
{
    enter(1, 1, QStringLiteral("2"));
    enter(1, 2, QStringLiteral("3"));
    enter(1, 3, QStringLiteral("=a1+b1"));
    sheet()->IsChanged = false;
    select(1, 3, 1, 3);
    window->mnuEditCopy_Click();
    QVERIFY(window->SelOK);
    QVERIFY(!window->DelOK);
    QVERIFY(!sheet()->IsChanged);
    QCOMPARE(colour(1, 3), cellcolour::Marked);
    QCOMPARE(grid().Row(), 1);
    grid().setCurrent(5, 3);
    window->mnuEditPaste_Click();
    QCOMPARE(sheet()->Ex(5, 3), QStringLiteral("=A1+B1"));
    QCOMPARE(grid().text(5, 3), QStringLiteral("5"));
    QCOMPARE(sheet()->ExVal(5, 3).number(), 5.0);
    QCOMPARE(colour(1, 3), cellcolour::White);
    QVERIFY(sheet()->IsChanged);
    QVERIFY(sheet()->txtEdit->text().isEmpty());
}

void TestEditCommands::upwardSelectionCopiesSameBlock()
{
    for (int r = 1; r <= 3; ++r) {
        for (int c = 1; c <= 2; ++c) {
            enter(r, c, QString::number(r * 10 + c));
        }
    }
    select(3, 2, 1, 1); // dragged from bottom-right to top-left
    window->mnuEditCopy_Click();
    QCOMPARE(grid().Row(), 3); // the copy ends on the block's bottom-right cell
    QCOMPARE(grid().Col(), 2);
    grid().setCurrent(10, 5);
    window->mnuEditPaste_Click();
    QCOMPARE(grid().text(10, 5), QStringLiteral("11"));
    QCOMPARE(grid().text(12, 6), QStringLiteral("32"));
    QCOMPARE(grid().Row(), 10);
    QCOMPARE(grid().Col(), 5);
}

void TestEditCommands::pasteCutOffAtSheetEdge()
{
    for (int r = 1; r <= 3; ++r) {
        for (int c = 1; c <= 3; ++c) {
            enter(r, c, QStringLiteral("x%1%2").arg(r).arg(c));
        }
    }
    select(1, 1, 3, 3);
    window->mnuEditCopy_Click();
    grid().setCurrent(499, 25);
    window->mnuEditPaste_Click();
    QCOMPARE(grid().text(499, 25), QStringLiteral("x11"));
    QCOMPARE(grid().text(500, 26), QStringLiteral("x22"));
    QCOMPARE(grid().Row(), 499);
    QCOMPARE(grid().Col(), 25);
}

void TestEditCommands::pasteOnlyOnce()
{
    enter(1, 1, QStringLiteral("a"));
    select(1, 1, 1, 1);
    window->mnuEditCopy_Click();
    grid().setCurrent(2, 2);
    window->mnuEditPaste_Click();
    QVERIFY(!window->SelOK);
    grid().setCurrent(3, 3);
    window->mnuEditPaste_Click();
    window->tbrMenu_ButtonClick(QStringLiteral("btnEditPaste"));
    QVERIFY(sheet()->Ex(3, 3).isEmpty());
    Q_EMIT window->menu(QStringLiteral("mnuEdit"))->aboutToShow();
    QVERIFY(!window->action(QStringLiteral("mnuEditPaste"))->isEnabled());
}

void TestEditCommands::cutUndoPaste()
{
    enter(2, 2, QStringLiteral("4"));
    enter(3, 3, QStringLiteral("=b2*2"));
    enter(5, 5, QStringLiteral("=B2+1"));
    sheet()->IsChanged = false;
    select(2, 2, 3, 3);
    window->mnuEditCut_Click();
    for (int r = 2; r <= 3; ++r) {
        for (int c = 2; c <= 3; ++c) {
            QVERIFY(grid().text(r, c).isEmpty());
            QVERIFY(sheet()->model().expression(r, c).isEmpty());
            QCOMPARE(colour(r, c), cellcolour::Marked);
        }
    }
    QVERIFY(window->SelOK && window->DelOK && sheet()->IsChanged);
    // The emptied cell keeps its value: a formula reading it still sees 4.
    QCOMPARE(sheet()->ExVal(2, 2).text(), QStringLiteral("4"));
    QCOMPARE(grid().text(5, 5), QStringLiteral("5"));
    grid().setCurrent(5, 5);
    sheet()->EnterCell();
    QCOMPARE(grid().text(5, 5), QStringLiteral("5"));

    window->mnuEditBack_Click();
    QCOMPARE(sheet()->model().expression(3, 3), QStringLiteral("=B2*2"));
    QCOMPARE(grid().text(3, 3), QStringLiteral("8"));
    QCOMPARE(colour(2, 2), cellcolour::White);
    QVERIFY(!window->DelOK);
    QVERIFY(window->SelOK); // the cut block can still be pasted
    grid().setCurrent(10, 1);
    window->mnuEditPaste_Click();
    QCOMPARE(grid().text(10, 1), QStringLiteral("4"));
    QCOMPARE(grid().text(11, 2), QStringLiteral("8"));
}

void TestEditCommands::copyEndsUndo()
{
    enter(1, 1, QStringLiteral("7"));
    select(1, 1, 1, 1);
    window->mnuEditDelete_Click();
    enter(2, 2, QStringLiteral("8"));
    select(2, 2, 2, 2);
    window->mnuEditCopy_Click();
    window->mnuEditBack_Click();
    QVERIFY(sheet()->model().expression(1, 1).isEmpty());
    QVERIFY(grid().text(1, 1).isEmpty());
}

void TestEditCommands::deleteUndo()
{
    enter(1, 1, QStringLiteral("=2*3"));
    grid().setCellBackColorAt(1, 1, cellcolour::Marked);
    sheet()->IsChanged = false;
    select(1, 1, 2, 2);
    window->mnuEditDelete_Click();
    QVERIFY(grid().text(1, 1).isEmpty());
    QCOMPARE(colour(1, 1), cellcolour::Marked); // Delete leaves colours as they were
    QVERIFY(sheet()->IsChanged && window->DelOK && !window->SelOK);
    sheet()->IsChanged = false;
    window->mnuEditBack_Click();
    QCOMPARE(grid().text(1, 1), QStringLiteral("6"));
    QCOMPARE(colour(1, 1), cellcolour::White);
    QVERIFY(sheet()->IsChanged); // the restored text passed through the editor
}

void TestEditCommands::deleteKeepsCopyBuffer()
{
    enter(1, 1, QStringLiteral("kept"));
    select(1, 1, 1, 1);
    window->mnuEditCopy_Click();
    select(1, 1, 1, 1);
    QTest::keyClick(sheet()->grdZel, Qt::Key_Delete); // the Delete key runs Edit > Delete
    QVERIFY(grid().text(1, 1).isEmpty());
    grid().setCurrent(4, 4);
    window->mnuEditPaste_Click();
    QCOMPARE(grid().text(4, 4), QStringLiteral("kept"));
}

void TestEditCommands::whiteningWithOneOrTwoSheets()
{
    enter(1, 1, QStringLiteral("a"));
    enter(1, 2, QStringLiteral("b"));
    select(1, 1, 1, 1);
    window->mnuEditCopy_Click();
    select(1, 2, 1, 2);
    window->mnuEditCopy_Click();
    QCOMPARE(colour(1, 1), cellcolour::Marked); // one sheet: earlier marks stay
    QCOMPARE(colour(1, 2), cellcolour::Marked);

    frmZelChild* first = sheet();
    window->mnuFileNew_Click();
    window->mdiArea->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(first->parentWidget()));
    QCOMPARE(sheet(), first);
    select(1, 1, 1, 1);
    window->mnuEditCopy_Click();
    QCOMPARE(colour(1, 1), cellcolour::Marked);
    QCOMPARE(colour(1, 2), cellcolour::White); // two sheets: the sheet is whitened first
}

void TestEditCommands::pasteIntoOtherSheet()
{
    enter(2, 2, QStringLiteral("=1+1"));
    frmZelChild* source = sheet();
    select(2, 2, 2, 2);
    window->mnuEditCopy_Click();
    window->mnuFileNew_Click();
    frmZelChild* target = sheet();
    QVERIFY(target != source);
    target->grdZel->state().setCellBackColorAt(2, 2, cellcolour::Marked);
    grid().setCurrent(7, 7);
    window->mnuEditPaste_Click();
    QCOMPARE(target->grdZel->state().text(7, 7), QStringLiteral("2"));
    QCOMPARE(target->grdZel->state().cellBackColor(2, 2), cellcolour::White);
    QCOMPARE(source->grdZel->state().cellBackColor(2, 2), cellcolour::Marked);
}

void TestEditCommands::undoAfterItsSheetClosed()
{
    enter(1, 1, QStringLiteral("gone"));
    frmZelChild* cutFrom = sheet();
    select(1, 1, 1, 1);
    window->mnuEditCut_Click();
    window->mnuFileNew_Click();
    frmZelChild* other = sheet();
    cutFrom->setCloseAgreed(true);
    cutFrom->parentWidget()->close();
    QTRY_COMPARE(window->sheets().size(), 1);
    window->mnuEditBack_Click();
    QVERIFY(!window->DelOK);
    QVERIFY(other->model().expression(1, 1).isEmpty());
    QVERIFY(other->grdZel->state().text(1, 1).isEmpty());
}

void TestEditCommands::copyShownTextsToClipboard()
{
    enter(1, 1, QStringLiteral("1"));
    enter(2, 1, QStringLiteral("2"));
    enter(1, 2, QStringLiteral("=A1+A2"));
    enter(2, 2, QStringLiteral("=1/0"));
    sheet()->IsChanged = false;
    select(2, 2, 1, 1);
    window->mnuEditCopyClip_Click();
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("1\t3\n2\tErr0割り"));
    QVERIFY(!sheet()->IsChanged);
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
    QTest::newRow("CR rows") << "1\t2\t=B2+C2\rx\ty\t=a1*2" << QPoint(2, 2) << QPoint(4, 3) << sixShown;
    // Three rows selected: the final LF must not empty the third.
    QTest::newRow("LF rows and a final LF") << "1\t2\t=B2+C2\nx\ty\t=a1*2\n" << QPoint(2, 2) << QPoint(4, 4)
                                            << sixShown;
    QTest::newRow("CR LF rows, selected upward")
        << "1\t2\t=B2+C2\r\nx\ty\t=a1*2\r\n" << QPoint(4, 3) << QPoint(2, 2) << sixShown;
    QTest::newRow("one cell selected") << "9\t8\n7" << QPoint(2, 2) << QPoint(2, 2)
                                       << QStringList{"9", "", "", "", "", ""};
}

void TestEditCommands::pasteFromClipboard()
{
    QFETCH(QString, text);
    QFETCH(QPoint, from);
    QFETCH(QPoint, to);
    QFETCH(QStringList, expected);
    enter(1, 1, QStringLiteral("5"));
    enter(4, 2, QStringLiteral("below"));
    sheet()->IsChanged = false;
    QGuiApplication::clipboard()->setText(text);
    select(from.y(), from.x(), to.y(), to.x());
    window->mnuEditPasteClip_Click();
    for (int i = 0; i < 6; ++i) {
        QCOMPARE(grid().text(2 + i / 3, 2 + i % 3), expected[i]);
    }
    if (expected[5] == QLatin1String("10")) {
        QCOMPARE(sheet()->Ex(3, 4), QStringLiteral("=A1*2"));
    }
    QCOMPARE(grid().text(4, 2), QStringLiteral("below")); // a trailing row end adds no row
    QVERIFY(sheet()->IsChanged);
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
