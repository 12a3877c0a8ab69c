#include "app/frmzel.h"
#include "sheet/celleditor.h"
#include "sheet/sheetgrid.h"
#include "testwindow.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QLabel>
#include <QMdiArea>
#include <QtTest>

// The main window's edit line and the recalculation command, driven by real keys and clicks.
class TestEditLine : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void enterStoresAndMovesDown();
    void clickEmptiesThenEnterStoresIntoClickedCell();
    void escapeStoresNothing();
    void keysWithoutSheet();
    void recalculateCommand();
    void composingOnGridThenEditLine();

private:
    QPoint centre(int row, int col) const { return sheet->grdZel->cellRect(row, col).center(); }
    void typeInto(QWidget* widget, const QString& text) { QTest::keyClicks(widget, text); }
    GridState& grid() { return sheet->grdZel->state(); }

    std::unique_ptr<TestWindow> fixture;
    frmZel* window = nullptr;
    FakeMessages* messages = nullptr;
    frmZelChild* sheet = nullptr;
};

void TestEditLine::init()
{
    fixture = std::make_unique<TestWindow>();
    window = fixture->window;
    messages = fixture->messages;
    QVERIFY(QTest::qWaitForWindowActive(window));
    window->mnuFileNew_Click();
    sheet = window->activeSheet();
    QVERIFY(sheet);
}

void TestEditLine::cleanup()
{
    fixture.reset();
}

void TestEditLine::enterStoresAndMovesDown()
{
    grid().setCurrent(2, 2);
    sheet->txtEdit->setText(QStringLiteral("5"));
    sheet->EnterCell();
    sheet->setEx(3, 2, QStringLiteral("=B2*2"));
    QWidget* viewport = sheet->grdZel->viewport();
    QTest::mouseClick(viewport, Qt::LeftButton, {}, centre(2, 2));
    QTest::mouseDClick(viewport, Qt::LeftButton, {}, centre(2, 2));
    QCOMPARE(window->txtEditLine->text(), QStringLiteral("5"));

    window->txtEditLine->setFocus();
    window->txtEditLine->selectAll();
    typeInto(window->txtEditLine, QStringLiteral("7"));
    QCOMPARE(grid().textAt(2, 2), QStringLiteral("5")); // the expression, shown while typing
    QTest::keyClick(window->txtEditLine, Qt::Key_Return);
    QCOMPARE(grid().Row(), 3);
    QCOMPARE(grid().Col(), 2);
    QCOMPARE(grid().textAt(2, 2), QStringLiteral("7"));
    QCOMPARE(window->Label1->text(), QStringLiteral(" B 3"));
    QCOMPARE(window->txtEditLine->text(), QStringLiteral("=B2*2"));
    QVERIFY(sheet->isEditing());
    QCOMPARE(sheet->txtEdit->text(), QStringLiteral("=B2*2"));
    QCOMPARE(QApplication::focusWidget(), sheet->txtEdit);
    QCOMPARE(sheet->Ex(2, 2), QStringLiteral("7"));
}

void TestEditLine::clickEmptiesThenEnterStoresIntoClickedCell()
{
    window->txtEditLine->setText(QStringLiteral("left over"));
    QTest::mouseClick(sheet->grdZel->viewport(), Qt::LeftButton, {}, centre(4, 3));
    QVERIFY(window->txtEditLine->text().isEmpty());
    QCOMPARE(window->Label1->text(), QStringLiteral(" C 4"));
    typeInto(window->txtEditLine, QStringLiteral("=2*3"));
    QTest::keyClick(window->txtEditLine, Qt::Key_Return);
    QCOMPARE(grid().textAt(4, 3), QStringLiteral("6"));
    QCOMPARE(grid().Row(), 5);
}

void TestEditLine::escapeStoresNothing()
{
    grid().setCurrent(1, 1);
    QTest::keyClick(sheet->grdZel, Qt::Key_Return); // overlay editor open on A1
    QVERIFY(sheet->isEditing());
    typeInto(window->txtEditLine, QStringLiteral("99"));
    QTest::keyClick(window->txtEditLine, Qt::Key_Escape);
    QVERIFY(!sheet->isEditing());
    QCOMPARE(QApplication::focusWidget(), sheet->grdZel);
    QVERIFY(sheet->Ex(1, 1).isEmpty());
    QVERIFY(grid().textAt(1, 1).isEmpty());
    QCOMPARE(window->txtEditLine->text(), QStringLiteral("99"));
}

void TestEditLine::keysWithoutSheet()
{
    sheet->setCloseAgreed(true);
    window->mdiArea->closeAllSubWindows();
    QVERIFY(!window->activeSheet());
    typeInto(window->txtEditLine, QStringLiteral("=1"));
    QTest::keyClick(window->txtEditLine, Qt::Key_Return);
    QTest::keyClick(window->txtEditLine, Qt::Key_Escape);
    QCOMPARE(window->txtEditLine->text(), QStringLiteral("=1"));
}

void TestEditLine::recalculateCommand()
{
    sheet->setEx(1, 1, QStringLiteral("=3*3"));
    window->tbrMenu_ButtonClick(QStringLiteral("btnEditReSub"));
    QCOMPARE(grid().textAt(1, 1), QStringLiteral("9"));

    sheet->setEx(1, 1, QStringLiteral("=4*4"));
    grid().setCurrent(2, 2);
    sheet->GridEdit(32);
    window->mnuEditReSub->trigger();
    QCOMPARE(messages->criticals, QStringList{QStringLiteral("セル編集中は再計算できません！")});
    QCOMPARE(grid().textAt(1, 1), QStringLiteral("9"));
}

// A click on the edit line while an input method composes on the grid: the composition is
// committed into the cell's editor (the input method sends it to the grid it was composing on),
// and the edit line keeps the focus for what is typed next.
void TestEditLine::composingOnGridThenEditLine()
{
    grid().setCurrent(2, 2);
    sheet->grdZel->setFocus();
    QInputMethodEvent composing(QStringLiteral("うりあげ"), {});
    QApplication::sendEvent(sheet->grdZel, &composing);
    QVERIFY(sheet->isEditing());
    QTest::mouseClick(window->txtEditLine, Qt::LeftButton);
    QCOMPARE(QApplication::focusWidget(), window->txtEditLine);
    QInputMethodEvent commit;
    commit.setCommitString(QStringLiteral("売上"));
    QApplication::sendEvent(sheet->grdZel, &commit);
    QCOMPARE(sheet->txtEdit->text(), QStringLiteral("売上"));
    QCOMPARE(QApplication::focusWidget(), window->txtEditLine);
    typeInto(window->txtEditLine, QStringLiteral("7"));
    QCOMPARE(window->txtEditLine->text(), QStringLiteral("7"));
    QCOMPARE(sheet->txtEdit->text(), QStringLiteral("売上"));
}

QTEST_MAIN(TestEditLine)
#include "tst_editline.moc"
