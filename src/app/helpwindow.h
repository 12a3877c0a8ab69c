#pragma once

#include <QDialog>

class QTextBrowser;

// The help viewer: the help file shown with its contents and index, owned by the main window.
class HelpWindow : public QDialog
{
    Q_OBJECT

public:
    HelpWindow(const QString& path, QWidget* owner);

    // Shows the window at the help file's contents.
    void showContents();
    QTextBrowser* browser() const { return m_browser; }

private:
    QTextBrowser* m_browser;
};
