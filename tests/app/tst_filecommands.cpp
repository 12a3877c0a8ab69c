#include "app/frmzel.h"
#include "files/sheetio.h"
#include "sheet/celleditor.h"
#include "sheet/sheetgrid.h"
#include "testwindow.h"

#include <QDropEvent>
#include <QMdiSubWindow>
#include <QMimeData>
#include <QTemporaryDir>
#include <QtTest>

// The main window's file commands offscreen: the order of Open's checks and its messages,
// Save and Save As with the names they complete, failed saves, the close prompt's save, the
// file named on the command line and dropped files.
class TestFileCommands : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void openRefusals_data();
    void openRefusals();
    void openLoadsAndRefusesDuplicate();
    void unreadableFileLeavesNoSheet();
    void overflowIsReported();
    void saveOnUnchangedOrCancelled();
    void saveAsCompletesName_data();
    void saveAsCompletesName();
    void failedSavesKeepSheetChanged();
    void closePromptSaves();
    void oneFileOneWindow();
    void bookSavesAndOpens();
    void commandLine_data();
    void commandLine();
    void drops();

private:
    QString write(const QString& name, const QByteArray& bytes);
    QByteArray read(const QString& name) const;
    QString path(const QString& name) const { return dir->filePath(name); }
    frmZelChild* changedNewSheet();
    void drop(const QStringList& names);

    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<TestWindow> fixture;
    frmZel* window = nullptr;
    FakeMessages* messages = nullptr;
    FakeFileDialogs* dialogs = nullptr;
};

void TestFileCommands::init()
{
    dir = std::make_unique<QTemporaryDir>();
    QVERIFY(dir->isValid());
    fixture = std::make_unique<TestWindow>();
    window = fixture->window;
    messages = fixture->messages;
    dialogs = fixture->dialogs;
}

void TestFileCommands::cleanup()
{
    fixture.reset();
    dir.reset();
}

QString TestFileCommands::write(const QString& name, const QByteArray& bytes)
{
    QFile file(path(name));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        qFatal("cannot write a test file");
    }
    return path(name);
}

QByteArray TestFileCommands::read(const QString& name) const
{
    QFile file(name.startsWith(QLatin1Char('/')) ? name : path(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

frmZelChild* TestFileCommands::changedNewSheet()
{
    frmZelChild* sheet = window->NewSheet();
    sheet->grdZel->state().setCurrent(2, 2);
    sheet->txtEdit->setText(QStringLiteral("=1+2"));
    sheet->EnterCell();
    return sheet;
}

// A file of exactly that many bytes: one quoted field of filler, CR LF.
static QByteArray fileOfSize(qint64 size)
{
    return '"' + QByteArray(size - 4, 'x') + "\"\r\n";
}

void TestFileCommands::openRefusals_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("message");
    QTest::newRow("capital CSV") << "a.CSV" << QByteArray("\"1\"")
                                 << "このファイルは開くことができません！";
    QTest::newRow("other ending") << "a.dat" << QByteArray("\"1\"")
                                  << "このファイルは開くことができません！";
    QTest::newRow("16 MiB and a byte") << "big.csv" << fileOfSize(MaxSheetFileSize + 1)
                                       << "ファイルが大きすぎるため開くことができません！";
    QTest::newRow("no such file") << "gone.csv" << QByteArray()
                                  << "ファイルが大きすぎるため開くことができません！";
}

void TestFileCommands::openRefusals()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, message);
    if (!bytes.isEmpty()) {
        write(name, bytes);
    }
    dialogs->choices.append(FileDialogs::Choice{path(name), FileFilter::AllFiles});
    window->mnuFileOpen_Click();
    QCOMPARE(messages->criticals, QStringList{message});
    QVERIFY(window->sheets().isEmpty());
    QCOMPARE(window->app().OpenSheetCount, 0);
}

void TestFileCommands::openLoadsAndRefusesDuplicate()
{
    // Ten sheets: the limit comes before any dialog.
    for (int i = 0; i < 10; ++i) {
        window->NewSheet();
    }
    window->mnuFileOpen_Click();
    QCOMPARE(messages->criticals,
             QStringList{QStringLiteral("1度に開くことのできるシートの数は10です！")});
    QVERIFY(dialogs->opened.isEmpty());
    for (frmZelChild* s : window->sheets()) {
        s->setCloseAgreed(true);
        s->parentWidget()->close();
    }
    QCOMPARE(window->app().OpenSheetCount, 0);
    messages->criticals.clear();

    // A cancelled dialog says nothing.
    window->mnuFileOpen_Click();
    QVERIFY(messages->criticals.isEmpty());

    QByteArray bytes = "\"=B1*2\",\"4\"\r\n";
    bytes += QByteArray(MaxSheetFileSize - bytes.size() - 4, ' ').prepend('"').append("\"\r\n");
    const QString file = write(QStringLiteral("ok.csv"), bytes.left(MaxSheetFileSize));
    QCOMPARE(QFileInfo(file).size(), MaxSheetFileSize);
    dialogs->choices.append(FileDialogs::Choice{file, FileFilter::Csv});
    window->mnuFileOpen_Click();
    QVERIFY(messages->criticals.isEmpty());
    frmZelChild* sheet = window->activeSheet();
    QVERIFY(sheet);
    QCOMPARE(sheet->windowTitle(), file);
    QCOMPARE(sheet->grdZel->state().textAt(1, 1), QStringLiteral("8")); // the second pass saw B1
    QVERIFY(!sheet->IsChanged());
    QVERIFY(sheet->txtEdit->text().isEmpty());
    QVERIFY(window->app().OpenSheetNames.contains(file));
    QCOMPARE(dialogs->opened.last(), QString()); // Open empties the dialog's name first

    dialogs->choices.append(FileDialogs::Choice{file, FileFilter::Csv});
    window->mnuFileOpen_Click();
    QCOMPARE(messages->criticals,
             QStringList{QStringLiteral("そのファイルはすでに開いています！")});
    QCOMPARE(window->sheets().size(), 1);

    // Once its window is closed, the same path opens again.
    sheet->parentWidget()->close();
    dialogs->choices.append(FileDialogs::Choice{file, FileFilter::Csv});
    window->mnuFileOpen_Click();
    QCOMPARE(window->sheets().size(), 1);
    QCOMPARE(messages->criticals.size(), 1);
}

void TestFileCommands::unreadableFileLeavesNoSheet()
{
    QVERIFY(!window->files().LoadSheetFile(path(QStringLiteral("missing/a.zel"))));
    QCOMPARE(messages->criticals,
             QStringList{QStringLiteral("このファイルは開くことができません！")});
    QTest::qWait(0);
    QVERIFY(window->sheets().isEmpty());
    QCOMPARE(window->app().OpenSheetCount, 0);
    QVERIFY(!window->app().OpenSheetNames.contains(path(QStringLiteral("missing/a.zel"))));
}

void TestFileCommands::overflowIsReported()
{
    QByteArray bytes;
    for (int r = 1; r <= 501; ++r) {
        bytes += QByteArray::number(r) + "\r\n";
    }
    frmZelChild* sheet = window->files().LoadSheetFile(write(QStringLiteral("long.csv"), bytes));
    QVERIFY(sheet);
    QCOMPARE(messages->informations,
             QStringList{QStringLiteral("シートに入りきらないデータは読み込まれませんでした！")});
    QCOMPARE(sheet->grdZel->state().textAt(500, 1), QStringLiteral("500"));
}

void TestFileCommands::saveOnUnchangedOrCancelled()
{
    frmZelChild* sheet = window->NewSheet();
    window->mnuFileSave_Click(); // unchanged: no dialog, no file
    QVERIFY(dialogs->saved.isEmpty());

    sheet = changedNewSheet();
    window->mnuFileSave_Click(); // a new sheet goes through Save As; cancelled
    QCOMPARE(dialogs->saved.size(), 1);
    QVERIFY(sheet->IsChanged());
    QVERIFY(sheet->windowTitle().startsWith(QLatin1String("New-Sheet")));
    QVERIFY(QDir(dir->path()).isEmpty());
}

void TestFileCommands::saveAsCompletesName_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<FileFilter>("filter");
    QTest::addColumn<QString>("written");
    QTest::addColumn<bool>("trailer");
    using F = FileFilter;
    QTest::newRow("sheet file") << "abc" << F::SheetFile << "abc.zel" << true;
    QTest::newRow("sheet file after .csv") << "abc.csv" << F::SheetFile << "abc.csv.zel" << true;
    QTest::newRow("csv after .zel") << "abc.zel" << F::Csv << "abc.zel.csv" << false;
    QTest::newRow("csv") << "abc.csv" << F::Csv << "abc.csv" << false;
    QTest::newRow("all files, as typed") << "abc.txt" << F::AllFiles << "abc.txt" << false;
    QTest::newRow("all files, sheet file") << "abc.zel" << F::AllFiles << "abc.zel" << true;
    QTest::newRow("all files, no ending Open takes")
        << "plain" << F::AllFiles << "plain.csv" << false;
    QTest::newRow("all files, capital ending")
        << "DATA.CSV" << F::AllFiles << "DATA.CSV.csv" << false;
}

void TestFileCommands::saveAsCompletesName()
{
    QFETCH(QString, typed);
    QFETCH(FileFilter, filter);
    QFETCH(QString, written);
    QFETCH(bool, trailer);
    frmZelChild* sheet = changedNewSheet();
    dialogs->choices.append(FileDialogs::Choice{path(typed), filter});
    window->mnuFileSaveAs_Click();
    QVERIFY(messages->criticals.isEmpty());
    QCOMPARE(sheet->windowTitle(), path(written));
    QVERIFY(!sheet->IsChanged());
    const QByteArray bytes = read(written);
    QVERIFY(bytes.startsWith("\"\",\"\"\r\n\"\",\"=1+2\"\r\n"));
    QCOMPARE(bytes.contains("\"00.00\"\r\n"), trailer);

    // The next Save after a change writes to the new name; Save As starts with the last name.
    sheet->grdZel->state().setCurrent(1, 1);
    sheet->txtEdit->setText(QStringLiteral("x"));
    sheet->EnterCell();
    window->mnuFileSave_Click();
    QVERIFY(read(written).startsWith("\"x\",\"\"\r\n"));
    window->mnuFileSaveAs_Click();
    QCOMPARE(dialogs->saved.last(), path(typed));
}

void TestFileCommands::failedSavesKeepSheetChanged()
{
    frmZelChild* sheet = changedNewSheet();
    const QString target = path(QStringLiteral("no-such-folder/a.zel"));
    dialogs->choices.append(FileDialogs::Choice{target, FileFilter::SheetFile});
    window->mnuFileSaveAs_Click();
    QCOMPARE(messages->criticals,
             QStringList{QStringLiteral("ファイルを保存できませんでした！\r\n") + target});
    QVERIFY(sheet->IsChanged());
    QVERIFY(sheet->windowTitle().startsWith(QLatin1String("New-Sheet")));

    // A character Shift-JIS cannot hold: nothing written, the old file kept.
    const QString existing = write(QStringLiteral("keep.csv"), "\"old\"\r\n");
    sheet->grdZel->state().setCurrent(3, 4);
    sheet->txtEdit->setText(QStringLiteral("café"));
    sheet->EnterCell();
    messages->criticals.clear();
    dialogs->choices.append(FileDialogs::Choice{existing, FileFilter::Csv});
    window->mnuFileSaveAs_Click();
    QCOMPARE(messages->criticals,
             QStringList{QStringLiteral("Shift-JISで保存できない文字があります！\r\n D 3")});
    QCOMPARE(read(existing), QByteArray("\"old\"\r\n"));
    QVERIFY(sheet->IsChanged());
}

void TestFileCommands::closePromptSaves()
{
    frmZelChild* fresh = changedNewSheet();
    messages->answers = {Messages::Answer::Yes};
    dialogs->choices.append(
        FileDialogs::Choice{path(QStringLiteral("fresh")), FileFilter::SheetFile});
    QVERIFY(fresh->parentWidget()->close());
    QVERIFY(read(QStringLiteral("fresh.zel")).contains("\"=1+2\""));

    const QString file = write(QStringLiteral("loaded.csv"), "\"1\"\r\n");
    frmZelChild* loaded = window->files().LoadSheetFile(file);
    loaded->grdZel->state().setCurrent(1, 2);
    loaded->txtEdit->setText(QStringLiteral("2"));
    loaded->EnterCell();
    messages->answers = {Messages::Answer::Yes};
    QVERIFY(loaded->parentWidget()->close());
    QCOMPARE(read(file), QByteArray("\"1\",\"2\"\r\n"));
    QCOMPARE(dialogs->saved.size(), 1);
}

// The duplicate test follows the file each sheet is saved under now, by any name of it; a save
// onto another window's file is refused and writes nothing.
void TestFileCommands::oneFileOneWindow()
{
    const QString a = write(QStringLiteral("a.csv"), "\"1\"\r\n");
    QVERIFY(QDir(dir->path()).mkdir(QStringLiteral("sub")));
    QVERIFY(QFile::link(a, path(QStringLiteral("link.csv"))));
    auto open = [this](const QString& name) {
        dialogs->choices.append(FileDialogs::Choice{path(name), FileFilter::Csv});
        window->mnuFileOpen_Click();
    };
    const QString held = QStringLiteral("そのファイルはすでに開いています！");
    open(QStringLiteral("link.csv")); // the link's own path is the caption
    frmZelChild* first = window->activeSheet();
    open(QStringLiteral("sub/../a.csv"));
    QCOMPARE(messages->criticals, QStringList{held});

    // Saved as b.csv, the sheet holds b.csv and no longer a.csv.
    first->grdZel->state().setCurrent(1, 2);
    first->txtEdit->setText(QStringLiteral("2"));
    first->EnterCell();
    dialogs->choices.append(FileDialogs::Choice{path(QStringLiteral("b.csv")), FileFilter::Csv});
    window->mnuFileSaveAs_Click();
    open(QStringLiteral("b.csv"));
    QCOMPARE(messages->criticals.size(), 2);
    open(QStringLiteral("a.csv"));
    QCOMPARE(window->sheets().size(), 2);
    QCOMPARE(messages->criticals.size(), 2);

    // The second window cannot save over the first's file, nor can a closing new sheet.
    frmZelChild* second = window->activeSheet();
    second->txtEdit->setText(QStringLiteral("x"));
    second->EnterCell();
    dialogs->choices.append(FileDialogs::Choice{path(QStringLiteral("b.csv")), FileFilter::Csv});
    window->mnuFileSaveAs_Click();
    QCOMPARE(messages->criticals.size(), 3);
    QCOMPARE(read(QStringLiteral("b.csv")), QByteArray("\"1\",\"2\"\r\n"));
    QCOMPARE(second->windowTitle(), path(QStringLiteral("a.csv")));
    frmZelChild* fresh = changedNewSheet();
    messages->answers = {Messages::Answer::Yes};
    dialogs->choices.append(FileDialogs::Choice{path(QStringLiteral("b.csv")), FileFilter::Csv});
    QVERIFY(!fresh->parentWidget()->close());
    QCOMPARE(messages->criticals, (QStringList{held, held, held, held}));
    QCOMPARE(read(QStringLiteral("b.csv")), QByteArray("\"1\",\"2\"\r\n"));

    // Saving onto its own file is no clash.
    dialogs->choices.append(FileDialogs::Choice{path(QStringLiteral("a.csv")), FileFilter::Csv});
    window->activate(*second);
    window->mnuFileSaveAs_Click();
    QCOMPARE(messages->criticals.size(), 4);
    QCOMPARE(read(QStringLiteral("a.csv")), QByteArray("\"x\"\r\n"));
}

// The book filter appends .xlsx; a book's Save writes a book again, and Open reads it back,
// telling how many formulas came in as values.
void TestFileCommands::bookSavesAndOpens()
{
    frmZelChild* sheet = changedNewSheet();
    dialogs->choices.append(FileDialogs::Choice{path(QStringLiteral("book")), FileFilter::Book});
    window->mnuFileSaveAs_Click();
    QCOMPARE(sheet->windowTitle(), path(QStringLiteral("book.xlsx")));
    QVERIFY(read(QStringLiteral("book.xlsx")).startsWith("PK"));
    sheet->grdZel->state().setCurrent(1, 1);
    sheet->txtEdit->setText(QStringLiteral("7"));
    sheet->EnterCell();
    window->mnuFileSave_Click();
    QVERIFY(read(QStringLiteral("book.xlsx")).startsWith("PK"));
    sheet->parentWidget()->close();
    QTest::qWait(0);

    dialogs->choices.append(
        FileDialogs::Choice{path(QStringLiteral("book.xlsx")), FileFilter::Book});
    window->mnuFileOpen_Click();
    QVERIFY(messages->criticals.isEmpty());
    QCOMPARE(window->sheets().size(), 1);
    frmZelChild* opened = window->activeSheet();
    QCOMPARE(opened->windowTitle(), path(QStringLiteral("book.xlsx")));
    QCOMPARE(opened->model().exWithoutMoving(1, 1), QStringLiteral("7"));
    QCOMPARE(opened->grdZel->state().textAt(2, 2), QStringLiteral("3"));
    QVERIFY(messages->informations.isEmpty()); // every formula was one of ours
}

void TestFileCommands::commandLine_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message"); // empty: the file opens
    const QString tooLarge = QStringLiteral("ファイルが大きすぎる、もしくは２つ以上のファイルが\rド"
                                            "ロップされたため開くことができません！");
    QTest::newRow("relative path") << QStringList{"sub/../a.csv"} << QString();
    QTest::newRow("capital ending") << QStringList{"B.CSV"} << QString();
    QTest::newRow("other ending") << QStringList{"c.dat"} << "このファイルは開くことができません！";
    QTest::newRow("16 MiB") << QStringList{"exact.csv"} << QString();
    QTest::newRow("16 MiB and a byte") << QStringList{"big.csv"} << tooLarge + "%DIR%/big.csv";
    QTest::newRow("two paths") << QStringList{"a.csv", "B.CSV"} << tooLarge + "a.csv B.CSV";
}

void TestFileCommands::commandLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);
    write(QStringLiteral("a.csv"), "\"1\"\r\n");
    write(QStringLiteral("B.CSV"), "\"2\"\r\n");
    write(QStringLiteral("c.dat"), "\"3\"\r\n");
    if (arguments.contains(QLatin1String("exact.csv"))) {
        write(QStringLiteral("exact.csv"), fileOfSize(MaxSheetFileSize));
    }
    if (arguments.contains(QLatin1String("big.csv"))) {
        write(QStringLiteral("big.csv"), fileOfSize(MaxSheetFileSize + 1));
    }
    QDir(dir->path()).mkdir(QStringLiteral("sub"));
    window->files().openCommandLine(arguments, QDir(dir->path()));
    if (message.isEmpty()) {
        QVERIFY(messages->criticals.isEmpty());
        QCOMPARE(window->sheets().size(), 1);
        const QString expected = QDir::cleanPath(path(arguments.front()));
        QCOMPARE(window->activeSheet()->windowTitle(), expected);
        QVERIFY(!window->activeSheet()->IsChanged());
    } else {
        QCOMPARE(messages->criticals,
                 QStringList{message.replace(QLatin1String("%DIR%"), dir->path())});
        QVERIFY(window->sheets().isEmpty());
    }
}

void TestFileCommands::drop(const QStringList& names)
{
    QMimeData data;
    QList<QUrl> urls;
    for (const QString& name : names) {
        urls.append(QUrl::fromLocalFile(path(name)));
    }
    data.setUrls(urls);
    QDragEnterEvent enter(QPoint(200, 200), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window, &enter);
    QDropEvent event(QPointF(200, 200), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window, &event);
}

void TestFileCommands::drops()
{
    write(QStringLiteral("one.csv"), "\"1\"\r\n");
    write(QStringLiteral("two.csv"), "\"2\"\r\n");
    write(QStringLiteral("data.dat"), "\"3\"\r\n");
    write(QStringLiteral("big.csv"), fileOfSize(MaxSheetFileSize + 1));

    drop({QStringLiteral("one.csv"), QStringLiteral("two.csv"), QStringLiteral("data.dat")});
    QCOMPARE(window->sheets().size(), 1);
    QCOMPARE(window->activeSheet()->windowTitle(), path(QStringLiteral("one.csv")));

    // No extension test: any file opens; but a file open already is not opened twice.
    drop({QStringLiteral("data.dat")});
    QCOMPARE(window->sheets().size(), 2);
    QCOMPARE(window->activeSheet()->grdZel->state().textAt(1, 1), QStringLiteral("3"));
    QVERIFY(messages->criticals.isEmpty());
    drop({QStringLiteral("one.csv")});
    QCOMPARE(messages->criticals,
             QStringList{QStringLiteral("そのファイルはすでに開いています！")});
    QCOMPARE(window->sheets().size(), 2);

    drop({QStringLiteral("big.csv")});
    QCOMPARE(messages->criticals.last(),
             QStringLiteral("ファイルが大きすぎるため開くことができません！"));
    QCOMPARE(window->sheets().size(), 2);
}

QTEST_MAIN(TestFileCommands)
#include "tst_filecommands.moc"
