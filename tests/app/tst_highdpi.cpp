#include "print/frmpreview.h"
#include "testwindow.h"

#include <QLabel>
#include <QPushButton>
#include <QtTest>

// At twice the resolution (QT_SCALE_FACTOR=2, set by the test command): the grid's lines fall
// on the cells' edges, the overlay editor covers its cell, and the preview draws the block at
// its place on the page. Screenshots are kept where ZELTARN_ARTIFACTS names a folder.
class TestHighDpi : public QObject
{
    Q_OBJECT

private slots:
    void gridAndEditorLineUp();
    void previewLinesUp();

private:
    static void keep(const QImage& image, const QString& name)
    {
        if (qEnvironmentVariableIsSet("ZELTARN_ARTIFACTS")) {
            QDir().mkpath(qEnvironmentVariable("ZELTARN_ARTIFACTS"));
            image.save(QDir(qEnvironmentVariable("ZELTARN_ARTIFACTS")).filePath(name));
        }
    }
};

void TestHighDpi::gridAndEditorLineUp()
{
    TestWindow fixture;
    frmZel* window = fixture.window;
    window->mnuFileNew_Click();
    frmZelChild* sheet = window->activeSheet();
    QCOMPARE(sheet->devicePixelRatioF(), 2.0);
    enterCell(*sheet, 2, 2, QStringLiteral("=1/3"));
    GridState& grid = sheet->grdZel->state();
    grid.setCurrent(3, 2);
    sheet->GridEdit(int('7'));
    QCoreApplication::processEvents();

    const QRect cell = sheet->grdZel->cellRect(3, 2);
    QCOMPARE(sheet->txtEdit->geometry().topLeft(), cell.topLeft());
    QVERIFY(qAbs(sheet->txtEdit->width() - cell.width()) <= 1);

    sheet->txtEdit->hide();
    const QImage image = sheet->grdZel->viewport()->grab().toImage();
    keep(image, QStringLiteral("highdpi-grid.png"));
    QCOMPARE(image.width(), sheet->grdZel->viewport()->width() * 2);
    // The line under B2 runs along the cell's bottom edge, in device pixels, across the cell.
    const QRect b2 = sheet->grdZel->cellRect(2, 2);
    int lineRow = -1;
    for (int y = b2.bottom() * 2 - 2; y <= b2.bottom() * 2 + 2 && lineRow < 0; ++y) {
        bool line = true;
        for (int x = b2.left() * 2 + 4; x < b2.right() * 2 - 4; ++x) {
            line = line && qGray(image.pixel(x, y)) < 230;
        }
        lineRow = line ? y : -1;
    }
    QVERIFY2(lineRow >= 0, "no grid line at the cell's edge");
}

void TestHighDpi::previewLinesUp()
{
    TestWindow fixture;
    frmZel* window = fixture.window;
    window->mnuFileNew_Click();
    frmZelChild* sheet = window->activeSheet();
    enterCell(*sheet, 1, 1, QStringLiteral("x"));
    GridState& grid = sheet->grdZel->state();
    grid.setCurrent(1, 1);
    grid.setRowSel(2);
    grid.setColSel(2);
    QImage page;
    QSize box;
    QTimer::singleShot(0, this, [&] {
        frmPreview* preview = window->printing().preview();
        page = preview->PreviewPicture->pixmap().toImage();
        box = preview->PreviewPicture->size();
        keep(preview->grab().toImage(), QStringLiteral("highdpi-preview.png"));
        preview->cmdPreview->click();
    });
    window->mnuFilePreview_Click();
    QVERIFY(!page.isNull());
    QCOMPARE(box, page.size()); // one image pixel per logical pixel of the picture box
    // The block starts 100 twips in, at half size: the first ink on the page's diagonal.
    const double dpi = window->logicalDpiX() / 2.0;
    const int expected = qRound(100 * dpi / 1440);
    int first = -1;
    for (int x = 0; x < 40 && first < 0; ++x) {
        if (qGray(page.pixel(x, expected + 1)) < 250) {
            first = x;
        }
    }
    QVERIFY2(qAbs(first - expected) <= 1,
             qPrintable(QStringLiteral("block at %1, expected %2").arg(first).arg(expected)));
}

QTEST_MAIN(TestHighDpi)
#include "tst_highdpi.moc"
