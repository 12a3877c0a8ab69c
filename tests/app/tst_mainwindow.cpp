#include "app/frmabout.h"
#include "app/frmzel.h"
#include "app/helpwindow.h"
#include "chart/frmchartsel.h"
#include "sheet/celleditor.h"
#include "sheet/sheetgrid.h"
#include "testwindow.h"

#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QTextBrowser>
#include <QToolBar>
#include <QtTest>

// The main window offscreen: sheet bookkeeping and naming, the ten-sheet limit, the close
// prompt's answers, shutdown, menu enabling, toolbar conditions and window arrangement.
class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void newSheetLayoutAndHeadings();
    void namesAreNeverReused();
    void limitOfTenSheets();
    void closePrompt_data();
    void closePrompt();
    void shutdownStopsOnCancel();
    void sessionEndAsksFirst();
    void exAccessorMovesCurrentCell();
    void menuEnabling();
    void toolbarConditions();
    void shortcutsTakeTheirEntriesNow();
    void arrangements();
    void versionDialog();
    void helpOpensAtContents();
    void missingHelpFileIsReported();

private:
    std::unique_ptr<TestWindow> fixture;
    frmZel* window = nullptr;
    FakeMessages* messages = nullptr;
};

void TestMainWindow::init()
{
    fixture = std::make_unique<TestWindow>();
    window = fixture->window;
    messages = fixture->messages;
    QVERIFY(QTest::qWaitForWindowExposed(window));
}

void TestMainWindow::cleanup()
{
    fixture.reset();
    window = nullptr;
}

void TestMainWindow::newSheetLayoutAndHeadings()
{
    window->mnuFileNew_Click();
    frmZelChild* sheet = window->activeSheet();
    QVERIFY(sheet);
    QCOMPARE(sheet->windowTitle(), QStringLiteral("New-Sheet1"));
    QCOMPARE(sheet->Tag, 1);
    const GridState& g = sheet->grdZel->state();
    QCOMPARE(g.textAt(0, 1), QStringLiteral("A"));
    QCOMPARE(g.textAt(0, 26), QStringLiteral("Z"));
    QCOMPARE(g.textAt(1, 0), QStringLiteral("1"));
    QCOMPARE(g.textAt(500, 0), QStringLiteral("500"));
    QCOMPARE(g.textAt(0, 0), QString());
    QCOMPARE(g.Row(), 1);
    QCOMPARE(g.Col(), 1);
    QCOMPARE(window->Label1->text(), QStringLiteral(" A 1"));
    QCOMPARE(g.ColWidth(0), 600);
    QCOMPARE(g.ColWidth(5), 1200);
    QCOMPARE(g.RowHeight(0), 360);
    QCOMPARE(g.FontSize(), 12.0);
    QVERIFY(!sheet->txtEdit->isVisible());
    QVERIFY(!sheet->IsChanged());
    QVERIFY(window->mdiArea->activeSubWindow()->isMaximized());
    QCOMPARE(window->app().OpenSheetNames.at(1), QStringLiteral("New-Sheet1"));
    if (const QString dir = qEnvironmentVariable("ZELTARN_ARTIFACTS"); !dir.isEmpty()) {
        window->grab().save(dir + QStringLiteral("/main-window.png"));
    }
}

void TestMainWindow::namesAreNeverReused()
{
    window->mnuFileNew_Click();
    window->mnuFileNew_Click();
    window->mnuFileNew_Click();
    frmZelChild* third = window->activeSheet();
    QCOMPARE(third->windowTitle(), QStringLiteral("New-Sheet3"));
    window->mdiArea->activeSubWindow()->close();
    QTRY_COMPARE(window->app().OpenSheetCount, 2);
    QCOMPARE(window->app().OpenSheetNames.at(3), QString());
    window->mnuFileNew_Click();
    QCOMPARE(window->activeSheet()->windowTitle(), QStringLiteral("New-Sheet4"));
    QCOMPARE(window->app().SheetSerial, 4);
}

void TestMainWindow::limitOfTenSheets()
{
    for (int i = 0; i < 10; ++i) {
        window->mnuFileNew_Click();
    }
    QCOMPARE(window->app().OpenSheetCount, 10);
    window->mnuFileNew_Click();
    QCOMPARE(window->sheets().size(), 10);
    QCOMPARE(messages->criticals,
             QStringList{QStringLiteral("1度に開くことのできるシートの数は10です！")});
    window->mdiArea->activeSubWindow()->close();
    QTRY_COMPARE(window->app().OpenSheetCount, 9);
    window->mnuFileNew_Click();
    QCOMPARE(window->app().OpenSheetCount, 10);
}

void TestMainWindow::closePrompt_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("closes");
    QTest::newRow("yes on a never-saved sheet keeps it open")
        << int(Messages::Answer::Yes) << false;
    QTest::newRow("no closes without writing") << int(Messages::Answer::No) << true;
    QTest::newRow("cancel keeps it open") << int(Messages::Answer::Cancel) << false;
}

void TestMainWindow::closePrompt()
{
    QFETCH(int, answer);
    QFETCH(bool, closes);
    window->mnuFileNew_Click();
    frmZelChild* sheet = window->activeSheet();
    sheet->model().markChanged();
    messages->answers = {Messages::Answer(answer)};
    window->mdiArea->activeSubWindow()->close();
    QCOMPARE(messages->questions,
             QStringList{QStringLiteral("New-Sheet1は変更されています。\r\n保存しますか？")});
    QTRY_COMPARE(window->sheets().size(), closes ? 0 : 1);
    QCOMPARE(window->app().OpenSheetCount, closes ? 0 : 1);

    // An unchanged sheet closes without a question.
    window->mnuFileNew_Click();
    messages->questions.clear();
    window->mdiArea->activeSubWindow()->close();
    QTRY_COMPARE(window->sheets().size(), closes ? 0 : 1);
    QVERIFY(messages->questions.isEmpty());
}

void TestMainWindow::shutdownStopsOnCancel()
{
    window->mnuFileNew_Click();
    window->mnuFileNew_Click();
    for (frmZelChild* s : window->sheets()) {
        s->model().markChanged();
    }
    messages->answers = {Messages::Answer::No, Messages::Answer::Cancel};
    window->mnuFileExit_Click();
    QCOMPARE(messages->questions.size(), 2);
    QVERIFY(window->isVisible());
    QCOMPARE(window->sheets().size(), 2);

    messages->answers = {Messages::Answer::No, Messages::Answer::No};
    window->mnuFileExit_Click();
    QCOMPARE(messages->questions.size(), 4);
    QVERIFY(!window->isVisible());
    QTRY_COMPARE(window->sheets().size(), 0);
}

// The desktop session ending asks like closing: Yes on a new sheet whose save is cancelled
// stops it as Cancel does, so no work is lost.
void TestMainWindow::sessionEndAsksFirst()
{
    window->mnuFileNew_Click();
    window->mnuFileNew_Click();
    for (frmZelChild* s : window->sheets()) {
        s->model().markChanged();
    }
    messages->answers = {Messages::Answer::No, Messages::Answer::Yes};
    QVERIFY(!window->askEverySheet());
    QCOMPARE(messages->questions.size(), 2);
    QCOMPARE(window->sheets().size(), 2);
    messages->answers = {Messages::Answer::No, Messages::Answer::No};
    QVERIFY(window->askEverySheet());
}

void TestMainWindow::exAccessorMovesCurrentCell()
{
    window->mnuFileNew_Click();
    frmZelChild* sheet = window->activeSheet();
    sheet->setEx(5, 3, QStringLiteral("=1+2"));
    QCOMPARE(sheet->grdZel->state().Row(), 1); // writing does not move
    QCOMPARE(sheet->Ex(5, 3), QStringLiteral("=1+2"));
    QCOMPARE(sheet->grdZel->state().Row(), 5);
    QCOMPARE(sheet->grdZel->state().Col(), 3);
    sheet->setExVal(2, 4, CellValue::fromNumber(3));
    QCOMPARE(sheet->ExVal(2, 4).text(), QStringLiteral("3"));
    QCOMPARE(sheet->model().currentRow(), 2);
    QCOMPARE(sheet->model().currentCol(), 4);
    QVERIFY_THROWS_EXCEPTION(std::out_of_range, sheet->setEx(502, 1, QString()));
    QVERIFY_THROWS_EXCEPTION(std::out_of_range, sheet->Ex(501, 1)); // no grid cell there
}

void TestMainWindow::menuEnabling()
{
    auto openMenu = [this](const char* name) {
        Q_EMIT window->findChild<QMenu*>(QLatin1String(name))->aboutToShow();
    };
    auto enabled = [this](const char* name) {
        return window->findChild<QAction*>(QLatin1String(name))->isEnabled();
    };

    openMenu("mnuFile");
    openMenu("mnuEdit");
    openMenu("mnuGraph");
    openMenu("mnuSet");
    openMenu("mnuWindow");
    for (const char* name :
         {"mnuFileSave", "mnuFileSaveAs", "mnuFilePrint", "mnuFilePreview", "mnuEditReSub",
          "mnuEditBack", "mnuEditCopy", "mnuEditPaste", "mnuEditPasteClip", "mnuEditDelete",
          "mnuGraphShow", "mnuGraphPrint", "mnuSetDis", "mnuSetDisKeta", "mnuWindowCascade",
          "mnuWindowHorizontal", "mnuWindowVertical"}) {
        QVERIFY2(!enabled(name), name);
    }
    QVERIFY(enabled("mnuFileNew") && enabled("mnuFileOpen") && enabled("mnuFileExit"));

    window->mnuFileNew_Click();
    QVERIFY(!enabled("mnuFileSave")); // states change only when the menu opens
    openMenu("mnuFile");
    openMenu("mnuEdit");
    openMenu("mnuGraph");
    openMenu("mnuSet");
    openMenu("mnuWindow");
    for (const char* name :
         {"mnuFileSave", "mnuFileSaveAs", "mnuFilePrint", "mnuFilePreview", "mnuEditReSub",
          "mnuEditBack", "mnuEditCopy", "mnuEditCut", "mnuEditDelete", "mnuEditCopyClip",
          "mnuEditCopyTable", "mnuGraphShow", "mnuSetDis", "mnuSetDisKeta", "mnuWindowCascade"}) {
        QVERIFY2(enabled(name), name);
    }
    QVERIFY(!enabled("mnuEditPaste"));
    QVERIFY(!enabled("mnuGraphPrint"));

    window->mnuEditCopy_Click(); // the copy buffer may now be pasted
    window->activeSheet()->grdZel->state().setRowSel(2);
    window->mnuGraphShow_Click(); // a chart window opens
    QTest::mouseClick(window->charts().chartSel()->cmdGOK, Qt::LeftButton);
    QApplication::clipboard()->setText(QStringLiteral("1\t2"));
    openMenu("mnuEdit");
    openMenu("mnuGraph");
    QVERIFY(enabled("mnuEditPaste"));
    QVERIFY(enabled("mnuEditPasteClip"));
    QVERIFY(enabled("mnuGraphPrint"));
    QVERIFY(!enabled("mnuGraphShow"));

    // While the overlay editor is the sheet's active control (it has, or last had, the
    // focus), 再計算 is greyed; back on the grid it is offered again.
    frmZelChild* sheet = window->activeSheet();
    sheet->grdZel->setFocus();
    QTest::keyClicks(sheet->grdZel, QStringLiteral("1"));
    window->txtEditLine->setFocus();
    openMenu("mnuEdit");
    QVERIFY(!enabled("mnuEditReSub"));
    QTest::keyClick(sheet->txtEdit, Qt::Key_Escape);
    openMenu("mnuEdit");
    QVERIFY(enabled("mnuEditReSub"));
}

void TestMainWindow::toolbarConditions()
{
    window->tbrMenu_ButtonClick(QStringLiteral("btnFileOpen"));
    QCOMPARE(fixture->dialogs->opened.size(), 1); // open works with only the main window
    window->tbrMenu_ButtonClick(QStringLiteral("btnFileNew"));
    QCOMPARE(window->sheets().size(), 1);
    frmZelChild* sheet = window->activeSheet();
    GridState& grid = sheet->grdZel->state();
    enterCell(*sheet, 1, 1, QStringLiteral("1"));
    enterCell(*sheet, 2, 1, QStringLiteral("=A1+1"));
    window->tbrMenu_ButtonClick(QStringLiteral("btnFileSave"));
    QCOMPARE(fixture->dialogs->saved.size(), 1); // a changed new sheet asks for a name

    grid.setCurrent(5, 5);
    window->tbrMenu_ButtonClick(QStringLiteral("btnEditPaste"));
    QVERIFY(sheet->model().exWithoutMoving(5, 5).isEmpty()); // nothing copied
    grid.setCurrent(1, 1);
    window->tbrMenu_ButtonClick(QStringLiteral("btnEditCopy"));
    grid.setCurrent(5, 5);
    window->tbrMenu_ButtonClick(QStringLiteral("btnEditPaste"));
    QCOMPARE(sheet->model().exWithoutMoving(5, 5), QStringLiteral("1"));
    window->tbrMenu_ButtonClick(QStringLiteral("btnNoSuchKey"));

    // A menu entry greyed the last time its menu opened still runs from its button.
    enterCell(*sheet, 1, 1, QStringLiteral("5"));
    window->mnuEditReSub->setEnabled(false);
    window->tbrMenu_ButtonClick(QStringLiteral("btnEditReSub"));
    QCOMPARE(grid.textAt(2, 1), QStringLiteral("6"));
    QVERIFY(!window->mnuEditReSub->isEnabled());

    const QStringList order{
        "btnFileNew",  "btnFileOpen", "btnFileSave",  "", "btnEditReSub", "btnEditBack",
        "btnEditCopy", "btnEditCut",  "btnEditPaste", "", "btnHelpShow"};
    QStringList seen;
    for (QAction* a : window->tbrMenu->actions()) {
        seen.append(a->isSeparator() ? QString() : a->objectName());
    }
    QCOMPARE(seen, order);
    const auto* cut = window->tbrMenu->findChild<QAction*>(QStringLiteral("btnEditCut"));
    QCOMPARE(cut->text(), QStringLiteral("切取"));
    QCOMPARE(cut->toolTip(), QStringLiteral("切り取り"));
}

// A shortcut runs its entry exactly when the entry's menu would enable it now, ahead of the
// focused editor; a greyed entry leaves the key to the editor.
void TestMainWindow::shortcutsTakeTheirEntriesNow()
{
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));
    Q_EMIT window->mnuEdit->aboutToShow(); // no sheet: Copy and Paste greyed
    QTest::keyClick(window, Qt::Key_N, Qt::ControlModifier);
    QCOMPARE(window->sheets().size(), 1);
    frmZelChild* sheet = window->activeSheet();
    const GridState& grid = sheet->grdZel->state();
    QApplication::clipboard()->setText(QStringLiteral("clip"));
    sheet->grdZel->setFocus();
    QTest::keyClicks(sheet->grdZel, QStringLiteral("7"));
    QTest::keyClick(sheet->txtEdit, Qt::Key_Return); // A1 7, the editor open on A2
    QTest::keyClick(sheet->txtEdit, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(sheet->txtEdit->text(), QStringLiteral("clip")); // nothing copied: the editor pastes
    QTest::keyClick(sheet->txtEdit, Qt::Key_Escape);
    QTest::keyClick(sheet->grdZel, Qt::Key_Up);
    QTest::keyClick(sheet->grdZel, Qt::Key_C, Qt::ControlModifier);
    QVERIFY(window->editing().buffers().canPaste()); // Copy ran although greyed before
    QTest::keyClick(sheet->grdZel, Qt::Key_Down);
    QTest::keyClicks(sheet->grdZel, QStringLiteral("9"));
    QTest::keyClick(sheet->txtEdit, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(grid.textAt(2, 1), QStringLiteral("7")); // the block, not the clipboard's text
    QVERIFY(sheet->txtEdit->text().isEmpty());
}

void TestMainWindow::arrangements()
{
    window->mnuFileNew_Click();
    window->mnuFileNew_Click();
    window->mnuFileNew_Click();
    const QRect area = window->mdiArea->viewport()->rect();
    window->mnuWindowHorizontal_Click();
    int top = 0;
    for (QMdiSubWindow* w : window->mdiArea->subWindowList()) {
        QCOMPARE(w->geometry().left(), 0);
        QCOMPARE(w->geometry().width(), area.width());
        QCOMPARE(w->geometry().top(), top);
        top = w->geometry().bottom() + 1;
    }
    QCOMPARE(top, area.height());
    window->mnuWindowVertical_Click();
    int left = 0;
    for (QMdiSubWindow* w : window->mdiArea->subWindowList()) {
        QCOMPARE(w->geometry().top(), 0);
        QCOMPARE(w->geometry().height(), area.height());
        QCOMPARE(w->geometry().left(), left);
        left = w->geometry().right() + 1;
    }
    QCOMPARE(left, area.width());
    window->mnuWindowCascade_Click();
    const auto list = window->mdiArea->subWindowList();
    QVERIFY(list[1]->geometry().topLeft() != list[0]->geometry().topLeft());
    QVERIFY(!list[0]->isMaximized());
}

void TestMainWindow::versionDialog()
{
    frmAbout about(window);
    QCOMPARE(about.windowTitle(), QStringLiteral("表計算Tarn! のﾊﾞｰｼﾞｮﾝ情報"));
    QCOMPARE(about.lblVersion->text(), QStringLiteral("ﾊﾞｰｼﾞｮﾝ 0.9.5"));
    QCOMPARE(about.lblTitle->text(), QStringLiteral("表計算Tarn!"));
}

// The help command looks beside the program first; the test program stands in for it.
static QString helpBesideProgram()
{
    return QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("ZelTarn.hlp"));
}

void TestMainWindow::helpOpensAtContents()
{
    QFile::remove(helpBesideProgram());
    QVERIFY(QFile::copy(QStringLiteral(ZELTARN_HELP_SOURCE), helpBesideProgram()));
    window->mnuHelpShow->trigger();
    QFile::remove(helpBesideProgram());
    QVERIFY(messages->criticals.isEmpty());
    auto* help = window->findChild<HelpWindow*>();
    QVERIFY(help);
    QVERIFY(help->isVisible());
    QCOMPARE(help->parentWidget(), window);
    const QString text = help->browser()->toPlainText();
    QVERIFY(text.contains(QStringLiteral("目次")));
    QVERIFY(text.contains(QStringLiteral("索引")));
    QVERIFY(text.contains(QStringLiteral("Err0割り")));
    // A second request shows the same window again instead of another one.
    help->hide();
    QVERIFY(QFile::copy(QStringLiteral(ZELTARN_HELP_SOURCE), helpBesideProgram()));
    window->mnuHelpShow->trigger();
    QFile::remove(helpBesideProgram());
    QCOMPARE(window->findChildren<HelpWindow*>().size(), 1);
    QVERIFY(help->isVisible());
}

void TestMainWindow::missingHelpFileIsReported()
{
    if (QFileInfo::exists(QStringLiteral(ZELTARN_DATADIR "/ZelTarn.hlp"))) {
        QSKIP("an installed help file is present");
    }
    QFile::remove(helpBesideProgram());
    window->mnuHelpShow->trigger();
    QCOMPARE(messages->criticals.size(), 1);
    QVERIFY(messages->criticals[0].startsWith(QStringLiteral("ヘルプファイルが見つかりません！")));
    QVERIFY(!window->findChild<HelpWindow*>());
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
