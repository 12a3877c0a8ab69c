// Runs the program as it starts for users and reports one figure, for app_figures.sh:
//   startup_probe shown   ends as soon as the main window has painted (the script times it);
//   startup_probe ten     then opens ten sheets, paints them and prints the resident memory in kB.
#include "app/frmzel.h"
#include "app/startup.h"
#include "sheet/frmzelchild.h"
#include "sheet/sheetgrid.h"

#include <QApplication>
#include <QFile>
#include <QTimer>
#include <cstdio>

namespace {

long residentKilobytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) {
        return -1;
    }
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:")) {
            return line.mid(6).trimmed().split(' ').value(0).toLong();
        }
    }
    return -1;
}

class FirstPaint : public QObject
{
public:
    explicit FirstPaint(bool tenSheets) : m_tenSheets(tenSheets) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (!m_done && event->type() == QEvent::Paint && widget &&
            qobject_cast<frmZel*>(widget->window())) {
            m_done = true;
            auto* window = static_cast<frmZel*>(widget->window());
            QTimer::singleShot(0, window, [this, window] { finish(*window); });
        }
        return false;
    }

private:
    void finish(frmZel& window)
    {
        if (m_tenSheets) {
            for (int i = 0; i < 10; ++i) {
                window.mnuFileNew_Click();
            }
            QCoreApplication::processEvents();
            for (frmZelChild* sheet : window.sheets()) {
                sheet->grdZel->grab(); // every sheet painted once, as after tiling them
            }
            std::printf("%ld %lld\n", residentKilobytes(),
                        static_cast<long long>(window.sheets().size()));
            for (frmZelChild* sheet : window.sheets()) {
                sheet->setCloseAgreed(true);
            }
        }
        QCoreApplication::quit();
    }

    bool m_tenSheets;
    bool m_done = false;
};

} // namespace

int main(int argc, char* argv[])
{
    const bool ten = argc > 1 && qstrcmp(argv[1], "ten") == 0;
    int qtArgc = 1; // the mode is not a file for the program to open
    QApplication app(qtArgc, argv);
    FirstPaint probe(ten);
    app.installEventFilter(&probe);
    return runProgram(app);
}
