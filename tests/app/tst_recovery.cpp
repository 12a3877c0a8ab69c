#include "files/recovery.h"
#include "sheet/sheetgrid.h"
#include "testwindow.h"

#include <QDir>
#include <QFile>
#include <QtTest>

// Recovery copies in the program: written about two seconds after a change, every character
// kept, gone when the sheet is closed; offered at the next start, restored or deleted.
class TestRecovery : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void copyFollowsChanges();
    void restoreAtStart_data();
    void restoreAtStart();

private:
    RecoveryStore& store() { return fixture->window->app().recovery(); }

    std::unique_ptr<TestWindow> fixture;
};

void TestRecovery::init()
{
    fixture = std::make_unique<TestWindow>();
    QDir(store().folder()).removeRecursively();
}

void TestRecovery::cleanup()
{
    fixture.reset();
}

void TestRecovery::copyFollowsChanges()
{
    frmZel* window = fixture->window;
    window->mnuFileNew_Click();
    frmZelChild* sheet = window->activeSheet();
    enterCell(*sheet, 1, 1, QStringLiteral("=1+2"));
    enterCell(*sheet, 2, 3, QStringLiteral("売上 € ☃")); // beyond what Shift-JIS holds
    QVERIFY(store().existing().isEmpty()); // not at once: about two seconds after the change
    QTRY_VERIFY_WITH_TIMEOUT(!store().existing().isEmpty(), 5000);
    store().waitForDone();
    QFile file(store().existing().front());
    QVERIFY(file.open(QIODevice::ReadOnly));
    const std::optional<RecoveryCopy> copy = readRecoveryCopy(file.readAll());
    QVERIFY(copy);
    QCOMPARE(copy->caption, QStringLiteral("New-Sheet1"));
    QVERIFY(copy->path.isEmpty());
    QCOMPARE(copy->cells.size(), size_t(2));
    QCOMPARE(copy->cells[1].expression, QStringLiteral("売上 € ☃"));

    // Closed without saving: nothing is left to recover.
    fixture->messages->answers = {Messages::Answer::No};
    const QPointer<frmZelChild> gone(sheet);
    sheet->parentWidget()->close();
    QTRY_VERIFY(!gone);
    store().waitForDone();
    QVERIFY(store().existing().isEmpty());
}

void TestRecovery::restoreAtStart_data()
{
    QTest::addColumn<bool>("yes");
    QTest::newRow("restored") << true;
    QTest::newRow("declined") << false;
}

// Copies an earlier run left: one of a saved sheet, a second of the same file (two windows held
// it then), one never saved, and one that does not read. Yes brings the first back under its
// file, the second as a new sheet (one file, one window), the third as it was, and names the
// fourth; No deletes them all.
void TestRecovery::restoreAtStart()
{
    QFETCH(bool, yes);
    const QString saved = QDir::temp().filePath(QStringLiteral("zeltarn-recovered.zel"));
    RecoveryCopy withPath{saved,
                          saved,
                          SheetLayout{0.75f, {}},
                          {{1, 1, QStringLiteral("4")}, {1, 2, QStringLiteral("=A1*2")}}};
    withPath.layout.ColWidths.fill(1000);
    RecoveryCopy unsaved{
        QStringLiteral("New-Sheet3"), QString(), SheetLayout(), {{2, 2, QStringLiteral("x")}}};
    QDir().mkpath(store().folder());
    const QString bad =
        QDir(store().folder()).filePath(QStringLiteral("00000000000003-0001.zelrec"));
    store().write(QStringLiteral("00000000000001-0001.zelrec"), withPath);
    store().write(QStringLiteral("00000000000001-0002.zelrec"), withPath);
    store().write(QStringLiteral("00000000000002-0001.zelrec"), unsaved);
    store().waitForDone();
    QFile broken(bad);
    QVERIFY(broken.open(QIODevice::WriteOnly));
    broken.write("{\"format\":");
    broken.close();

    frmZel* window = fixture->window;
    fixture->messages->answers = {yes ? Messages::Answer::Yes : Messages::Answer::No};
    window->files().recoverSheets();
    QCOMPARE(fixture->messages->questions,
             QStringList{
                 QStringLiteral("前回終了時に保存されていないシートがあります。復元しますか？")});
    if (!yes) {
        QVERIFY(window->sheets().isEmpty());
        QVERIFY(store().existing().isEmpty());
        return;
    }
    QCOMPARE(window->sheets().size(), 3);
    frmZelChild* first = window->sheets().front();
    QCOMPARE(first->windowTitle(), saved);
    QCOMPARE(first->grdZel->state().textAt(1, 2), QStringLiteral("8"));
    QCOMPARE(first->grdZel->state().ColWidth(3), 750);
    QVERIFY(first->IsChanged());
    frmZelChild* twin = window->sheets().at(1);
    QCOMPARE(twin->windowTitle(), QStringLiteral("New-Sheet1"));
    QCOMPARE(twin->grdZel->state().textAt(1, 2), QStringLiteral("8"));
    QVERIFY(twin->IsChanged());
    QCOMPARE(window->app().sheetHolding(saved), first->Tag);
    frmZelChild* last = window->sheets().back();
    QCOMPARE(last->windowTitle(), QStringLiteral("New-Sheet2"));
    QCOMPARE(last->model().exWithoutMoving(2, 2), QStringLiteral("x"));
    QCOMPARE(fixture->messages->criticals,
             QStringList{QStringLiteral("復元できないシートがあります！\r\n") + bad});
    QCOMPARE(store().existing().size(), 4); // the restored sheets keep theirs until saved or closed
}

QTEST_MAIN(TestRecovery)
#include "tst_recovery.moc"
