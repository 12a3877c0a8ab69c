#include "app/appstate.h"

#include "calc/clscal.h"
#include "files/sheetio.h"

#include <QDir>

AppState::AppState()
    : m_engine(std::make_unique<clsCal>()), m_messages(std::make_unique<BoxMessages>()),
      m_fileDialogs(std::make_unique<BoxFileDialogs>())
{
}

AppState::~AppState() = default;

int AppState::registerSheet(const QString& caption)
{
    ++SheetSerial;
    ++OpenSheetCount;
    while (OpenSheetNames.size() <= SheetSerial) {
        OpenSheetNames.append(QString());
    }
    OpenSheetNames[SheetSerial] = caption;
    return SheetSerial;
}

void AppState::unregisterSheet(int serial)
{
    if (serial > 0 && serial < OpenSheetNames.size()) {
        OpenSheetNames[serial].clear();
        --OpenSheetCount;
    }
}

int AppState::sheetHolding(const QString& path) const
{
    const QString file = comparablePath(path);
    for (int serial = 1; serial <= SheetSerial && serial < OpenSheetNames.size(); ++serial) {
        const QString& held = OpenSheetNames[serial];
        // A caption such as New-Sheet1 names no file.
        if (QDir::isAbsolutePath(held) && comparablePath(held) == file) {
            return serial;
        }
    }
    return 0;
}

void AppState::setSheetPath(int serial, const QString& path)
{
    if (serial > 0 && serial < OpenSheetNames.size()) {
        OpenSheetNames[serial] = path;
    }
}
