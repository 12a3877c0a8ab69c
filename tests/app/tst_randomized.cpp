#include "chart/frmchart.h"
#include "chart/frmchartsel.h"
#include "files/sheetio.h"
#include "model/standalonesheet.h"
#include "testwindow.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QRandomGenerator>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QtTest>

// Thousands of random user steps on several sheets: menu commands, typing, keys, clicks and
// drags, saves and reloads. Nothing may crash or trip the sanitizers, and every saved file must
// load back to the expressions of the sheet that was saved. Seeded and bounded:
// ZEL_RANDOM_SEED picks the run, ZEL_RANDOM_STEPS and ZEL_RANDOM_SECONDS bound it.
class TestRandomized : public QObject
{
    Q_OBJECT

private slots:
    void randomSession();

private:
    void step();
    void typeSomething();
    void clickOrDrag();
    void menuCommand();
    void saveAndCompare();
    frmZelChild* sheet() const { return fixture->window->activeSheet(); }

    std::unique_ptr<TestWindow> fixture;
    QRandomGenerator random;
    QTemporaryDir dir;
    int saves = 0;
    int compared = 0;
};

void TestRandomized::randomSession()
{
    auto setting = [](const char* name, int fallback) {
        const int value = qEnvironmentVariableIntValue(name);
        return value > 0 ? value : fallback;
    };
    const quint32 seed = quint32(setting("ZEL_RANDOM_SEED", 20261207));
    const int steps = setting("ZEL_RANDOM_STEPS", 10000);
    const int seconds = setting("ZEL_RANDOM_SECONDS", 90);
    random.seed(seed);
    qInfo("seed %u, up to %d steps or %d s", seed, steps, seconds);
    fixture = std::make_unique<TestWindow>();
    fixture->window->mnuFileNew_Click();
    QElapsedTimer clock;
    clock.start();
    int done = 0;
    for (; done < steps && clock.elapsed() < seconds * 1000; ++done) {
        step();
        if (QTest::currentTestFailed()) {
            qWarning("failed at step %d of seed %u", done, seed);
            return;
        }
    }
    int filled = 0;
    for (frmZelChild* s : fixture->window->sheets()) {
        filled += s->model().usedExtent().first > 0 ? 1 : 0;
    }
    qInfo("%d steps, %d saves compared of %d, %d sheets with cells, %lld ms", done, compared, saves,
          filled, qint64(clock.elapsed()));
    QVERIFY(done > 100);
    QVERIFY(compared > 0);
    QVERIFY(filled > 0); // the steps reached the cells
    fixture.reset();
}

void TestRandomized::step()
{
    frmZel* window = fixture->window;
    const int what = int(random.bounded(100));
    if (!sheet() || what < 3) {
        if (window->app().OpenSheetCount < 10) {
            window->mnuFileNew_Click();
        }
        return;
    }
    if (what < 5 && window->sheets().size() > 1) {
        sheet()->setCloseAgreed(true);
        sheet()->parentWidget()->close();
        // A closed window goes when control returns to the event loop; the session has none,
        // so it lets closed windows go here, or they would pile up over the run.
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return;
    }
    if (what < 8) {
        const auto subs = window->mdiArea->subWindowList();
        window->mdiArea->setActiveSubWindow(subs[int(random.bounded(int(subs.size())))]);
        return;
    }
    if (what < 40) {
        typeSomething();
    } else if (what < 60) {
        clickOrDrag();
    } else if (what < 92) {
        menuCommand();
    } else {
        saveAndCompare();
    }
}

void TestRandomized::typeSomething()
{
    static const QStringList texts = {
        "12",       "-3.5",      "1E+20",   "=a1+b2",     "=SUM(A1:C3)", "=sum(b1:b9)/2",
        "=SIN(A1)", "=SQRT(B2)", "=PI()*2", "=1/0",       "=(1+2",       "=A1+",
        "売上",     "ｶﾀｶﾅ",      "a,b",     "say \"hi\"", "\"",          "00.00",
        "=A500+Z1", "=SUM(",     "x",       "",           "=ABS(",       "100.00"};
    const QString text = texts[int(random.bounded(int(texts.size())))];
    // Each key goes where the focus is at that moment; the first one may open the editor.
    for (const QChar ch : text) {
        QWidget* target = QApplication::focusWidget();
        if (!target || !target->isVisible()) {
            target = sheet()->grdZel;
        }
        if (ch.unicode() < 128) {
            QTest::keyClick(target, char(ch.unicode()));
        } else {
            QTest::sendKeyEvent(QTest::Click, target, Qt::Key_unknown, QString(ch), {});
        }
    }
    static const Qt::Key endings[] = {Qt::Key_Return,    Qt::Key_Return, Qt::Key_Escape,
                                      Qt::Key_Down,      Qt::Key_Right,  Qt::Key_Delete,
                                      Qt::Key_Backspace, Qt::Key_Tab};
    QWidget* now = QApplication::focusWidget() ? QApplication::focusWidget() : sheet()->grdZel;
    QTest::keyClick(now, endings[random.bounded(8)]);
}

void TestRandomized::clickOrDrag()
{
    SheetGrid* grid = sheet()->grdZel;
    QWidget* viewport = grid->viewport();
    const int top = grid->state().TopRow();
    const int left = grid->state().LeftCol();
    auto cell = [&] {
        return grid
            ->cellRect(std::min(500, top + int(random.bounded(8))),
                       std::min(26, left + int(random.bounded(5))))
            .center();
    };
    const QPoint from = cell();
    const int kind = int(random.bounded(4));
    if (kind == 0) {
        const QPoint to = cell();
        QTest::mousePress(viewport, Qt::LeftButton, {}, from);
        QTest::mouseMove(viewport, to);
        QTest::mouseRelease(viewport, Qt::LeftButton, {}, to);
    } else if (kind == 1) {
        QTest::mouseClick(viewport, Qt::LeftButton, {}, from);
        QTest::mouseDClick(viewport, Qt::LeftButton, {}, from);
        QTest::mouseRelease(viewport, Qt::LeftButton, {}, from);
    } else if (kind == 2) {
        grid->verticalScrollBar()->setValue(
            int(random.bounded(grid->verticalScrollBar()->maximum() + 1)));
    } else {
        QTest::mouseClick(viewport, Qt::LeftButton, {}, from);
    }
}

void TestRandomized::menuCommand()
{
    frmZel* window = fixture->window;
    static const char* const names[] = {
        "mnuEditReSub",     "mnuEditBack",         "mnuEditCopy",       "mnuEditCut",
        "mnuEditPaste",     "mnuEditDelete",       "mnuEditCopyClip",   "mnuEditPasteClip",
        "mnuEditCopyTable", "mnuSetDis75",         "mnuSetDis100",      "mnuSetDis125",
        "mnuWindowCascade", "mnuWindowHorizontal", "mnuWindowVertical", "mnuGraphShow"};
    const char* name = names[random.bounded(int(std::size(names)))];
    window->findChild<QAction*>(QLatin1String(name))->trigger();
    if (qstrcmp(name, "mnuGraphShow") == 0 && window->charts().chartSel() &&
        window->charts().chartSel()->isVisible()) {
        window->charts().chartSel()->optGraph[size_t(random.bounded(4))]->setChecked(true);
        QTest::mouseClick(window->charts().chartSel()->cmdGOK, Qt::LeftButton);
        if (window->charts().chart()) {
            window->charts().chart()->chtGraph->image();
            window->charts().chart()->close();
            QCoreApplication::processEvents();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
    }
}

void TestRandomized::saveAndCompare()
{
    frmZelChild* saved = sheet();
    const bool sheetFile = random.bounded(2) == 0;
    const QString path =
        dir.filePath(QStringLiteral("save%1.%2").arg(saves++).arg(sheetFile ? "zel" : "csv"));
    fixture->messages->criticals.clear();
    fixture->dialogs->choices.append(
        FileDialogs::Choice{path, sheetFile ? FileFilter::SheetFile : FileFilter::Csv});
    fixture->window->mnuFileSaveAs_Click();
    if (!fixture->messages->criticals.isEmpty()) {
        QVERIFY(!QFile::exists(path)); // a refused save writes nothing
        return;
    }
    StandaloneSheet loaded;
    QVERIFY(loadSheetFile(path, loaded.model).read);
    for (int r = 1; r <= 500; ++r) {
        for (int c = 1; c <= 26; ++c) {
            const QString& was = saved->model().exWithoutMoving(r, c);
            const QString& is = loaded.model.exWithoutMoving(r, c);
            if (was != is) {
                QFAIL(qPrintable(QStringLiteral("%1 cell %2,%3: saved [%4] loaded [%5]")
                                     .arg(path)
                                     .arg(r)
                                     .arg(c)
                                     .arg(was, is)));
            }
        }
    }
    ++compared;
}

QTEST_MAIN(TestRandomized)
#include "tst_randomized.moc"
