#include "frmzel.h"
#include "messages.h"
#include "startup.h"
#include "toolicons.h"

#include <QApplication>
#include <QDir>
#include <QLockFile>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(applicationTitle());
    QApplication::setApplicationVersion(QStringLiteral(ZELTARN_VERSION));
    QApplication::setWindowIcon(applicationIcon());
    QDir::setCurrent(QCoreApplication::applicationDirPath());

    const std::unique_ptr<QLockFile> instance = takeInstanceLock();
    if (!instance) {
        BoxMessages().critical(nullptr, QStringLiteral("既にソフトは起動しています"));
        return 0;
    }

    frmZel window;
    placeWindow(window, storedPlacementTwips());
    window.app().RoundDigits = 5;
    window.show();
    return app.exec();
}
