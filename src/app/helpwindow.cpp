#include "app/helpwindow.h"

#include <QFile>
#include <QTextBrowser>
#include <QVBoxLayout>

HelpWindow::HelpWindow(const QString& path, QWidget* owner)
    : QDialog(owner), m_browser(new QTextBrowser(this))
{
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(QStringLiteral("表計算Tarn! ヘルプ"));
    setModal(false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_browser);
    m_browser->setOpenLinks(true);
    m_browser->setAccessibleName(QStringLiteral("ヘルプ")); // the text a screen reader reads
    QFile file(path);
    if (file.open(QIODevice::ReadOnly)) {
        m_browser->setHtml(QString::fromUtf8(file.readAll()));
    }
    resize(640, 560);
}

void HelpWindow::showContents()
{
    m_browser->scrollToAnchor(QStringLiteral("contents"));
    show();
    raise();
    activateWindow();
}
