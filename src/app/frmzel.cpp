#include "app/frmzel.h"

#include "model/sheetmetrics.h"

#include "app/frmabout.h"
#include "app/helpwindow.h"
#include "app/mainwindowaccessible.h"
#include "app/toolicons.h"
#include "chart/frmchart.h"
#include "sheet/celleditor.h"
#include "sheet/sheetgrid.h"
#include "ui/gridpainter.h"
#include "ui/twips.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMimeData>
#include <QPrinter>
#include <QRegularExpression>
#include <QSessionManager>
#include <QShortcut>
#include <QStyle>
#include <QToolBar>
#include <QVBoxLayout>

namespace {

const QColor LightBlue = QColor::fromRgb(QRgb(HeadingColour));

} // namespace

frmZel::frmZel(QWidget* parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("frmZel"));
    setWindowTitle(applicationTitle());
    setAcceptDrops(true);
    // The desktop session ending asks about changed sheets as closing the window does.
    connect(qApp, &QGuiApplication::commitDataRequest, this, &frmZel::commitData);

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    createBar();
    layout->addWidget(Picture3);
    mdiArea = new QMdiArea(central);
    mdiArea->setObjectName(QStringLiteral("mdiArea"));
    installMdiAccessibility();
    mdiArea->setBackground(LightBlue);
    mdiArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdiArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    layout->addWidget(mdiArea, 1);
    // Another sheet brought to the front: the label names its current cell.
    connect(mdiArea, &QMdiArea::subWindowActivated, this, &frmZel::showActiveAddress);
    setCentralWidget(central);
    createActions();
    // Menu shortcuts are decided before the focused control sees the key (eventFilter).
    qApp->installEventFilter(this);
    // F1 opens the help as the help entry does; the entry itself shows no shortcut.
    auto* help = new QShortcut(QKeySequence::HelpContents, this);
    connect(help, &QShortcut::activated, this, &frmZel::mnuHelpShow_Click);
    // Ctrl+F4 closes the front sheet through its close request, as multiple-document programs
    // do; the sheet asks whether to save as it does when closed otherwise.
    auto* closeSheet = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_F4), this);
    connect(closeSheet, &QShortcut::activated, this, [this] {
        if (QMdiSubWindow* front = mdiArea->activeSubWindow()) {
            front->close();
        }
    });
}

frmZel::~frmZel()
{
    qApp->removeEventFilter(this);
    // Sheets go first, while the state they unregister from still exists; closed ones whose
    // deletion is still pending too.
    qDeleteAll(mdiArea->findChildren<QMdiSubWindow*>());
}

void frmZel::createBar()
{
    Picture3 = new QWidget(this);
    Picture3->setObjectName(QStringLiteral("Picture3"));
    Picture3->setFixedHeight(twipsToPixels(this, 375));
    Label1 = new QLabel(Picture3);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setAutoFillBackground(true);
    QPalette pal = Label1->palette();
    pal.setColor(QPalette::Window, LightBlue);
    Label1->setPalette(pal);
    Label1->setGeometry(0, 0, twipsToPixels(this, 1215), twipsToPixels(this, 375));
    txtEditLine = new CellEditor(Picture3);
    txtEditLine->setObjectName(QStringLiteral("txtEditLine"));
    // A screen reader hears the edit line by its name, labelled by the cell address it acts on.
    txtEditLine->setAccessibleName(QStringLiteral("入力行"));
    Label1->setAccessibleName(QStringLiteral("セル番地"));
    Label1->setBuddy(txtEditLine);
    txtEditLine->setGeometry(twipsToPixels(this, 1200), 0, twipsToPixels(this, 7400),
                             twipsToPixels(this, 375));
    QFont font = GridPainter::gridFont(12);
    Label1->setFont(font);
    txtEditLine->setFont(font);
    connect(txtEditLine, &CellEditor::keyDown, this, &frmZel::txtEditLine_KeyDown);
    connect(txtEditLine, &CellEditor::keyHandled, this, &frmZel::txtEditLine_KeyHandled);
}

// The edit line acts on the current cell of the active sheet; with no sheet open its keys
// only edit its own text.
void frmZel::txtEditLine_KeyDown(int& keyCode, Qt::KeyboardModifiers)
{
    frmZelChild* sheet = activeSheet();
    if (!sheet) {
        return;
    }
    switch (keyCode) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        keyCode = 0;
        sheet->EnterEditLine(txtEditLine->text());
        sheet->txtEdit->hide();
        sheet->grdZel->setFocus();
        sheet->moveDownAndReopen();
        break;
    case Qt::Key_Escape:
        keyCode = 0;
        sheet->txtEdit->hide();
        sheet->grdZel->setFocus();
        break;
    default:
        break;
    }
}

void frmZel::txtEditLine_KeyHandled(int keyCode)
{
    if (frmZelChild* sheet = activeSheet()) {
        if (keyCode == Qt::Key_Escape) {
            sheet->model().restoreShownText();
        } else {
            sheet->showExpressionInCell();
        }
    }
}

namespace {

enum class When { Always, WindowsLoaded, WindowsLoadedAndCopied };

// The toolbar: each button runs its entry's handler under its own condition.
struct ToolButton
{
    const char* key;
    const char* caption;
    const char* tooltip;
    const char* themeIcon;
    void (frmZel::*run)();
    When when;
    bool gapAfter;
};

constexpr ToolButton ToolButtons[] = {
    {"btnFileNew", "新規", "新しいシートの作成", "document-new", &frmZel::mnuFileNew_Click,
     When::Always, false},
    {"btnFileOpen", "開く", "シートを開く", "document-open", &frmZel::mnuFileOpen_Click,
     When::Always, false},
    {"btnFileSave", "保存", "上書き保存", "document-save", &frmZel::mnuFileSave_Click,
     When::WindowsLoaded, true},
    {"btnEditReSub", "計算", "再計算", "view-refresh", &frmZel::mnuEditReSub_Click,
     When::WindowsLoaded, false},
    {"btnEditBack", "戻す", "元に戻す", "edit-undo", &frmZel::mnuEditBack_Click,
     When::WindowsLoaded, false},
    {"btnEditCopy", "コピー", "コピー", "edit-copy", &frmZel::mnuEditCopy_Click,
     When::WindowsLoaded, false},
    {"btnEditCut", "切取", "切り取り", "edit-cut", &frmZel::mnuEditCut_Click, When::WindowsLoaded,
     false},
    {"btnEditPaste", "貼付", "貼り付け", "edit-paste", &frmZel::mnuEditPaste_Click,
     When::WindowsLoadedAndCopied, true},
    {"btnHelpShow", "ヘルプ", "ヘルプの表示", "help-contents", &frmZel::mnuHelpShow_Click,
     When::Always, false},
};

} // namespace

// Every menu entry and toolbar button is made here, each entry with its handler.
void frmZel::createActions()
{
    installMenuAccessibility();
    // A screen reader names each menu by its caption without the mnemonic: 編集(&E) is 編集.
    auto spokenName = [](QString caption) {
        return caption.remove(QRegularExpression(QStringLiteral("\\(&.\\)$")));
    };
    auto topMenu = [this, spokenName](const char* name, const QString& caption) {
        QMenu* m = menuBar()->addMenu(caption);
        m->setObjectName(QLatin1String(name));
        m->setAccessibleName(spokenName(caption));
        return m;
    };
    auto entry = [this](QMenu* menu, const char* name, const QString& caption,
                        void (frmZel::*handler)(), const QKeySequence& shortcut = {}) {
        QAction* a = menu->addAction(caption);
        a->setObjectName(QLatin1String(name));
        a->setShortcut(shortcut);
        connect(a, &QAction::triggered, this, handler);
        // Commands move the current cell (a paste ends on the block's last cell): the label
        // follows once the command is done.
        connect(a, &QAction::triggered, this, &frmZel::showActiveAddress);
        return a;
    };
    auto separator = [](QMenu* menu, const char* name) {
        menu->addSeparator()->setObjectName(QLatin1String(name));
    };

    mnuFile = topMenu("mnuFile", QStringLiteral("ファイル(&F)"));
    mnuFileNew = entry(mnuFile, "mnuFileNew", QStringLiteral("新規作成(&N)"),
                       &frmZel::mnuFileNew_Click, Qt::CTRL | Qt::Key_N);
    mnuFileOpen = entry(mnuFile, "mnuFileOpen", QStringLiteral("開く(&O)"),
                        &frmZel::mnuFileOpen_Click, Qt::CTRL | Qt::Key_O);
    separator(mnuFile, "mnuFileSeparator1");
    mnuFileSave = entry(mnuFile, "mnuFileSave", QStringLiteral("上書き保存(&S)"),
                        &frmZel::mnuFileSave_Click, Qt::CTRL | Qt::Key_S);
    mnuFileSaveAs = entry(mnuFile, "mnuFileSaveAs", QStringLiteral("名前を付けて保存(&A)"),
                          &frmZel::mnuFileSaveAs_Click);
    separator(mnuFile, "mnuFileSepararor2");
    mnuFilePrint =
        entry(mnuFile, "mnuFilePrint", QStringLiteral("印刷(&P)"), &frmZel::mnuFilePrint_Click);
    mnuFilePreview = entry(mnuFile, "mnuFilePreview", QStringLiteral("プレビュー"),
                           &frmZel::mnuFilePreview_Click);
    separator(mnuFile, "mnuFileSeparator3");
    mnuFileExit =
        entry(mnuFile, "mnuFileExit", QStringLiteral("終了(&E)"), &frmZel::mnuFileExit_Click);

    mnuEdit = topMenu("mnuEdit", QStringLiteral("編集(&E)"));
    mnuEditReSub =
        entry(mnuEdit, "mnuEditReSub", QStringLiteral("再計算"), &frmZel::mnuEditReSub_Click);
    mnuEditBack =
        entry(mnuEdit, "mnuEditBack", QStringLiteral("セルを元に戻す"), &frmZel::mnuEditBack_Click);
    separator(mnuEdit, "mnuEditSeparator1");
    mnuEditCopy = entry(mnuEdit, "mnuEditCopy", QStringLiteral("コピー(&C)"),
                        &frmZel::mnuEditCopy_Click, Qt::CTRL | Qt::Key_C);
    mnuEditCut = entry(mnuEdit, "mnuEditCut", QStringLiteral("切り取り(&X)"),
                       &frmZel::mnuEditCut_Click, Qt::CTRL | Qt::Key_X);
    mnuEditPaste = entry(mnuEdit, "mnuEditPaste", QStringLiteral("貼り付け(&V)"),
                         &frmZel::mnuEditPaste_Click, Qt::CTRL | Qt::Key_V);
    separator(mnuEdit, "mnuEditSeparator2");
    mnuEditPasteClip =
        entry(mnuEdit, "mnuEditPasteClip", QStringLiteral("クリップボードから貼り付け"),
              &frmZel::mnuEditPasteClip_Click);
    mnuEditCopyClip = entry(mnuEdit, "mnuEditCopyClip", QStringLiteral("クリップボードへコピー"),
                            &frmZel::mnuEditCopyClip_Click);
    mnuEditCopyTable =
        entry(mnuEdit, "mnuEditCopyTable", QStringLiteral("クリップボードへ表をコピー"),
              &frmZel::mnuEditCopyTable_Click);
    separator(mnuEdit, "mnuEditSeparator3");
    mnuEditDelete = entry(mnuEdit, "mnuEditDelete", QStringLiteral("削除(&D)"),
                          &frmZel::mnuEditDelete_Click, Qt::CTRL | Qt::Key_D);

    mnuGraph = topMenu("mnuGraph", QStringLiteral("グラフ(&G)"));
    mnuGraphShow =
        entry(mnuGraph, "mnuGraphShow", QStringLiteral("表示(&S)"), &frmZel::mnuGraphShow_Click);
    mnuGraphPrint = entry(mnuGraph, "mnuGraphPrint", QStringLiteral("グラフの印刷(&P)"),
                          &frmZel::mnuGraphPrint_Click);

    mnuSet = topMenu("mnuSet", QStringLiteral("設定(&S)"));
    mnuSetDis = mnuSet->addMenu(QStringLiteral("表示サイズ"));
    mnuSetDis->setObjectName(QStringLiteral("mnuSetDis"));
    mnuSetDis->setAccessibleName(mnuSetDis->title());
    mnuSetDis->menuAction()->setObjectName(QStringLiteral("mnuSetDis"));
    mnuSetDis75 =
        entry(mnuSetDis, "mnuSetDis75", QStringLiteral("75％"), &frmZel::mnuSetDis75_Click);
    mnuSetDis100 =
        entry(mnuSetDis, "mnuSetDis100", QStringLiteral("100％"), &frmZel::mnuSetDis100_Click);
    mnuSetDis125 =
        entry(mnuSetDis, "mnuSetDis125", QStringLiteral("125％"), &frmZel::mnuSetDis125_Click);
    mnuSetDisKeta =
        entry(mnuSet, "mnuSetDisKeta", QStringLiteral("小数桁"), &frmZel::mnuSetDisKeta_Click);

    mnuWindow = topMenu("mnuWindow", QStringLiteral("ウインドウ(&W)"));
    mnuWindowCascade = entry(mnuWindow, "mnuWindowCascade", QStringLiteral("重ねて表示"),
                             &frmZel::mnuWindowCascade_Click);
    mnuWindowHorizontal =
        entry(mnuWindow, "mnuWindowHorizontal", QStringLiteral("上下に並べて表示"),
              &frmZel::mnuWindowHorizontal_Click);
    mnuWindowVertical = entry(mnuWindow, "mnuWindowVertical", QStringLiteral("左右に並べて表示"),
                              &frmZel::mnuWindowVertical_Click);

    mnuHelp = topMenu("mnuHelp", QStringLiteral("ヘルプ(&H)"));
    mnuHelpShow = entry(mnuHelp, "mnuHelpShow", QStringLiteral("ヘルプの表示(&S)"),
                        &frmZel::mnuHelpShow_Click);
    mnuHelpVersion = entry(mnuHelp, "mnuHelpVersion", QStringLiteral("バージョン情報"),
                           &frmZel::mnuHelpVersion_Click);

    connect(mnuFile, &QMenu::aboutToShow, this, &frmZel::mnuFile_Click);
    connect(mnuEdit, &QMenu::aboutToShow, this, &frmZel::mnuEdit_Click);
    connect(mnuGraph, &QMenu::aboutToShow, this, &frmZel::mnuGraph_Click);
    connect(mnuSet, &QMenu::aboutToShow, this, &frmZel::mnuSet_Click);
    connect(mnuWindow, &QMenu::aboutToShow, this, &frmZel::mnuWindow_Click);

    // A greyed menu entry does not stop its button: the button runs the handler itself.
    tbrMenu = addToolBar(QStringLiteral("ツールバー")); // the title a screen reader hears
    tbrMenu->setObjectName(QStringLiteral("tbrMenu"));
    tbrMenu->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    tbrMenu->setMovable(false);
    // Qt's button for the buttons that do not fit has no text of its own.
    if (auto* more = tbrMenu->findChild<QWidget*>(QStringLiteral("qt_toolbar_ext_button"))) {
        more->setAccessibleName(QStringLiteral("その他のボタン"));
    }
    for (const ToolButton& b : ToolButtons) {
        const QString key = QString::fromUtf8(b.key);
        const QString caption = QString::fromUtf8(b.caption);
        QAction* a = tbrMenu->addAction(toolIcon(QString::fromUtf8(b.themeIcon), caption), caption);
        a->setObjectName(key);
        a->setToolTip(QString::fromUtf8(b.tooltip));
        connect(a, &QAction::triggered, this, [this, key] { tbrMenu_ButtonClick(key); });
        if (b.gapAfter) {
            tbrMenu->addSeparator();
        }
    }
}

bool frmZel::takesShortcut(const QKeyEvent& key)
{
    const QKeySequence pressed(key.keyCombination());
    struct Menu
    {
        QMenu* menu;
        void (frmZel::*enabling)();
    };
    for (const Menu& m :
         {Menu{mnuFile, &frmZel::mnuFile_Click}, Menu{mnuEdit, &frmZel::mnuEdit_Click}}) {
        for (QAction* entry : m.menu->actions()) {
            if (!entry->shortcut().isEmpty() && entry->shortcut() == pressed) {
                (this->*m.enabling)();
                return entry->isEnabled();
            }
        }
    }
    return false;
}

// A menu entry's shortcut runs the entry exactly when its menu would enable it now, and then
// takes precedence over the focused control's own use of the key (the editors' copy and paste);
// a greyed entry leaves the key to the control.
bool frmZel::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::ShortcutOverride) {
        const auto* widget = qobject_cast<QWidget*>(watched);
        if (widget && widget->window() == this && takesShortcut(*static_cast<QKeyEvent*>(event))) {
            event->ignore();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

QList<frmZelChild*> frmZel::sheets() const
{
    QList<frmZelChild*> list;
    for (QMdiSubWindow* w : mdiArea->subWindowList()) {
        if (auto* sheet = qobject_cast<frmZelChild*>(w->widget())) {
            list.append(sheet);
        }
    }
    return list;
}

frmZelChild* frmZel::activeSheet() const
{
    QMdiSubWindow* w = mdiArea->activeSubWindow();
    if (!w && !mdiArea->subWindowList().isEmpty()) {
        w = mdiArea->subWindowList().last();
    }
    return w ? qobject_cast<frmZelChild*>(w->widget()) : nullptr;
}

frmZelChild* frmZel::sheetOf(const SheetModel* model) const
{
    for (frmZelChild* sheet : sheets()) {
        if (model && &sheet->model() == model) {
            return sheet;
        }
    }
    return nullptr;
}

void frmZel::activate(frmZelChild& sheet)
{
    if (auto* sub = qobject_cast<QMdiSubWindow*>(sheet.parentWidget())) {
        mdiArea->setActiveSubWindow(sub);
    }
}

int frmZel::loadedWindowCount() const
{
    return 1 + int(sheets().size()) + (m_charts.GraphShown() ? 1 : 0);
}

void frmZel::setAddressLabel(const QString& text)
{
    Label1->setText(text);
    Label1->setAccessibleDescription(text);
}

void frmZel::showActiveAddress()
{
    if (frmZelChild* sheet = activeSheet()) {
        sheet->showCurrentAddress();
    }
}

void frmZel::setEditLine(const QString& text)
{
    txtEditLine->setText(text);
}

frmZelChild* frmZel::addSheetWindow(const QString& caption)
{
    auto* sheet = new frmZelChild(*this);
    sheet->setWindowTitle(caption);
    sheet->model().clearChanged();
    sheet->Tag = m_app.registerSheet(caption);
    QMdiSubWindow* sub = mdiArea->addSubWindow(sheet);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->showMaximized();
    mdiArea->setActiveSubWindow(sub);
    return sheet;
}

frmZelChild* frmZel::NewSheet()
{
    const int number = ++m_app.NewSheetNumber;
    return addSheetWindow(QStringLiteral("New-Sheet") + QString::number(number));
}

bool frmZel::refuseAtSheetLimit()
{
    if (!m_app.sheetLimitReached()) {
        return false;
    }
    m_app.messages().critical(this, QStringLiteral("1度に開くことのできるシートの数は10です！"));
    return true;
}

void frmZel::mnuFileNew_Click()
{
    if (refuseAtSheetLimit()) {
        return;
    }
    NewSheet();
    if (QMdiSubWindow* w = mdiArea->activeSubWindow()) {
        w->showMaximized();
    }
}

void frmZel::mnuFileExit_Click()
{
    close();
}

bool frmZel::askEverySheet()
{
    // Every sheet is asked first; one Cancel keeps everything open.
    const QList<frmZelChild*> all = sheets();
    for (frmZelChild* sheet : all) {
        if (!sheet->queryClose()) {
            return false;
        }
    }
    for (frmZelChild* sheet : all) {
        sheet->setCloseAgreed(true);
    }
    return true;
}

void frmZel::commitData(QSessionManager& manager)
{
    if (manager.allowsInteraction()) {
        if (!askEverySheet()) {
            manager.cancel();
        }
        manager.release();
    }
}

void frmZel::closeEvent(QCloseEvent* event)
{
    if (!askEverySheet()) {
        event->ignore();
        return;
    }
    mdiArea->closeAllSubWindows();
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w != this && w->isVisible()) {
            w->close();
        }
    }
    event->accept();
}

void frmZel::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasUrls() && !event->mimeData()->urls().isEmpty() &&
        event->mimeData()->urls().front().isLocalFile()) {
        event->acceptProposedAction();
    }
}

void frmZel::dropEvent(QDropEvent* event)
{
    event->acceptProposedAction();
    m_files.openDropped(event->mimeData()->urls());
}

// Each window one title bar below and right of the one before, the active one in front; all
// of one size, the sheet area less the last window's offset, so every sheet stays usable.
void frmZel::mnuWindowCascade_Click()
{
    QMdiSubWindow* active = mdiArea->activeSubWindow();
    QList<QMdiSubWindow*> windows = mdiArea->subWindowList(QMdiArea::StackingOrder);
    if (windows.isEmpty()) {
        return;
    }
    if (active) {
        windows.removeOne(active);
        windows.append(active);
    }
    const int step =
        windows.front()->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, windows.front());
    const QSize area = mdiArea->viewport()->size();
    const int offset = step * int(windows.size() - 1);
    const QSize size(std::max(area.width() - offset, area.width() / 2),
                     std::max(area.height() - offset, area.height() / 2));
    for (int i = 0; i < windows.size(); ++i) {
        QMdiSubWindow* w = windows[i];
        w->showNormal();
        w->setGeometry(QRect(QPoint(step * i, step * i), size));
        w->raise();
    }
    if (active) {
        mdiArea->setActiveSubWindow(active);
    }
}

// One above the other, each the full width; or side by side, each the full height.
void frmZel::tile(Qt::Orientation orientation)
{
    const QList<QMdiSubWindow*> windows = mdiArea->subWindowList();
    if (windows.isEmpty()) {
        return;
    }
    const QRect area = mdiArea->viewport()->rect();
    const int n = int(windows.size());
    for (int i = 0; i < n; ++i) {
        QMdiSubWindow* w = windows[i];
        w->showNormal();
        if (orientation == Qt::Vertical) {
            const int top = area.height() * i / n;
            const int bottom = area.height() * (i + 1) / n;
            w->setGeometry(0, top, area.width(), bottom - top);
        } else {
            const int left = area.width() * i / n;
            const int right = area.width() * (i + 1) / n;
            w->setGeometry(left, 0, right - left, area.height());
        }
    }
}

void frmZel::mnuWindowHorizontal_Click()
{
    tile(Qt::Vertical);
}

void frmZel::mnuWindowVertical_Click()
{
    tile(Qt::Horizontal);
}

QString frmZel::helpFilePath()
{
    // Beside the program, then in the data folder of the installation the program runs from
    // (wherever it was installed), then in the folder it was built for.
    const QDir programDir(QCoreApplication::applicationDirPath());
    for (const QString& path :
         {programDir.filePath(QStringLiteral("ZelTarn.hlp")),
          programDir.filePath(QStringLiteral("../share/zeltarn/ZelTarn.hlp"))}) {
        if (QFileInfo::exists(path)) {
            return QDir::cleanPath(path);
        }
    }
    return QDir(QStringLiteral(ZELTARN_DATADIR)).filePath(QStringLiteral("ZelTarn.hlp"));
}

void frmZel::mnuHelpShow_Click()
{
    const QString path = helpFilePath();
    if (!QFileInfo::exists(path)) {
        m_app.messages().critical(this,
                                  QStringLiteral("ヘルプファイルが見つかりません！\r\n") + path);
        return;
    }
    if (!m_help) {
        m_help = new HelpWindow(path, this);
    }
    static_cast<HelpWindow*>(m_help)->showContents();
}

void frmZel::mnuHelpVersion_Click()
{
    frmAbout about(this);
    about.exec();
}

void frmZel::tbrMenu_ButtonClick(const QString& key)
{
    for (const ToolButton& b : ToolButtons) {
        if (key != QLatin1String(b.key)) {
            continue;
        }
        const bool windows = loadedWindowCount() > 1;
        const bool allowed =
            b.when == When::Always || (windows && b.when == When::WindowsLoaded) ||
            (windows && b.when == When::WindowsLoadedAndCopied && m_editing.buffers().canPaste());
        if (allowed) {
            (this->*b.run)();
            showActiveAddress();
        }
        return;
    }
}

void frmZel::mnuFile_Click()
{
    const bool open = m_app.OpenSheetCount != 0;
    for (QAction* entry : {mnuFileSave, mnuFileSaveAs, mnuFilePrint, mnuFilePreview}) {
        entry->setEnabled(open);
    }
}

void frmZel::mnuEdit_Click()
{
    const bool open = m_app.OpenSheetCount != 0;
    if (!open) {
        for (QAction* entry :
             {mnuEditBack, mnuEditCopy, mnuEditCut, mnuEditPaste, mnuEditReSub, mnuEditCopyClip,
              mnuEditPasteClip, mnuEditDelete, mnuEditCopyTable}) {
            entry->setEnabled(false);
        }
        return;
    }
    const QMimeData* clip = QGuiApplication::clipboard()->mimeData();
    mnuEditPasteClip->setEnabled(clip && clip->hasText());
    mnuEditPaste->setEnabled(m_editing.buffers().canPaste());
    for (QAction* entry :
         {mnuEditBack, mnuEditCopy, mnuEditCut, mnuEditDelete, mnuEditCopyTable, mnuEditCopyClip}) {
        entry->setEnabled(true);
    }
    // Not while the sheet's active control (the one that has, or last had, the focus) is the
    // overlay editor.
    const frmZelChild* sheet = activeSheet();
    mnuEditReSub->setEnabled(!(sheet && sheet->editorIsActiveControl()));
}

void frmZel::mnuGraph_Click()
{
    const bool open = m_app.OpenSheetCount != 0;
    mnuGraphPrint->setEnabled(open && m_charts.GraphShown());
    mnuGraphShow->setEnabled(open && !m_charts.GraphShown());
}

void frmZel::mnuSet_Click()
{
    const bool open = m_app.OpenSheetCount != 0;
    mnuSetDis->menuAction()->setEnabled(open);
    mnuSetDisKeta->setEnabled(open);
}

void frmZel::mnuWindow_Click()
{
    const bool open = m_app.OpenSheetCount != 0;
    for (QAction* entry : {mnuWindowCascade, mnuWindowHorizontal, mnuWindowVertical}) {
        entry->setEnabled(open);
    }
}
