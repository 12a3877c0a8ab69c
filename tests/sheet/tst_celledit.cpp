#include "model/gridstate.h"
#include "sheet/celleditor.h"
#include "sheet/sheetgrid.h"
#include "testhost.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QScrollBar>
#include <QtTest>

// A sheet driven by real keys and mouse events: opening, committing and abandoning the
// overlay editor, pointing at cells while a formula is typed, and input-method text.
class TestCellEdit : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void typingThenEnterMovesDown();
    void enterOnGridOpensExpression();
    void enterOnLastRowStays();
    void lineBreakSurvivesEnter();
    void escapeStoresNothing_data();
    void escapeStoresNothing();
    void deleteKey();
    void arrowsStayInEditor();
    void otherCellCommitsText();
    void pointingAppends_data();
    void pointingAppends();
    void doubleClickCommitsPointedFormula();
    void doubleClickOpensCell();
    void doubleClickOnItsOwnCellKeepsHeadingsClean();
    void japaneseInput();
    void inputMethodOnGrid_data();
    void inputMethodOnGrid();
    void scrollGivesGridTheFocus();

private:
    void enter(int row, int col, const QString& text);
    QPoint centre(int row, int col) const;
    void click(int row, int col);
    void drag(int row, int col, int toRow, int toCol);
    void doubleClick(int row, int col);
    void type(const QString& text);
    void key(Qt::Key k);
    GridState& grid() { return sheet->grdZel->state(); }

    std::unique_ptr<TestHost> host;
    frmZelChild* sheet = nullptr;
};

void TestCellEdit::init()
{
    host = std::make_unique<TestHost>();
    sheet = new frmZelChild(*host);
    sheet->resize(1000, 700);
    sheet->show();
    QVERIFY(QTest::qWaitForWindowExposed(sheet));
    sheet->activateWindow();
    sheet->grdZel->setFocus();
    QVERIFY(QTest::qWaitForWindowActive(sheet));
}

void TestCellEdit::cleanup()
{
    delete sheet;
    host.reset();
}

void TestCellEdit::enter(int row, int col, const QString& text)
{
    enterCell(*sheet, row, col, text);
}

QPoint TestCellEdit::centre(int row, int col) const
{
    return sheet->grdZel->cellRect(row, col).center();
}

void TestCellEdit::click(int row, int col)
{
    QTest::mouseClick(sheet->grdZel->viewport(), Qt::LeftButton, {}, centre(row, col));
}

void TestCellEdit::drag(int row, int col, int toRow, int toCol)
{
    QWidget* viewport = sheet->grdZel->viewport();
    QTest::mousePress(viewport, Qt::LeftButton, {}, centre(row, col));
    QTest::mouseMove(viewport, centre(toRow, toCol));
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, centre(toRow, toCol));
}

// A real double-click: a whole click, then the second press as a double-click.
void TestCellEdit::doubleClick(int row, int col)
{
    QWidget* viewport = sheet->grdZel->viewport();
    QTest::mouseClick(viewport, Qt::LeftButton, {}, centre(row, col));
    QTest::mouseDClick(viewport, Qt::LeftButton, {}, centre(row, col));
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, centre(row, col));
}

// Each key goes where the keyboard focus is at that moment, as when a user types.
void TestCellEdit::type(const QString& text)
{
    for (QChar ch : text) {
        QVERIFY(QApplication::focusWidget());
        QTest::keyClick(QApplication::focusWidget(), ch.toLatin1());
    }
}

void TestCellEdit::key(Qt::Key k)
{
    QVERIFY(QApplication::focusWidget());
    QTest::keyClick(QApplication::focusWidget(), k);
}

void TestCellEdit::typingThenEnterMovesDown()
{
    sheet->setEx(4, 2, QStringLiteral("below"));
    grid().setCurrent(3, 2);
    type(QStringLiteral("7"));
    QVERIFY(sheet->isEditing());
    QCOMPARE(QApplication::focusWidget(), sheet->txtEdit);
    QCOMPARE(sheet->txtEdit->text(), QStringLiteral("7"));
    QCOMPARE(sheet->txtEdit->cursorPosition(), 1);
    QCOMPARE(sheet->txtEdit->geometry().topLeft(), sheet->grdZel->cellRect(3, 2).topLeft());
    QVERIFY(sheet->IsChanged());

    key(Qt::Key_Return);
    QCOMPARE(grid().Row(), 4);
    QCOMPARE(grid().Col(), 2);
    QCOMPARE(grid().textAt(3, 2), QStringLiteral("7"));
    QCOMPARE(host->label, QStringLiteral(" B 4"));
    QCOMPARE(host->editLine, QStringLiteral("below"));
    QVERIFY(sheet->isEditing());
    QCOMPARE(sheet->txtEdit->text(), QStringLiteral("below"));
    QCOMPARE(sheet->txtEdit->cursorPosition(), 5);
    QCOMPARE(sheet->txtEdit->geometry().topLeft(), sheet->grdZel->cellRect(4, 2).topLeft());
    QCOMPARE(sheet->Ex(3, 2), QStringLiteral("7"));
}

void TestCellEdit::enterOnGridOpensExpression()
{
    enter(1, 1, QStringLiteral("2"));
    enter(2, 1, QStringLiteral("=A1+1"));
    QCOMPARE(grid().textAt(2, 1), QStringLiteral("3"));
    enter(9, 9, QStringLiteral("other")); // what the editor held last
    grid().setCurrent(2, 1);
    sheet->model().clearChanged();
    key(Qt::Key_Return);
    QVERIFY(sheet->isEditing());
    QCOMPARE(sheet->txtEdit->text(), QStringLiteral("=A1+1"));
    QCOMPARE(sheet->txtEdit->cursorPosition(), 5);
    QCOMPARE(grid().Row(), 2);
    QCOMPARE(sheet->Ex(2, 1), QStringLiteral("=A1+1"));
    QVERIFY(sheet->IsChanged());
}

// A text with a line break, as a file from another program brings it: Enter opens the editor
// on it and Enter again stores the same text.
void TestCellEdit::lineBreakSurvivesEnter()
{
    enter(1, 1, QStringLiteral("two\nlines"));
    grid().setCurrent(1, 1);
    key(Qt::Key_Return);
    QCOMPARE(sheet->txtEdit->text(), QStringLiteral("two\nlines"));
    key(Qt::Key_Return);
    QCOMPARE(sheet->model().exWithoutMoving(1, 1), QStringLiteral("two\nlines"));
    QCOMPARE(grid().textAt(1, 1), QStringLiteral("two\nlines"));
}

void TestCellEdit::enterOnLastRowStays()
{
    grid().setCurrent(500, 3);
    sheet->grdZel->showCurrentCell();
    type(QStringLiteral("=2*4"));
    key(Qt::Key_Return);
    QCOMPARE(grid().Row(), 500);
    QCOMPARE(grid().Col(), 3);
    QCOMPARE(sheet->ExVal(500, 3).number(), 8.0);
    QVERIFY(sheet->isEditing());
    QCOMPARE(sheet->txtEdit->text(), QStringLiteral("=2*4"));
    QCOMPARE(host->label, QStringLiteral(" C 500"));
}

void TestCellEdit::escapeStoresNothing_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("shown");
    QTest::newRow("number") << "5"
                            << "5";
    QTest::newRow("formula shows its value again") << "=2+3"
                                                   << "5";
    QTest::newRow("marker shown again") << "=1/0"
                                        << "Err0割り";
}

void TestCellEdit::escapeStoresNothing()
{
    QFETCH(QString, stored);
    QFETCH(QString, shown);
    enter(2, 2, stored);
    grid().setCurrent(2, 2);
    key(Qt::Key_Return); // opens on the expression, which the cell shows while edited
    QCOMPARE(grid().textAt(2, 2), sheet->Ex(2, 2));
    type(QStringLiteral("9"));
    key(Qt::Key_Escape);
    QVERIFY(!sheet->isEditing());
    QCOMPARE(QApplication::focusWidget(), sheet->grdZel);
    QCOMPARE(sheet->Ex(2, 2), stored.startsWith('=') ? stored.toUpper() : stored);
    QCOMPARE(grid().textAt(2, 2), shown);
}

void TestCellEdit::deleteKey()
{
    key(Qt::Key_Delete);
    QCOMPARE(host->deletes, 1);
    QVERIFY(!sheet->isEditing());
    type(QStringLiteral("abc"));
    key(Qt::Key_Left);
    key(Qt::Key_Delete);
    QCOMPARE(sheet->txtEdit->text(), QStringLiteral("ab"));
    QCOMPARE(host->deletes, 1);
}

void TestCellEdit::arrowsStayInEditor()
{
    grid().setCurrent(5, 5);
    type(QStringLiteral("=12"));
    for (Qt::Key k :
         {Qt::Key_Left, Qt::Key_Left, Qt::Key_Left, Qt::Key_Left, Qt::Key_Up, Qt::Key_Down}) {
        key(k);
    }
    QCOMPARE(sheet->txtEdit->cursorPosition(), 0);
    key(Qt::Key_Right);
    QCOMPARE(sheet->txtEdit->cursorPosition(), 1);
    QCOMPARE(grid().Row(), 5);
    QCOMPARE(grid().Col(), 5);
    QVERIFY(sheet->isEditing());
    QCOMPARE(sheet->ActiveR(), 0);
}

void TestCellEdit::otherCellCommitsText()
{
    grid().setCurrent(1, 1);
    type(QStringLiteral("42"));
    click(3, 3);
    QVERIFY(!sheet->isEditing());
    QCOMPARE(sheet->Ex(1, 1), QStringLiteral("42"));
    QCOMPARE(grid().textAt(1, 1), QStringLiteral("42"));
    QCOMPARE(host->label, QStringLiteral(" C 3"));
    QVERIFY(host->editLine.isEmpty());
}

void TestCellEdit::pointingAppends_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QPoint>("from"); // (column, row)
    QTest::addColumn<QPoint>("to");
    QTest::addColumn<QString>("result");
    QTest::newRow("operator takes the cell") << "=A1+" << QPoint(4, 2) << QPoint(4, 2) << "=A1+D2";
    QTest::newRow("SUM( takes a drag down")
        << "=SUM(" << QPoint(1, 1) << QPoint(1, 5) << "=SUM(A1:A5";
    QTest::newRow("SUM( takes a drag up")
        << "=SUM(" << QPoint(1, 5) << QPoint(1, 1) << "=SUM(A5:A1";
    QTest::newRow("sum( takes a click") << "=sum(" << QPoint(2, 2) << QPoint(2, 2) << "=sum(B2:B2";
    QTest::newRow("other ( takes the cell") << "=ABS(" << QPoint(2, 2) << QPoint(2, 2) << "=ABS(B2";
    QTest::newRow("Sum( is not SUM(") << "=Sum(" << QPoint(2, 2) << QPoint(2, 4) << "=Sum(B2";
    QTest::newRow("after a digit nothing") << "=A1" << QPoint(4, 2) << QPoint(4, 2) << "=A1";
    QTest::newRow("after ) nothing") << "=(1)" << QPoint(4, 2) << QPoint(4, 2) << "=(1)";
}

void TestCellEdit::pointingAppends()
{
    QFETCH(QString, typed);
    QFETCH(QPoint, from);
    QFETCH(QPoint, to);
    QFETCH(QString, result);
    grid().setCurrent(1, 3);
    type(typed);
    drag(from.y(), from.x(), to.y(), to.x());
    QCOMPARE(sheet->txtEdit->text(), result);
    QVERIFY(sheet->isEditing());
    QCOMPARE(QApplication::focusWidget(), sheet->txtEdit);
    QCOMPARE(sheet->txtEdit->cursorPosition(), result.size());
    QCOMPARE(grid().Row(), 1);
    QCOMPARE(grid().Col(), 3);
    QCOMPARE(sheet->ActiveR(), 0);
    QCOMPARE(sheet->ActiveRmove, 1);
    QVERIFY(!sheet->SelMove);
    QCOMPARE(host->label, cellAddress(from.y(), from.x()));
    // Nothing is entered while pointing.
    QVERIFY(sheet->Ex(1, 3).isEmpty());

    // Pointing goes on: a second click appends again after an operator.
    type(QStringLiteral("*"));
    click(6, 6);
    QCOMPARE(sheet->txtEdit->text(), result + QStringLiteral("*F6"));
    QCOMPARE(grid().Row(), 1);
}

void TestCellEdit::doubleClickCommitsPointedFormula()
{
    enter(2, 4, QStringLiteral("4"));
    grid().setCurrent(1, 3);
    type(QStringLiteral("=1+"));
    doubleClick(2, 4);
    QCOMPARE(grid().Row(), 2);
    QCOMPARE(grid().Col(), 4);
    QCOMPARE(grid().textAt(1, 3), QStringLiteral("5"));
    QVERIFY(sheet->isEditing());
    QCOMPARE(sheet->txtEdit->text(), QStringLiteral("4"));
    QCOMPARE(host->editLine, QStringLiteral("4"));
    QCOMPARE(sheet->ActiveRmove, 0);
    QCOMPARE(sheet->Ex(1, 3), QStringLiteral("=1+D2"));
}

void TestCellEdit::doubleClickOpensCell()
{
    enter(3, 2, QStringLiteral("=7*6"));
    enter(9, 9, QStringLiteral("other"));
    sheet->model().clearChanged();
    doubleClick(3, 2);
    QVERIFY(sheet->isEditing());
    QCOMPARE(sheet->txtEdit->text(), QStringLiteral("=7*6"));
    QCOMPARE(host->editLine, QStringLiteral("=7*6"));
    QCOMPARE(host->label, QStringLiteral(" B 3"));
    QVERIFY(sheet->IsChanged());
}

// After a pointed formula was committed by a double-click, a second double-click on the
// open editor's own cell commits that cell, never the corner heading.
void TestCellEdit::doubleClickOnItsOwnCellKeepsHeadingsClean()
{
    enter(2, 4, QStringLiteral("4"));
    grid().setCurrent(1, 3);
    type(QStringLiteral("=1+"));
    doubleClick(2, 4);
    QCOMPARE(sheet->txtEdit->text(), QStringLiteral("4"));
    sheet->txtEdit->setText(QStringLiteral("44"));
    doubleClick(2, 4);
    QCOMPARE(sheet->Ex(2, 4), QStringLiteral("44"));
    QVERIFY(sheet->Ex(0, 0).isEmpty());
    QVERIFY(grid().textAt(0, 0).isEmpty());
    QCOMPARE(sheet->txtEdit->text(), QStringLiteral("44"));
}

void TestCellEdit::japaneseInput()
{
    enter(2, 2, QStringLiteral("old"));
    grid().setCurrent(2, 2);
    // A half-width katakana key: only that character, not the old expression before it.
    QTest::sendKeyEvent(QTest::KeyAction::Click, sheet->grdZel, Qt::Key_unknown,
                        QStringLiteral("ｱ"), {});
    QCOMPARE(sheet->txtEdit->text(), QStringLiteral("ｱ"));
    QCOMPARE(sheet->txtEdit->cursorPosition(), 1);
    key(Qt::Key_Escape);
}

// Input-method events as an input method sends them while the user types on the grid, each
// step written p:text (a composition), c:text (a commit), x (the composition cancelled),
// click (a click on D5) or Return (the key). The composition shows in the editor of the cell
// where it began, the grid keeps the keyboard focus throughout, and every commit lands there.
void TestCellEdit::inputMethodOnGrid_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QString>("stored"); // B3's expression afterwards
    QTest::addColumn<bool>("changed");
    QTest::newRow("composing") << QStringList{"p:にほん"} << "old" << true;
    QTest::newRow("composed and committed")
        << QStringList{"p:にほん", "p:日本", "c:日本", "Return"} << "日本" << true;
    QTest::newRow("phrase by phrase: a commit alone, then a new composition")
        << QStringList{"c:日本", "p:ｇ", "p:ご", "p:語学", "c:語学", "Return"} << "日本語学"
        << true;
    QTest::newRow("cancelled before any commit") << QStringList{"p:う", "x"} << "old" << false;
    QTest::newRow("a click on another cell commits first")
        << QStringList{"p:うりあげ", "click"} << "うりあげ" << true;
    QTest::newRow("a full-width space")
        << QStringList{"c:\u3000", "Return"} << QString(QChar(0x3000)) << true;
}

void TestCellEdit::inputMethodOnGrid()
{
    QFETCH(QStringList, steps);
    QFETCH(QString, stored);
    QFETCH(bool, changed);
    enter(3, 2, QStringLiteral("old"));
    grid().setCurrent(3, 2);
    sheet->model().clearChanged();
    sheet->grdZel->setFocus();
    const QImage emptyEditor = sheet->txtEdit->grab().toImage();
    for (const QString& step : steps) {
        if (step == QLatin1String("Return")) {
            QCOMPARE(QApplication::focusWidget(), sheet->grdZel);
            key(Qt::Key_Return);
            continue;
        }
        if (step == QLatin1String("click")) {
            click(5, 4);
            continue;
        }
        const QString text = step.mid(2);
        QInputMethodEvent event(step.startsWith(QLatin1String("p:")) ? text : QString(), {});
        if (step.startsWith(QLatin1String("c:"))) {
            event.setCommitString(text);
        }
        QApplication::sendEvent(sheet->grdZel, &event);
        QCOMPARE(QApplication::focusWidget(), sheet->grdZel);
        if (step.startsWith(QLatin1String("p:"))) {
            QVERIFY(sheet->isEditing());
            QCOMPARE(sheet->txtEdit->geometry().topLeft(), sheet->grdZel->cellRect(3, 2).topLeft());
            QVERIFY(sheet->txtEdit->grab().toImage() != emptyEditor); // the composition shows
        }
    }
    QCOMPARE(sheet->model().exWithoutMoving(3, 2), stored);
    QCOMPARE(sheet->IsChanged(), changed);
    if (!changed) {
        QVERIFY(!sheet->isEditing());
        QCOMPARE(grid().textAt(3, 2), QStringLiteral("old"));
    }
}

void TestCellEdit::scrollGivesGridTheFocus()
{
    grid().setCurrent(2, 2);
    type(QStringLiteral("=A1+"));
    const QRect before = sheet->txtEdit->geometry();
    sheet->grdZel->verticalScrollBar()->setValue(sheet->grdZel->verticalScrollBar()->value() + 5);
    QVERIFY(grid().TopRow() > 1);
    QCOMPARE(QApplication::focusWidget(), sheet->grdZel);
    QVERIFY(sheet->isEditing());
    QCOMPARE(sheet->txtEdit->geometry(), before);
    QCOMPARE(sheet->txtEdit->text(), QStringLiteral("=A1+"));
}

QTEST_MAIN(TestCellEdit)
#include "tst_celledit.moc"
