#include "clscal.h"
#include "gridpainter.h"
#include "numbertext.h"
#include "sheetmodel.h"

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

// What the one painter draws for a cell, on screen and on paper: a formula's number too wide
// for its column in a shorter form of the same value, never cut into another number.
class TestGridPainter : public QObject
{
    Q_OBJECT

private slots:
    void wideResults_data();
    void wideResults();
};

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
    const QString full = sheet.grid().text(2, 2);

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
