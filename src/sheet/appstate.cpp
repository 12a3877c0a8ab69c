#include "appstate.h"

#include "clscal.h"

AppState::AppState()
    : m_engine(std::make_unique<clsCal>()), m_messages(std::make_unique<BoxMessages>()), m_fileDialogs(std::make_unique<BoxFileDialogs>())
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
