#include "app/startup.h"

#include "app/frmzel.h"
#include "app/toolicons.h"
#include "calc/clscal.h"
#include "print/frmpreview.h"
#include "sheet/sheetgrid.h"
#include "ui/messages.h"
#include "ui/twips.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLibraryInfo>
#include <QLockFile>
#include <QSettings>
#include <QStandardPaths>
#include <QTranslator>
#include <QWidget>

std::unique_ptr<QLockFile> takeInstanceLock()
{
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty()) {
        dir = QDir::tempPath();
    }
    const QString user = qEnvironmentVariable("USER", QStringLiteral("user"));
    auto lock = std::make_unique<QLockFile>(
        QDir(dir).filePath(QStringLiteral("zeltarn-") + user + QStringLiteral(".lock")));
    lock->setStaleLockTime(0); // only a lock whose process is gone is stale
    if (!lock->tryLock(0)) {
        return nullptr;
    }
    return lock;
}

QRect storedPlacementTwips()
{
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("表計算Tarn!"),
                       QStringLiteral("表計算Tarn!"));
    settings.beginGroup(QStringLiteral("Settings"));
    auto read = [&settings](const char* key, int fallback) {
        bool ok = false;
        const int value = settings.value(QLatin1String(key)).toString().trimmed().toInt(&ok);
        return ok ? value : fallback;
    };
    return QRect(read("MainLeft", 1000), read("MainTop", 1000), read("MainWidth", 10000),
                 read("MainHeight", 8000));
}

void placeWindow(QWidget& window, const QRect& twips)
{
    auto px = [&window](int t) { return twipsToPixels(&window, t); };
    window.move(px(twips.left()), px(twips.top()));
    window.resize(std::max(1, px(twips.width())), std::max(1, px(twips.height())));
}

bool installQtJapanese(QCoreApplication& app)
{
    auto* japanese = new QTranslator(&app);
    if (!japanese->load(QStringLiteral("qt_ja"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete japanese;
        return false;
    }
    return QCoreApplication::installTranslator(japanese);
}

namespace {

// Tests of the whole program under a real display read the active sheet through this: only
// when ZELTARN_TEST_DUMP names a file, Ctrl+Shift+F12 writes there every non-empty shown text
// of the sheet's cells, one "B3<tab>text" line each (a line break as \n), and last
// "@<tab>x<tab>y<tab>w<tab>h<tab> cell<tab>sheets<tab>label": the current cell's rectangle on the
// screen, where a test can click, its name, the number of open sheets and the address label's text.
// While the preview shows, its page goes beside the file as a PNG picture (the same name with
// ".preview.png"). Watches every key of the program, so that the dump also answers while a modal
// window such as the preview blocks the main window's own shortcuts.
class TestDump : public QObject
{
public:
    TestDump(frmZel& window, QString path)
        : QObject(&window), m_window(window), m_path(std::move(path))
    {
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress) {
            const auto* key = static_cast<QKeyEvent*>(event);
            if (key->key() == Qt::Key_F12 &&
                key->modifiers() == (Qt::ControlModifier | Qt::ShiftModifier)) {
                write();
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    void write() const
    {
        if (const frmPreview* preview = m_window.printing().preview();
            preview && preview->isVisible()) {
            preview->PreviewPicture->pixmap().save(m_path + QStringLiteral(".preview.png"));
        }
        QFile file(m_path);
        frmZelChild* sheet = m_window.activeSheet();
        if (!sheet || !file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            return;
        }
        const GridState& grid = sheet->grdZel->state();
        QString out;
        for (int r = 1; r < grid.Rows(); ++r) {
            for (int c = 1; c < grid.Cols(); ++c) {
                if (!grid.textAt(r, c).isEmpty()) {
                    // A line break in a cell is written as \n, so a cell stays one line.
                    out += cellName(r, c) + QLatin1Char('\t') +
                           QString(grid.textAt(r, c))
                               .replace(QLatin1Char('\n'), QLatin1String("\\n")) +
                           QLatin1Char('\n');
                }
            }
        }
        const QRect cell = sheet->grdZel->cellRect(grid.Row(), grid.Col());
        const QPoint at = sheet->grdZel->viewport()->mapToGlobal(cell.topLeft());
        out += QStringLiteral("@\t%1\t%2\t%3\t%4\t%5\t%6\t%7\n")
                   .arg(at.x())
                   .arg(at.y())
                   .arg(cell.width())
                   .arg(cell.height())
                   .arg(cellName(grid.Row(), grid.Col()))
                   .arg(m_window.sheets().size())
                   .arg(m_window.Label1->text());
        file.write(out.toUtf8());
    }

    frmZel& m_window;
    QString m_path;
};

void addTestDump(frmZel& window)
{
    const QString path = qEnvironmentVariable("ZELTARN_TEST_DUMP");
    if (!path.isEmpty()) {
        qApp->installEventFilter(new TestDump(window, path));
    }
}

} // namespace

int runProgram(QApplication& app)
{
    installQtJapanese(app);
    QApplication::setApplicationName(applicationTitle());
    QApplication::setApplicationVersion(QStringLiteral(ZELTARN_VERSION));
    QApplication::setWindowIcon(applicationIcon());
    // The folder the program was started in stays current: a file named on the command line is
    // relative to it, and file dialogs and print files start there rather than in the
    // program's own (read-only) folder.
    const QDir startDir = QDir::current();

    const std::unique_ptr<QLockFile> instance = takeInstanceLock();
    if (!instance) {
        BoxMessages().critical(nullptr, QStringLiteral("既にソフトは起動しています"));
        return 0;
    }

    frmZel window;
    addTestDump(window);
    placeWindow(window, storedPlacementTwips());
    window.app().engine().setRoundDigits(5);
    window.show();
    // After the one-instance rule, so that a second start never touches another's copies.
    window.files().recoverSheets();
    window.files().openCommandLine(app.arguments().mid(1), startDir);
    return app.exec();
}
