#include "calc/clscal.h"
#include "calc/numbertext.h"
#include "model/sheetmodel.h"
#include "ui/gridpainter.h"

#include <QFontMetrics>
#include <QPaintEngine>
#include <QPainter>
#include <QtTest>
#include <cmath>

namespace {

// A device that keeps the texts drawn on it, where they were drawn.
class TextRecorder : public QPaintDevice
{
public:
    struct Drawn
    {
        QPointF at;
        QString text;
    };
    explicit TextRecorder(double dpi) : m_dpi(dpi) {}
    QPaintEngine* paintEngine() const override { return &m_engine; }
    std::vector<Drawn> texts() const { return m_engine.texts; }

protected:
    int metric(PaintDeviceMetric metric) const override
    {
        switch (metric) {
        case PdmWidth:
        case PdmHeight:
            return 20000;
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY:
            return int(m_dpi);
        case PdmDepth:
            return 32;
        case PdmDevicePixelRatioScaled:
            return int(devicePixelRatioFScale());
        default:
            return 1;
        }
    }

private:
    class Engine : public QPaintEngine
    {
    public:
        Engine() : QPaintEngine(AllFeatures) {}
        bool begin(QPaintDevice*) override { return true; }
        bool end() override { return true; }
        void updateState(const QPaintEngineState&) override {}
        void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
        void drawPolygon(const QPointF*, int, PolygonDrawMode) override {}
        void drawPath(const QPainterPath&) override {}
        void drawTextItem(const QPointF& p, const QTextItem& item) override
        {
            texts.push_back({p, item.text()});
        }
        Type type() const override { return User; }
        std::vector<Drawn> texts;
    };
    double m_dpi;
    mutable Engine m_engine;
};

} // namespace

// What the one painter draws, on screen and on paper: the block's size in pixels, headings and
// cells in their colours, numbers right-aligned, and a formula's number too wide for its column
// in a shorter form of the same value, never cut into another number.
class TestGridPainter : public QObject
{
    Q_OBJECT

private slots:
    void pictureSizeFollowsTwips_data();
    void pictureSizeFollowsTwips();
    void wideNumberShowsFirstDigits();
    void wideResults_data();
    void wideResults();
};

void TestGridPainter::pictureSizeFollowsTwips_data()
{
    QTest::addColumn<double>("dpi");
    QTest::newRow("96 dpi") << 96.0;
    QTest::newRow("120 dpi") << 120.0;
    QTest::newRow("600 dpi printer") << 600.0;
}

void TestGridPainter::pictureSizeFollowsTwips()
{
    QFETCH(double, dpi);
    GridState g(6, 4); // 5 data rows, 3 data columns
    g.setColWidth(0, 25);
    g.setRowHeight(0, 23);
    g.setColWidth(2, 0); // hidden column takes no space
    g.setColWidth(3, 999);
    g.setTextAt(1, 1, QStringLiteral("12.5"));
    const int twipsWide = 25 + 1200 + 999;
    const int twipsHigh = 23 + 5 * 360;
    const QImage image = GridPainter(g, dpi).picture(false);
    QCOMPARE(image.width(), qRound(twipsWide * dpi / 1440.0));
    QCOMPARE(image.height(), qRound(twipsHigh * dpi / 1440.0));
    QVERIFY(GridPainter(g, dpi).picture(true).format() == QImage::Format_Mono);
    // A heading is light blue, a data cell white.
    QCOMPARE(image.pixelColor(GridPainter(g, dpi).cellRect(0, 1).center()), QColor(192, 192, 255));
    const QRect cell = GridPainter(g, dpi).cellRect(5, 1);
    QCOMPARE(image.pixelColor(cell.center()), QColor(Qt::white));
}

// A number fits right-aligned; one too wide for its cell is shown from its first digit, so the
// part cut off is at the end (183.33333 must not read as 83.33333): two wide numbers that
// differ only in their first digit look different.
void TestGridPainter::wideNumberShowsFirstDigits()
{
    GridState g;
    g.setColWidth(1, 900);
    g.setTextAt(1, 1, QStringLiteral("12"));
    g.setTextAt(2, 1, QStringLiteral("183.333333333333"));
    g.setTextAt(3, 1, QStringLiteral("983.333333333333"));
    g.setHighLight(0);
    const double dpi = 96;
    const GridPainter gp(g, dpi);
    const QImage image = GridPainter(g, dpi).picture(false);
    const QRect fit = gp.cellRect(1, 1);
    int firstInk = -1;
    for (int x = fit.left() + 1; x < fit.right() - 1 && firstInk < 0; ++x) {
        for (int y = fit.top() + 2; y < fit.bottom() - 2; ++y) {
            if (qGray(image.pixel(x, y)) < 128) {
                firstInk = x - fit.left();
                break;
            }
        }
    }
    QVERIFY(firstInk > fit.width() / 2); // right-aligned
    const QImage a = image.copy(gp.cellRect(2, 1).adjusted(1, 1, -1, -1));
    const QImage b = image.copy(gp.cellRect(3, 1).adjusted(1, 1, -1, -1));
    QVERIFY(a != b);
}

void TestGridPainter::wideResults_data()
{
    QTest::addColumn<QString>("expression");
    QTest::addColumn<int>("width"); // twips
    QTest::addColumn<double>("dpi");
    QTest::addColumn<bool>("block"); // drawn as a page or the table picture draws a block
    QTest::newRow("2^70 on screen") << "=2^70" << 1200 << 96.0 << false;
    QTest::newRow("2^70 on paper") << "=2^70" << 1200 << 600.0 << true;
    QTest::newRow("many digits") << "=1/3*1000000" << 1200 << 96.0 << false;
    QTest::newRow("no form fits") << "=2^70" << 300 << 96.0 << false;
    QTest::newRow("typed number cut as typed") << "1180591620717411303424" << 1200 << 96.0 << false;
}

void TestGridPainter::wideResults()
{
    QFETCH(QString, expression);
    QFETCH(int, width);
    QFETCH(double, dpi);
    QFETCH(bool, block);
    clsCal engine;
    SheetModel sheet([&engine]() -> clsCal& { return engine; });
    sheet.grid().setColWidth(2, width);
    sheet.enterAt(2, 2, expression);
    const QString full = sheet.grid().textAt(2, 2);

    TextRecorder device(dpi);
    const GridPainter painter = block ? GridPainter(sheet.grid(), dpi, {{2, 2, 2, 2}, 23, 25})
                                      : GridPainter(sheet.grid(), dpi);
    {
        QPainter p(&device);
        painter.paint(p, QRect(0, 0, 20000, 20000), false);
    }
    // Everything drawn but the headings' letters and row numbers is the cell's.
    QString drawn;
    for (const TextRecorder::Drawn& d : device.texts()) {
        const bool letter = d.text.size() == 1 && d.text[0] >= u'A' && d.text[0] <= u'Z';
        const int number = d.text.toInt();
        if (!letter && !(number >= 1 && number <= 500 && QString::number(number) == d.text)) {
            drawn += d.text;
        }
    }
    const int cellWidth = painter.toPixels(width);
    if (!expression.startsWith(u'=')) {
        QCOMPARE(drawn, full); // cut off at the edge like any text
        return;
    }
    QVERIFY2(!drawn.isEmpty(), qPrintable(full));
    QFont font = GridPainter::gridFont(sheet.grid().FontSize());
    QImage room = GridPainter::blankImage(QSize(1, 1), dpi);
    const QFontMetrics metrics(font, &room);
    QVERIFY2(metrics.horizontalAdvance(drawn) <= cellWidth, qPrintable(drawn));
    if (drawn.count(u'#') == drawn.size()) {
        QVERIFY2(width <= 300, qPrintable(drawn)); // only where no digit fits
        return;
    }
    const double value = readNumber(full).value();
    const double shown = readNumber(drawn).value();
    QVERIFY2(std::abs(shown - value) <= std::abs(value) * 0.05, qPrintable(drawn + " for " + full));
}

QTEST_MAIN(TestGridPainter)
#include "tst_gridpainter.moc"
