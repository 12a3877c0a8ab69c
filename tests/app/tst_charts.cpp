#include "app/frmzel.h"
#include "chart/chartlayout.h"
#include "chart/chartpatterns.h"
#include "chart/frmchart.h"
#include "chart/frmchartsel.h"
#include "sheet/celleditor.h"
#include "sheet/sheetgrid.h"
#include "testwindow.h"

#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// Whether any pixel of the rectangle is not white.
bool hasInk(const QImage& image, const QRect& rect)
{
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        for (int x = rect.left(); x <= rect.right(); ++x) {
            if (image.rect().contains(x, y) && image.pixel(x, y) != qRgb(255, 255, 255)) {
                return true;
            }
        }
    }
    return false;
}

} // namespace

// Charts offscreen: the data read from a block, the dialog's defaults and memory, the menu
// enabling, the black-and-white appearances, value labels, the four types drawn in colour and
// black and white, and the chart printed to a PDF file.
class TestCharts : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void dataOfBlock();
    void dialogRemembersChoices();
    void menuFollowsChartWindow();
    void monoAppearancesDistinct();
    void valueLabels_data();
    void valueLabels();
    void titleSizes();
    void renderedTypes_data();
    void renderedTypes();
    void chartPrintLeavesSheetPrinter();

private:
    frmZelChild* sheet() const { return window->activeSheet(); }
    GridState& grid() const { return sheet()->grdZel->state(); }
    void enter(int row, int col, const QString& text);
    void fillExample();
    void openChart();

    std::unique_ptr<TestWindow> fixture;
    frmZel* window = nullptr;
    FakeMessages* messages = nullptr;
};

void TestCharts::init()
{
    fixture = std::make_unique<TestWindow>();
    window = fixture->window;
    messages = fixture->messages;
    window->mnuFileNew_Click();
}

void TestCharts::cleanup()
{
    fixture.reset();
}

void TestCharts::enter(int row, int col, const QString& text)
{
    enterCell(*sheet(), row, col, text);
}

// A1:C4: names in row 1, months in column A, numbers (typed and computed) elsewhere.
void TestCharts::fillExample()
{
    const char* cells[4][3] = {
        {"", "売上", "経費"}, {"4月", "120", "=40*2"}, {"5月", "150.6", "95"}, {"6月", "x", "-20"}};
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 3; ++c) {
            enter(r + 1, c + 1, QString::fromUtf8(cells[r][c]));
        }
    }
}

void TestCharts::openChart()
{
    window->mnuGraphShow_Click();
    QVERIFY(window->charts().chartSel());
    QTest::mouseClick(window->charts().chartSel()->cmdGOK, Qt::LeftButton);
    QVERIFY(window->charts().chart());
}

void TestCharts::dataOfBlock()
{
    fillExample();
    for (const QRect& corners :
         {QRect(QPoint(1, 1), QPoint(3, 4)), QRect(QPoint(3, 4), QPoint(1, 1))}) {
        const ChartData data = chartData(sheet()->model(), corners.top(), corners.left(),
                                         corners.bottom(), corners.right());
        QCOMPARE(data.seriesNames, (QStringList{QStringLiteral("売上"), QStringLiteral("経費")}));
        QCOMPARE(data.categories, (QStringList{QString(), QStringLiteral("4月"),
                                               QStringLiteral("5月"), QStringLiteral("6月")}));
        QCOMPARE(data.values[0][0], std::nullopt); // the names row is a category without values
        QCOMPARE(data.values[0][1], std::optional<double>(120));
        QCOMPARE(data.values[0][3], std::nullopt); // text is no value
        QCOMPARE(data.values[1][1], std::optional<double>(80));
        QCOMPARE(data.values[1][3], std::optional<double>(-20));
    }
    QCOMPARE(grid().Row(), 4); // the reads end on the block's last cell
    QCOMPARE(grid().Col(), 3);

    // One column: a chart without series, with its note.
    const ChartData single = chartData(sheet()->model(), 1, 2, 4, 2);
    QCOMPARE(single.seriesCount(), 0);
    ChartStyle style;
    ChartView view;
    view.resize(400, 300);
    view.data = single;
    view.style = style;
    QVERIFY(hasInk(view.image(), QRect(100, 100, 200, 100)));

    grid().setCurrent(2, 2);
    window->mnuGraphShow_Click();
    QCOMPARE(messages->criticals,
             QStringList{QStringLiteral("グラフ表示範囲を選択してください！")});
    QVERIFY(!window->charts().chartSel());
}

void TestCharts::dialogRemembersChoices()
{
    fillExample();
    grid().setCurrent(1, 1);
    grid().setRowSel(4);
    grid().setColSel(3);
    window->mnuGraphShow_Click();
    frmChartSel* dialog = window->charts().chartSel();
    QVERIFY(dialog->isVisible() && !dialog->isModal());
    QVERIFY(dialog->optGraph[0]->isChecked() && dialog->optColor[0]->isChecked());
    for (QComboBox* box : dialog->cboFontTitle) {
        QCOMPARE(box->currentText(), QStringLiteral("10"));
        QCOMPARE(box->count(), 5);
    }
    // Each title box shows a title of 20 full-width characters whole.
    for (QLineEdit* box : dialog->txtTitle) {
        box->setText(QString(20, QChar(0x3042)));
        // Not scrolled: the caret (the middle of its rectangle) stands after the whole text,
        // inside the box.
        const int caret = box->inputMethodQuery(Qt::ImCursorRectangle).toRect().center().x();
        QVERIFY(caret >= box->fontMetrics().horizontalAdvance(box->text()));
        QVERIFY(caret <= box->contentsRect().right());
        box->clear();
    }
    dialog->optGraph[3]->setChecked(true); // 3D bar
    dialog->optColor[1]->setChecked(true);
    dialog->txtTitle[0]->setText(QStringLiteral("売上と経費"));
    QTest::mouseClick(dialog->cmdGOK, Qt::LeftButton);
    QVERIFY(!dialog->isVisible());
    QCOMPARE(window->charts().GraphType, 0);
    QVERIFY(!window->charts().GraphLine());
    QVERIFY(window->charts().GraphMono);
    frmChart* chart = window->charts().chart();
    QVERIFY(chart && chart->isVisible());
    QCOMPARE(chart->windowTitle(), QStringLiteral("グラフ"));
    QCOMPARE(chart->chtGraph->data.seriesCount(), 2);
    QCOMPARE(chart->chtGraph->style.title.text, QStringLiteral("売上と経費"));
    chart->close();
    QTRY_VERIFY(!window->charts().chart());

    window->mnuGraphShow_Click();
    QCOMPARE(window->charts().chartSel(), dialog);
    QVERIFY(dialog->optGraph[3]->isChecked() && dialog->optColor[1]->isChecked());
    QCOMPARE(dialog->txtTitle[0]->text(), QStringLiteral("売上と経費"));
    QTest::mouseClick(dialog->cmdGCancel, Qt::LeftButton);
    QVERIFY(!dialog->isVisible());
    QVERIFY(!window->charts().chart());
}

void TestCharts::menuFollowsChartWindow()
{
    fillExample();
    grid().setCurrent(1, 1);
    grid().setRowSel(4);
    grid().setColSel(3);
    openChart();
    auto enabled = [this](const char* name) {
        return window->findChild<QAction*>(QLatin1String(name))->isEnabled();
    };
    Q_EMIT window->mnuGraph->aboutToShow();
    QVERIFY(window->charts().GraphShown());
    QVERIFY(!enabled("mnuGraphShow"));
    QVERIFY(enabled("mnuGraphPrint"));
    QCOMPARE(window->loadedWindowCount(), 3);
    window->charts().chart()->close();
    QTRY_VERIFY(!window->charts().GraphShown());
    Q_EMIT window->mnuGraph->aboutToShow();
    QVERIFY(enabled("mnuGraphShow"));
    QVERIFY(!enabled("mnuGraphPrint"));
}

void TestCharts::monoAppearancesDistinct()
{
    ChartStyle style;
    QRandomGenerator random(7);
    chooseMonoAppearance(style, 200, random);
    QCOMPARE(style.patterns.size(), size_t(200));
    QSet<int> patterns(style.patterns.begin(), style.patterns.end());
    QSet<int> dashes(style.dashStyles.begin(), style.dashStyles.end());
    QCOMPARE(patterns.size(), 17); // every pattern can come up, none outside 1..17
    QVERIFY(*std::min_element(patterns.begin(), patterns.end()) == 1 &&
            *std::max_element(patterns.begin(), patterns.end()) == 17);
    QCOMPARE(dashes.size(), 8);
    QVERIFY(*std::min_element(dashes.begin(), dashes.end()) == 1 &&
            *std::max_element(dashes.begin(), dashes.end()) == 8);

    // Seventeen patterns that look different, and eight dash styles.
    QSet<QByteArray> looks;
    for (int p = 1; p <= 17; ++p) {
        QImage tile(16, 16, QImage::Format_RGB32);
        tile.fill(Qt::white);
        QPainter painter(&tile);
        painter.fillRect(tile.rect(), patternBrush(p));
        painter.end();
        looks.insert(
            QByteArray(reinterpret_cast<const char*>(tile.constBits()), int(tile.sizeInBytes())));
    }
    QCOMPARE(looks.size(), 17);
    QSet<QString> dashLooks;
    for (int d = 1; d <= 8; ++d) {
        const QPen pen = dashPen(d);
        QString key = QString::number(pen.style());
        for (qreal v : pen.dashPattern()) {
            key += QLatin1Char(',') + QString::number(v);
        }
        dashLooks.insert(key);
        QCOMPARE(pen.color(), QColor(Qt::black));
    }
    QCOMPARE(dashLooks.size(), 8);
}

void TestCharts::valueLabels_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("label");
    QTest::newRow("2.6") << 2.6 << "3";
    QTest::newRow("2.5") << 2.5 << "3";
    QTest::newRow("2.4") << 2.4 << "2";
    QTest::newRow("-2.5") << -2.5 << "-3";
    QTest::newRow("-0.4") << -0.4 << "0";
    QTest::newRow("large") << 1234567.7 << "1234568";
}

void TestCharts::valueLabels()
{
    QFETCH(double, value);
    QFETCH(QString, label);
    QCOMPARE(valueLabel(value), label);
}

void TestCharts::titleSizes()
{
    frmChartSel dialog(nullptr);
    dialog.txtTitle[0]->setText(QStringLiteral("T"));
    dialog.cboFontTitle[0]->setCurrentText(QStringLiteral("18"));
    dialog.cboFontTitle[1]->setCurrentText(QStringLiteral("14"));
    dialog.cboFontTitle[2]->setCurrentText(QStringLiteral("大きめ"));
    QCOMPARE(dialog.title(0).points, 18.0);
    QCOMPARE(dialog.title(1).points, 14.0);
    QCOMPARE(dialog.title(2).points, 10.0); // not a number: the default size

    // The chart title takes the room of an 18-point bold line.
    ChartData data;
    ChartStyle style;
    style.title = dialog.title(0);
    ChartView view;
    const ChartLayout big = chartLayout(data, style, QRectF(0, 0, 600, 400), &view);
    style.title.points = 10;
    const ChartLayout small = chartLayout(data, style, QRectF(0, 0, 600, 400), &view);
    QVERIFY(big.title.height() > small.title.height() * 1.5);
}

void TestCharts::renderedTypes_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<bool>("mono");
    const char* names[] = {"3D bar", "2D bar", "3D line", "2D line"};
    for (int type = 0; type < 4; ++type) {
        QTest::newRow(names[type]) << type << false;
        QTest::newRow(
            qPrintable(QString::fromLatin1(names[type]) + QStringLiteral(", black and white")))
            << type << true;
    }
}

void TestCharts::renderedTypes()
{
    QFETCH(int, type);
    QFETCH(bool, mono);
    fillExample();
    ChartView view;
    view.resize(552, 390);
    view.data = chartData(sheet()->model(), 1, 1, 4, 3);
    view.style.type = chartTypeOfNumber(type);
    view.style.mono = mono;
    view.style.title = {QStringLiteral("月別の売上と経費"), 14};
    view.style.xTitle = {QStringLiteral("月"), 10};
    view.style.yTitle = {QStringLiteral("金額"), 10};
    QRandomGenerator random(1);
    chooseMonoAppearance(view.style, view.data.seriesCount(), random);
    const QImage image = view.image();
    const ChartLayout l = chartLayout(view.data, view.style, QRectF(view.rect()), &view);
    QVERIFY(hasInk(image, l.title.toRect()));
    QVERIFY(hasInk(image, l.legend.toRect()));
    QVERIFY(hasInk(image, l.yTitle.toRect()));
    // The series themselves: colour in a colour chart, none in black and white.
    bool coloured = false;
    for (int y = int(l.plot.top()); y < int(l.plot.bottom()) && !coloured; ++y) {
        for (int x = int(l.plot.left()); x < int(l.plot.right()) && !coloured; ++x) {
            const QColor c = image.pixelColor(x, y);
            coloured = std::abs(c.red() - c.green()) > 40 || std::abs(c.green() - c.blue()) > 40;
        }
    }
    QCOMPARE(coloured, !mono);
    if (qEnvironmentVariableIsSet("ZELTARN_ARTIFACTS")) {
        const QString name = QStringLiteral("chart-%1%2.png")
                                 .arg(type)
                                 .arg(mono ? QStringLiteral("-mono") : QString());
        QDir().mkpath(qEnvironmentVariable("ZELTARN_ARTIFACTS"));
        image.save(QDir(qEnvironmentVariable("ZELTARN_ARTIFACTS")).filePath(name));
    }
}

// Without a printer the chart print fails silently and leaves the sheet's printer alone: the
// PDF file the sheet was printed to stays as it was, and the sheet still prints after it.
void TestCharts::chartPrintLeavesSheetPrinter()
{
    auto owned = std::make_unique<PdfPrintDialogs>();
    PdfPrintDialogs* dialogs = owned.get();
    window->printing().setPrintDialogs(std::move(owned));
    QTemporaryDir dir;
    dialogs->path = dir.filePath(QStringLiteral("sheet.pdf"));
    fillExample();
    grid().setCurrent(1, 1);
    grid().setRowSel(4);
    grid().setColSel(3);
    window->mnuFilePrint_Click();
    QFile printed(dialogs->path);
    QVERIFY(printed.open(QIODevice::ReadOnly));
    const QByteArray sheetPage = printed.readAll();
    printed.close();
    openChart();
    window->mnuGraphPrint_Click();
    QVERIFY(printed.open(QIODevice::ReadOnly));
    QCOMPARE(printed.readAll(), sheetPage);
    printed.close();
    dialogs->path = dir.filePath(QStringLiteral("again.pdf"));
    grid().setCurrent(1, 1);
    grid().setRowSel(4);
    window->mnuFilePrint_Click();
    QVERIFY(QFileInfo(dialogs->path).size() > 0);
    QVERIFY(fixture->messages->criticals.isEmpty());
}

QTEST_MAIN(TestCharts)
#include "tst_charts.moc"
