#include "app/startup.h"

#include <QAbstractButton>
#include <QDialogButtonBox>
#include <QLockFile>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>
#include <QWidget>
#include <QtTest>

// Start-up services: the per-user instance lock and the window placement read from the
// settings store, each against a private runtime and configuration folder.
class TestStartup : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void instanceLockIsExclusive();
    void placementFromSettings_data();
    void placementFromSettings();
    void placementConvertsTwips();
    void qtDialogsSpeakJapanese();

private:
    QTemporaryDir dir;
};

void TestStartup::initTestCase()
{
    QVERIFY(dir.isValid());
    QDir(dir.path()).mkdir(QStringLiteral("run"));
    QFile::setPermissions(dir.filePath(QStringLiteral("run")),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    // Both paths are read on first use, so they must be set before anything asks for them.
    qputenv("XDG_RUNTIME_DIR", dir.filePath(QStringLiteral("run")).toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", dir.filePath(QStringLiteral("config")).toLocal8Bit());
}

void TestStartup::instanceLockIsExclusive()
{
    std::unique_ptr<QLockFile> first = takeInstanceLock();
    QVERIFY(first);
    QVERIFY(first->fileName().startsWith(dir.path()));
    QVERIFY(!takeInstanceLock());
    first.reset();
    QVERIFY(takeInstanceLock());
}

void TestStartup::placementFromSettings_data()
{
    QTest::addColumn<QStringList>("stored"); // left, top, width, height; empty = not stored
    QTest::addColumn<QRect>("expected");
    QTest::newRow("nothing stored")
        << QStringList{"", "", "", ""} << QRect(1000, 1000, 10000, 8000);
    QTest::newRow("all stored") << QStringList{"120", "240", "9000", "7000"}
                                << QRect(120, 240, 9000, 7000);
    QTest::newRow("not numbers fall back one by one")
        << QStringList{"abc", "300", "", "12x"} << QRect(1000, 300, 10000, 8000);
    QTest::newRow("negative position kept")
        << QStringList{"-200", "0", "5000", "4000"} << QRect(-200, 0, 5000, 4000);
}

void TestStartup::placementFromSettings()
{
    QFETCH(QStringList, stored);
    QFETCH(QRect, expected);
    {
        QSettings settings(QSettings::NativeFormat, QSettings::UserScope,
                           QStringLiteral("表計算Tarn!"), QStringLiteral("表計算Tarn!"));
        QVERIFY(settings.fileName().startsWith(dir.path()));
        settings.clear();
        settings.beginGroup(QStringLiteral("Settings"));
        const char* keys[] = {"MainLeft", "MainTop", "MainWidth", "MainHeight"};
        for (int i = 0; i < 4; ++i) {
            if (!stored[i].isEmpty()) {
                settings.setValue(QLatin1String(keys[i]), stored[i]);
            }
        }
    }
    QCOMPARE(storedPlacementTwips(), expected);
}

void TestStartup::placementConvertsTwips()
{
    QWidget window;
    const int dpi = window.logicalDpiX();
    placeWindow(window, QRect(1440, 720, 14400, 2880));
    QCOMPARE(window.pos(), QPoint(dpi, dpi / 2));
    QCOMPARE(window.size(), QSize(dpi * 10, dpi * 2));
}

// Qt's own buttons in Japanese once the program's catalogue is in, though the test runs in the
// C locale; an accelerator mark may follow the text, as in はい(&Y).
void TestStartup::qtDialogsSpeakJapanese()
{
    QVERIFY(installQtJapanese(*qApp));
    auto plain = [](QString text) {
        return text.remove(QRegularExpression(QStringLiteral("\\(&.\\)|&")));
    };

    QMessageBox box(QMessageBox::Question, QStringLiteral("保存の確認"), QStringLiteral("?"),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    QCOMPARE(plain(box.button(QMessageBox::Yes)->text()), QStringLiteral("はい"));
    QCOMPARE(plain(box.button(QMessageBox::No)->text()), QStringLiteral("いいえ"));
    QCOMPARE(plain(box.button(QMessageBox::Cancel)->text()), QStringLiteral("キャンセル"));

    QPrinter printer;
    QPrintDialog dialog(&printer);
    const auto* buttons = dialog.findChild<QDialogButtonBox*>();
    QVERIFY(buttons);
    QStringList texts;
    for (const QAbstractButton* button : buttons->buttons()) {
        texts << plain(button->text());
    }
    QVERIFY2(texts.contains(QStringLiteral("印刷")) && texts.contains(QStringLiteral("キャンセル")),
             qPrintable(texts.join(QLatin1Char(','))));
}

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
