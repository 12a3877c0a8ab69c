#include "calc/clscal.h"
#include "edit/editbuffers.h"
#include "model/sheetmodel.h"

#include <QtTest>

// The block commands on sheets without any window: what Copy, Cut, Paste, Delete and the undo
// do to expressions, values, shown texts, colours, the rights to paste and undo and the change
// mark, on one sheet and across two.
class TestEditBuffers : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void copyPasteKeepsFormulaText();
    void upwardSelectionCopiesSameBlock();
    void pasteCutOffAtSheetEdge();
    void pasteOnlyOnce();
    void cutUndoPaste();
    void copyEndsUndo();
    void deleteUndoKeepsCopyBuffer();
    void earlierMarks_data();
    void earlierMarks();
    void pasteIntoOtherSheet();
    void undoAfterItsSheetClosed();

private:
    std::shared_ptr<SheetModel> newSheet()
    {
        return std::make_shared<SheetModel>([this]() -> clsCal& { return engine; });
    }
    static void enter(SheetModel& sheet, int row, int col, const QString& text)
    {
        sheet.enterAt(row, col, text);
    }
    static void select(SheetModel& sheet, int row, int col, int rowSel, int colSel)
    {
        sheet.grid().setCurrent(row, col);
        sheet.grid().setRowSel(rowSel);
        sheet.grid().setColSel(colSel);
    }
    static quint32 colour(const SheetModel& sheet, int row, int col)
    {
        return sheet.grid().cellBackColorAt(row, col);
    }
    static const QString& shown(const SheetModel& sheet, int row, int col)
    {
        return sheet.grid().textAt(row, col);
    }

    clsCal engine;
    EditBuffers buffers;
    std::shared_ptr<SheetModel> sheet;
};

void TestEditBuffers::init()
{
    buffers = EditBuffers();
    sheet = newSheet();
}

void TestEditBuffers::copyPasteKeepsFormulaText()
{
    enter(*sheet, 1, 1, QStringLiteral("2"));
    enter(*sheet, 1, 2, QStringLiteral("3"));
    enter(*sheet, 1, 3, QStringLiteral("=a1+b1"));
    sheet->clearChanged();
    select(*sheet, 1, 3, 1, 3);
    buffers.copy(*sheet, true);
    QVERIFY(buffers.canPaste());
    QVERIFY(!buffers.canUndo());
    QVERIFY(!sheet->isChanged());
    QCOMPARE(colour(*sheet, 1, 3), cellcolour::Marked);
    sheet->grid().setCurrent(5, 3);
    buffers.paste(*sheet);
    QCOMPARE(sheet->exWithoutMoving(5, 3), QStringLiteral("=A1+B1")); // references are not shifted
    QCOMPARE(shown(*sheet, 5, 3), QStringLiteral("5"));
    QCOMPARE(sheet->ExVal(5, 3).number(), 5.0);
    QCOMPARE(colour(*sheet, 1, 3), cellcolour::White);
    QVERIFY(sheet->isChanged());
    QVERIFY(sheet->editorText().isEmpty());
    QVERIFY(sheet->grid().HighLight() == 1 && sheet->grid().Redraw());
}

void TestEditBuffers::upwardSelectionCopiesSameBlock()
{
    for (int r = 1; r <= 3; ++r) {
        for (int c = 1; c <= 2; ++c) {
            enter(*sheet, r, c, QString::number(r * 10 + c));
        }
    }
    select(*sheet, 3, 2, 1, 1); // dragged from bottom-right to top-left
    buffers.copy(*sheet, true);
    QCOMPARE(sheet->grid().Row(), 3); // the copy ends on the block's bottom-right cell
    QCOMPARE(sheet->grid().Col(), 2);
    sheet->grid().setCurrent(10, 5);
    buffers.paste(*sheet);
    QCOMPARE(shown(*sheet, 10, 5), QStringLiteral("11"));
    QCOMPARE(shown(*sheet, 12, 6), QStringLiteral("32"));
    QCOMPARE(sheet->grid().Row(), 10);
    QCOMPARE(sheet->grid().Col(), 5);
}

void TestEditBuffers::pasteCutOffAtSheetEdge()
{
    for (int r = 1; r <= 3; ++r) {
        for (int c = 1; c <= 3; ++c) {
            enter(*sheet, r, c, QStringLiteral("x%1%2").arg(r).arg(c));
        }
    }
    select(*sheet, 1, 1, 3, 3);
    buffers.copy(*sheet, true);
    sheet->grid().setCurrent(499, 25);
    buffers.paste(*sheet);
    QCOMPARE(shown(*sheet, 499, 25), QStringLiteral("x11"));
    QCOMPARE(shown(*sheet, 500, 26), QStringLiteral("x22"));
    QCOMPARE(sheet->grid().Row(), 499);
    QCOMPARE(sheet->grid().Col(), 25);
}

void TestEditBuffers::pasteOnlyOnce()
{
    enter(*sheet, 1, 1, QStringLiteral("a"));
    select(*sheet, 1, 1, 1, 1);
    buffers.copy(*sheet, true);
    sheet->grid().setCurrent(2, 2);
    buffers.paste(*sheet);
    QVERIFY(!buffers.canPaste());
    sheet->grid().setCurrent(3, 3);
    buffers.paste(*sheet);
    QVERIFY(sheet->exWithoutMoving(3, 3).isEmpty());
}

void TestEditBuffers::cutUndoPaste()
{
    enter(*sheet, 2, 2, QStringLiteral("4"));
    enter(*sheet, 3, 3, QStringLiteral("=b2*2"));
    enter(*sheet, 5, 5, QStringLiteral("=B2+1"));
    sheet->clearChanged();
    select(*sheet, 2, 2, 3, 3);
    buffers.cut(sheet);
    for (int r = 2; r <= 3; ++r) {
        for (int c = 2; c <= 3; ++c) {
            QVERIFY(shown(*sheet, r, c).isEmpty());
            QVERIFY(sheet->exWithoutMoving(r, c).isEmpty());
            QCOMPARE(colour(*sheet, r, c), cellcolour::Marked);
        }
    }
    QVERIFY(buffers.canPaste() && buffers.canUndo() && sheet->isChanged());
    // The emptied cell keeps its value: a formula reading it still sees 4.
    QCOMPARE(sheet->ExVal(2, 2).text(), QStringLiteral("4"));
    enter(*sheet, 5, 5, QStringLiteral("=B2+1"));
    QCOMPARE(shown(*sheet, 5, 5), QStringLiteral("5"));

    buffers.undo();
    QCOMPARE(sheet->exWithoutMoving(3, 3), QStringLiteral("=B2*2"));
    QCOMPARE(shown(*sheet, 3, 3), QStringLiteral("8"));
    QCOMPARE(colour(*sheet, 2, 2), cellcolour::White);
    QVERIFY(!buffers.canUndo());
    QVERIFY(buffers.canPaste()); // the cut block can still be pasted
    sheet->grid().setCurrent(10, 1);
    buffers.paste(*sheet);
    QCOMPARE(shown(*sheet, 10, 1), QStringLiteral("4"));
    QCOMPARE(shown(*sheet, 11, 2), QStringLiteral("8"));
}

void TestEditBuffers::copyEndsUndo()
{
    enter(*sheet, 1, 1, QStringLiteral("7"));
    select(*sheet, 1, 1, 1, 1);
    buffers.erase(sheet);
    enter(*sheet, 2, 2, QStringLiteral("8"));
    select(*sheet, 2, 2, 2, 2);
    buffers.copy(*sheet, true);
    buffers.undo();
    QVERIFY(sheet->exWithoutMoving(1, 1).isEmpty());
    QVERIFY(shown(*sheet, 1, 1).isEmpty());
}

void TestEditBuffers::deleteUndoKeepsCopyBuffer()
{
    enter(*sheet, 3, 3, QStringLiteral("kept"));
    select(*sheet, 3, 3, 3, 3);
    buffers.copy(*sheet, true);
    enter(*sheet, 1, 1, QStringLiteral("=2*3"));
    sheet->grid().setCellBackColorAt(1, 1, cellcolour::White);
    sheet->clearChanged();
    select(*sheet, 1, 1, 2, 2);
    buffers.erase(sheet);
    QVERIFY(shown(*sheet, 1, 1).isEmpty());
    QCOMPARE(colour(*sheet, 1, 1), cellcolour::White); // Delete leaves colours as they were
    QCOMPARE(colour(*sheet, 3, 3), cellcolour::Marked);
    QVERIFY(sheet->isChanged() && buffers.canUndo() && buffers.canPaste());
    sheet->clearChanged();
    sheet->setEditorText(QStringLiteral("typed"));
    sheet->clearChanged();
    buffers.undo();
    QCOMPARE(shown(*sheet, 1, 1), QStringLiteral("6"));
    QVERIFY(sheet->isChanged()); // the restored text passed through the editor
    sheet->grid().setCurrent(4, 4);
    buffers.paste(*sheet); // what was copied before the Delete
    QCOMPARE(shown(*sheet, 4, 4), QStringLiteral("kept"));
}

void TestEditBuffers::earlierMarks_data()
{
    QTest::addColumn<bool>("keepMarks");
    QTest::newRow("one sheet open: earlier marks stay") << true;
    QTest::newRow("more sheets open: the sheet is whitened first") << false;
}

void TestEditBuffers::earlierMarks()
{
    QFETCH(bool, keepMarks);
    enter(*sheet, 1, 1, QStringLiteral("a"));
    enter(*sheet, 1, 2, QStringLiteral("b"));
    select(*sheet, 1, 1, 1, 1);
    buffers.copy(*sheet, keepMarks);
    select(*sheet, 1, 2, 1, 2);
    buffers.copy(*sheet, keepMarks);
    QCOMPARE(colour(*sheet, 1, 2), cellcolour::Marked);
    QCOMPARE(colour(*sheet, 1, 1), keepMarks ? cellcolour::Marked : cellcolour::White);
}

void TestEditBuffers::pasteIntoOtherSheet()
{
    enter(*sheet, 2, 2, QStringLiteral("=1+1"));
    select(*sheet, 2, 2, 2, 2);
    buffers.copy(*sheet, false);
    const std::shared_ptr<SheetModel> target = newSheet();
    target->grid().setCellBackColorAt(2, 2, cellcolour::Marked);
    target->grid().setCurrent(7, 7);
    buffers.paste(*target);
    QCOMPARE(shown(*target, 7, 7), QStringLiteral("2"));
    QCOMPARE(colour(*target, 2, 2), cellcolour::White);
    QCOMPARE(colour(*sheet, 2, 2), cellcolour::Marked);
    QVERIFY(target->isChanged());
}

// The undo never writes into another sheet: with its own sheet gone it does nothing.
void TestEditBuffers::undoAfterItsSheetClosed()
{
    enter(*sheet, 1, 1, QStringLiteral("gone"));
    select(*sheet, 1, 1, 1, 1);
    buffers.cut(sheet);
    QCOMPARE(buffers.undoSheet(), sheet);
    const std::shared_ptr<SheetModel> other = newSheet();
    sheet.reset();
    QVERIFY(!buffers.undoSheet());
    buffers.undo();
    QVERIFY(!buffers.canUndo());
    QVERIFY(other->exWithoutMoving(1, 1).isEmpty());
    QVERIFY(shown(*other, 1, 1).isEmpty());
}

QTEST_GUILESS_MAIN(TestEditBuffers)
#include "tst_editbuffers.moc"
