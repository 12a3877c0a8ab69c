#include "app/frmzel.h"
#include "calc/clscal.h"
#include "print/frmpreview.h"
#include "settings/dlgketa.h"
#include "sheet/celleditor.h"
#include "sheet/sheetgrid.h"
#include "testwindow.h"

#include <QComboBox>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// Bounding box, in pixels at dpi, of everything not white on the PDF's first page.
QRect inkOnPage(const QString& pdf, int dpi)
{
    const QString base = pdf + QStringLiteral("-page");
    if (QProcess::execute(QStringLiteral("pdftoppm"),
                          {QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-gray"),
                           QStringLiteral("-singlefile"), pdf, base}) != 0) {
        return {};
    }
    QImage page(base + QStringLiteral(".pgm"));
    QRect box;
    for (int y = 0; y < page.height(); ++y) {
        const uchar* line = page.constScanLine(y);
        for (int x = 0; x < page.width(); ++x) {
            if (line[x] < 250) {
                box |= QRect(x, y, 1, 1);
            }
        }
    }
    return box;
}

} // namespace

// Display sizes, the decimal places dialog, printing to a PDF file and the preview, offscreen.
class TestPrintSettings : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void displaySizes();
    void sizePerSheet();
    void sizeRefusedWhileEditing();
    void layoutChangesMarkChanged_data();
    void layoutChangesMarkChanged();
    void decimalPlaces();
    void printToPdf_data();
    void printToPdf();
    void printRefusalsAndCancel();
    void previewFollowsPage();

private:
    frmZelChild* sheet() const { return window->activeSheet(); }
    GridState& grid() const { return sheet()->grdZel->state(); }
    void enter(int row, int col, const QString& text);

    std::unique_ptr<TestWindow> fixture;
    frmZel* window = nullptr;
    FakeMessages* messages = nullptr;
    PdfPrintDialogs* printDialogs = nullptr;
};

void TestPrintSettings::init()
{
    fixture = std::make_unique<TestWindow>();
    window = fixture->window;
    messages = fixture->messages;
    auto dialogs = std::make_unique<PdfPrintDialogs>();
    printDialogs = dialogs.get();
    window->printing().setPrintDialogs(std::move(dialogs));
    window->mnuFileNew_Click();
}

void TestPrintSettings::cleanup()
{
    fixture.reset();
}

void TestPrintSettings::enter(int row, int col, const QString& text)
{
    enterCell(*sheet(), row, col, text);
}

void TestPrintSettings::displaySizes()
{
    grid().setColWidth(2, 2000); // widened by the user at 100％
    grid().setCurrent(7, 3);
    sheet()->model().clearChanged();
    struct Step
    {
        void (frmZel::*command)();
        float scale;
        int width, widened, heading, row;
        double font;
    };
    const Step steps[] = {
        {&frmZel::mnuSetDis125_Click, 1.25f, 1500, 2500, 750, 450, 16},
        {&frmZel::mnuSetDis75_Click, 0.75f, 900, 1500, 450, 270, 9},
        {&frmZel::mnuSetDis100_Click, 1.0f, 1200, 2000, 600, 360, 12},
    };
    for (const Step& step : steps) {
        (window->*step.command)();
        QCOMPARE(sheet()->model().displayScale(), step.scale);
        QCOMPARE(grid().ColWidth(1), step.width);
        QCOMPARE(grid().ColWidth(26), step.width);
        QCOMPARE(grid().ColWidth(2), step.widened);
        QCOMPARE(grid().ColWidth(0), step.heading);
        QCOMPARE(grid().RowHeight(0), step.row);
        QCOMPARE(grid().RowHeight(500), step.row);
        QCOMPARE(grid().FontSize(), step.font);
        QCOMPARE(grid().textAt(0, 3), QStringLiteral("C"));
        // The user's cell stays current, never a heading; typing into it is at the new size.
        QCOMPARE(grid().Row(), 7);
        QCOMPARE(grid().Col(), 3);
        sheet()->GridEdit(32);
        QCOMPARE(sheet()->txtEdit->font().pointSizeF(), step.font);
        sheet()->txtEdit->hide();
    }
    QVERIFY(sheet()->IsChanged()); // a new sheet's save keeps the size
    QVERIFY(grid().Redraw());
    QCOMPARE(grid().HighLight(), 1);
}

// Each sheet is resized from its own size, whatever another sheet chose.
void TestPrintSettings::sizePerSheet()
{
    frmZelChild* first = sheet();
    window->mnuFileNew_Click();
    frmZelChild* second = sheet();
    second->grdZel->state().setColWidth(3, 1234);
    window->mnuSetDis125_Click();
    QCOMPARE(grid().ColWidth(1), 1500);
    QCOMPARE(grid().ColWidth(3), 1542); // 1542.5, halves to even
    window->activate(*first);
    window->mnuSetDis75_Click();
    QCOMPARE(grid().ColWidth(1), 900);
    QCOMPARE(grid().RowHeight(1), 270);
    QCOMPARE(grid().FontSize(), 9.0);
    window->mnuSetDis125_Click();
    QCOMPARE(grid().ColWidth(1), 1500);
    QCOMPARE(grid().FontSize(), 16.0);
    window->mnuSetDis125_Click(); // the size it has: nothing
    QCOMPARE(grid().ColWidth(1), 1500);
    QCOMPARE(second->grdZel->state().ColWidth(1), 1500);
    QCOMPARE(second->model().layout().ColWidths[3], 1233); // 1542 / 1.25, cut to whole twips

    // The cell the user works on stays in view at a larger size.
    window->mnuSetDis75_Click();
    grid().setCurrent(30, 12);
    sheet()->grdZel->showCurrentCell();
    window->mnuSetDis125_Click();
    QVERIFY(sheet()->grdZel->viewport()->rect().contains(sheet()->grdZel->cellRect(30, 12)));
}

void TestPrintSettings::sizeRefusedWhileEditing()
{
    sheet()->GridEdit(32);
    window->mnuSetDis100_Click(); // already at 100％: nothing, not even the message
    QVERIFY(messages->criticals.isEmpty());
    window->mnuSetDis125_Click();
    QCOMPARE(messages->criticals,
             QStringList{QStringLiteral("セル入力中はサイズ変更できません！")});
    QCOMPARE(sheet()->model().displayScale(), 1.0f);
    QCOMPARE(grid().ColWidth(1), 1200);
}

void TestPrintSettings::layoutChangesMarkChanged_data()
{
    QTest::addColumn<QString>("file"); // empty: a new sheet
    QTest::addColumn<bool>("marked");
    QTest::newRow("new sheet") << QString() << true;
    QTest::newRow("sheet file") << "a.zel" << true;
    QTest::newRow("CSV, which keeps no layout") << "a.csv" << false;
}

// A display size the sheet's save keeps marks it changed.
void TestPrintSettings::layoutChangesMarkChanged()
{
    QFETCH(QString, file);
    QFETCH(bool, marked);
    QTemporaryDir dir;
    if (!file.isEmpty()) {
        QFile f(dir.filePath(file));
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write("\"1\"\r\n") > 0);
        f.close();
        QVERIFY(window->files().LoadSheetFile(f.fileName()));
    }
    QVERIFY(!sheet()->IsChanged());
    window->mnuSetDis125_Click();
    QCOMPARE(sheet()->IsChanged(), marked);
}

void TestPrintSettings::decimalPlaces()
{
    enter(1, 1, QStringLiteral("=1/3"));
    window->mnuSetDisKeta_Click();
    dlgKeta* dialog = window->display().keta();
    QVERIFY(dialog && dialog->isVisible() && !dialog->isModal());
    QCOMPARE(dialog->cboKeta->count(), 10);
    QCOMPARE(dialog->cboKeta->itemText(9), QStringLiteral("9"));
    QCOMPARE(dialog->cboKeta->currentIndex(), -1);
    dialog->cboKeta->setCurrentIndex(2);
    QTest::mouseClick(dialog->OKButton, Qt::LeftButton);
    QVERIFY(!dialog->isVisible());
    QCOMPARE(window->app().engine().RoundDigits(), qint16(2));
    enter(2, 1, QStringLiteral("=1/3"));
    QCOMPARE(grid().textAt(2, 1), QStringLiteral("0.33"));
    QCOMPARE(grid().textAt(1, 1), QStringLiteral("0.33333")); // not recomputed

    window->mnuSetDisKeta_Click();
    QCOMPARE(window->display().keta(), dialog);
    QCOMPARE(dialog->cboKeta->currentText(), QStringLiteral("2"));
    dialog->cboKeta->setCurrentIndex(7);
    QTest::mouseClick(dialog->CancelButton, Qt::LeftButton);
    QCOMPARE(window->app().engine().RoundDigits(), qint16(2));

    // OK with nothing ever chosen leaves the places as they were: it chooses nothing.
    dlgKeta fresh(nullptr);
    fresh.show();
    QSignalSpy chosen(&fresh, &dlgKeta::digitsChosen);
    QTest::mouseClick(fresh.OKButton, Qt::LeftButton);
    QVERIFY(!fresh.isVisible());
    QCOMPARE(chosen.size(), 0);
}

void TestPrintSettings::printToPdf_data()
{
    QTest::addColumn<bool>("large");
    QTest::newRow("100％") << false;
    QTest::newRow("125％") << true;
}

void TestPrintSettings::printToPdf()
{
    QFETCH(bool, large);
    QTemporaryDir dir;
    printDialogs->path = dir.filePath(QStringLiteral("page.pdf"));
    enter(2, 2, QStringLiteral("12"));
    enter(3, 3, QStringLiteral("=B2*2"));
    if (large) {
        window->mnuSetDis125_Click();
    }
    grid().setTopRow(30);
    grid().setCurrent(3, 3);
    grid().setRowSel(2); // B2:C3, selected upward
    grid().setColSel(2);
    const GridState before = grid();
    window->mnuFilePrint_Click();
    QVERIFY(messages->criticals.isEmpty());

    const int dpi = 144;
    const QRect ink = inkOnPage(printDialogs->path, dpi);
    QVERIFY2(!ink.isEmpty(), "nothing printed, or pdftoppm missing");
    const double scale = large ? 1.25 : 1.0;
    auto px = [](double twips) { return twips * dpi / 1440; };
    QVERIFY2(qAbs(ink.left() - px(100)) <= 2 && qAbs(ink.top() - px(100)) <= 2,
             qPrintable(QStringLiteral("block at %1,%2").arg(ink.left()).arg(ink.top())));
    const double width = px(25 + 2 * 1200 * scale);
    const double height = px(23 + 2 * 360 * scale);
    QVERIFY2(qAbs(ink.width() - width) <= 2 && qAbs(ink.height() - height) <= 2,
             qPrintable(QStringLiteral("block %1 x %2, expected %3 x %4")
                            .arg(ink.width())
                            .arg(ink.height())
                            .arg(width)
                            .arg(height)));

    for (int c = 0; c < grid().Cols(); ++c) {
        QCOMPARE(grid().ColWidth(c), before.ColWidth(c));
    }
    for (int r = 0; r < grid().Rows(); ++r) {
        QCOMPARE(grid().RowHeight(r), before.RowHeight(r));
    }
    QCOMPARE(grid().TopRow(), 30);
    QCOMPARE(grid().HighLight(), before.HighLight());
    QVERIFY(grid().Redraw());
}

void TestPrintSettings::printRefusalsAndCancel()
{
    QTemporaryDir dir;
    grid().setCurrent(2, 2); // a single cell is no print range
    window->mnuFilePrint_Click();
    window->mnuFilePreview_Click();
    QCOMPARE(messages->criticals, QStringList(2, QStringLiteral("印刷範囲が選択されていません！")));
    QCOMPARE(printDialogs->asked, 0);
    QVERIFY(!window->printing().preview());

    grid().setRowSel(4);
    printDialogs->path.clear(); // Cancel
    window->mnuFilePrint_Click();
    QCOMPARE(printDialogs->asked, 1);
    QCOMPARE(messages->criticals.size(), 2);
    QVERIFY(QDir(dir.path()).isEmpty());
}

void TestPrintSettings::previewFollowsPage()
{
    enter(1, 1, QStringLiteral("x"));
    grid().setCurrent(1, 1);
    grid().setRowSel(3);
    grid().setColSel(2);
    QSize box;
    QSize windowSize;
    bool shown = false;
    QTimer::singleShot(0, this, [&] {
        frmPreview* preview = window->printing().preview();
        shown = preview && preview->isVisible() && preview->isModal();
        box = preview->PreviewPicture->size();
        windowSize = preview->size();
        QCOMPARE(preview->windowTitle(), QStringLiteral("プレビュー"));
        QTest::mouseClick(preview->cmdPreview, Qt::LeftButton); // 閉じる hides it
    });
    window->mnuFilePreview_Click();
    QVERIFY(shown);
    QVERIFY(!window->printing().preview()->isVisible());
    const double dpi = window->logicalDpiX();
    const QSizeF page = pageTwips(window->printing().printer()).size;
    QVERIFY(qAbs(box.width() - page.width() / 2 * dpi / 1440) <= 1);
    QVERIFY(qAbs(box.height() - page.height() / 2 * dpi / 1440) <= 1);
    QVERIFY(qAbs(windowSize.width() - box.width() - 400 * dpi / 1440) <= 1);
    QVERIFY(qAbs(windowSize.height() - box.height() - 1200 * dpi / 1440) <= 1);
    QCOMPARE(grid().RowSel(), 3);
}

QTEST_MAIN(TestPrintSettings)
#include "tst_printsettings.moc"
