#include "frmzel.h"

#include "celleditor.h"
#include "frmabout.h"
#include "gridpainter.h"
#include "helpwindow.h"
#include "sheetgrid.h"
#include "toolicons.h"
#include "twips.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMimeData>
#include <QPrinter>
#include <QSessionManager>
#include <QToolBar>
#include <QVBoxLayout>

namespace {

const QColor LightBlue(192, 192, 255);

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
    mdiArea->setBackground(LightBlue);
    mdiArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdiArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    layout->addWidget(mdiArea, 1);
    setCentralWidget(central);
    createActions();
}

frmZel::~frmZel()
{
    // The chart window tells this window when it goes; it must go while this window is whole.
    delete m_chart;
    // Sheets go first, while the state they unregister from still exists.
    for (QMdiSubWindow* w : mdiArea->subWindowList()) {
        delete w;
    }
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

QAction* frmZel::addEntry(QMenu* menu, const QString& name, const QString& caption,
                          const QKeySequence& shortcut)
{
    QAction* a = menu->addAction(caption);
    a->setObjectName(name);
    if (!shortcut.isEmpty()) {
        a->setShortcut(shortcut);
    }
    m_actions.insert(name, a);
    return a;
}

// Every menu entry and toolbar button is made here.
void frmZel::createActions()
{
    auto topMenu = [this](const QString& name, const QString& caption) {
        QMenu* m = menuBar()->addMenu(caption);
        m->setObjectName(name);
        m_menus.insert(name, m);
        return m;
    };
    auto separator = [this](QMenu* m, const QString& name) {
        QAction* s = m->addSeparator();
        s->setObjectName(name);
        m_actions.insert(name, s);
    };

    QMenu* file = topMenu(QStringLiteral("mnuFile"), QStringLiteral("ファイル(&F)"));
    addEntry(file, QStringLiteral("mnuFileNew"), QStringLiteral("新規作成(&N)"), QKeySequence(Qt::CTRL | Qt::Key_N));
    addEntry(file, QStringLiteral("mnuFileOpen"), QStringLiteral("開く(&O)"), QKeySequence(Qt::CTRL | Qt::Key_O));
    separator(file, QStringLiteral("mnuFileSeparator1"));
    addEntry(file, QStringLiteral("mnuFileSave"), QStringLiteral("上書き保存(&S)"), QKeySequence(Qt::CTRL | Qt::Key_S));
    addEntry(file, QStringLiteral("mnuFileSaveAs"), QStringLiteral("名前を付けて保存(&A)"));
    separator(file, QStringLiteral("mnuFileSepararor2"));
    addEntry(file, QStringLiteral("mnuFilePrint"), QStringLiteral("印刷(&P)"));
    addEntry(file, QStringLiteral("mnuFilePreview"), QStringLiteral("プレビュー"));
    separator(file, QStringLiteral("mnuFileSeparator3"));
    addEntry(file, QStringLiteral("mnuFileExit"), QStringLiteral("終了(&E)"));

    QMenu* edit = topMenu(QStringLiteral("mnuEdit"), QStringLiteral("編集(&E)"));
    addEntry(edit, QStringLiteral("mnuEditReSub"), QStringLiteral("再計算"));
    addEntry(edit, QStringLiteral("mnuEditBack"), QStringLiteral("セルを元に戻す"));
    separator(edit, QStringLiteral("mnuEditSeparator1"));
    addEntry(edit, QStringLiteral("mnuEditCopy"), QStringLiteral("コピー(&C)"), QKeySequence(Qt::CTRL | Qt::Key_C));
    addEntry(edit, QStringLiteral("mnuEditCut"), QStringLiteral("切り取り(&X)"), QKeySequence(Qt::CTRL | Qt::Key_X));
    addEntry(edit, QStringLiteral("mnuEditPaste"), QStringLiteral("貼り付け(&V)"), QKeySequence(Qt::CTRL | Qt::Key_V));
    separator(edit, QStringLiteral("mnuEditSeparator2"));
    addEntry(edit, QStringLiteral("mnuEditPasteClip"), QStringLiteral("クリップボードから貼り付け"));
    addEntry(edit, QStringLiteral("mnuEditCopyClip"), QStringLiteral("クリップボードへコピー"));
    addEntry(edit, QStringLiteral("mnuEditCopyTable"), QStringLiteral("クリップボードへ表をコピー"));
    separator(edit, QStringLiteral("mnuEditSeparator3"));
    addEntry(edit, QStringLiteral("mnuEditDelete"), QStringLiteral("削除(&D)"), QKeySequence(Qt::CTRL | Qt::Key_D));

    QMenu* graph = topMenu(QStringLiteral("mnuGraph"), QStringLiteral("グラフ(&G)"));
    addEntry(graph, QStringLiteral("mnuGraphShow"), QStringLiteral("表示(&S)"));
    addEntry(graph, QStringLiteral("mnuGraphPrint"), QStringLiteral("グラフの印刷(&P)"));

    QMenu* set = topMenu(QStringLiteral("mnuSet"), QStringLiteral("設定(&S)"));
    QMenu* dis = set->addMenu(QStringLiteral("表示サイズ"));
    dis->setObjectName(QStringLiteral("mnuSetDis"));
    m_menus.insert(QStringLiteral("mnuSetDis"), dis);
    m_actions.insert(QStringLiteral("mnuSetDis"), dis->menuAction());
    addEntry(dis, QStringLiteral("mnuSetDis75"), QStringLiteral("75％"));
    addEntry(dis, QStringLiteral("mnuSetDis100"), QStringLiteral("100％"));
    addEntry(dis, QStringLiteral("mnuSetDis125"), QStringLiteral("125％"));
    addEntry(set, QStringLiteral("mnuSetDisKeta"), QStringLiteral("小数桁"));

    QMenu* window = topMenu(QStringLiteral("mnuWindow"), QStringLiteral("ウインドウ(&W)"));
    addEntry(window, QStringLiteral("mnuWindowCascade"), QStringLiteral("重ねて表示"));
    addEntry(window, QStringLiteral("mnuWindowHorizontal"), QStringLiteral("上下に並べて表示"));
    addEntry(window, QStringLiteral("mnuWindowVertical"), QStringLiteral("左右に並べて表示"));

    QMenu* help = topMenu(QStringLiteral("mnuHelp"), QStringLiteral("ヘルプ(&H)"));
    addEntry(help, QStringLiteral("mnuHelpShow"), QStringLiteral("ヘルプの表示(&S)"));
    addEntry(help, QStringLiteral("mnuHelpVersion"), QStringLiteral("バージョン情報"));

    connect(file, &QMenu::aboutToShow, this, &frmZel::mnuFile_Click);
    connect(edit, &QMenu::aboutToShow, this, &frmZel::mnuEdit_Click);
    connect(graph, &QMenu::aboutToShow, this, &frmZel::mnuGraph_Click);
    connect(set, &QMenu::aboutToShow, this, &frmZel::mnuSet_Click);
    connect(window, &QMenu::aboutToShow, this, &frmZel::mnuWindow_Click);

    connect(action(QStringLiteral("mnuFileNew")), &QAction::triggered, this, &frmZel::mnuFileNew_Click);
    connect(action(QStringLiteral("mnuFileOpen")), &QAction::triggered, this, &frmZel::mnuFileOpen_Click);
    connect(action(QStringLiteral("mnuFileSave")), &QAction::triggered, this, &frmZel::mnuFileSave_Click);
    connect(action(QStringLiteral("mnuFileSaveAs")), &QAction::triggered, this, &frmZel::mnuFileSaveAs_Click);
    connect(action(QStringLiteral("mnuFileExit")), &QAction::triggered, this, &frmZel::mnuFileExit_Click);
    connect(action(QStringLiteral("mnuEditReSub")), &QAction::triggered, this, &frmZel::mnuEditReSub_Click);
    connect(action(QStringLiteral("mnuEditDelete")), &QAction::triggered, this, &frmZel::mnuEditDelete_Click);
    connect(action(QStringLiteral("mnuFilePrint")), &QAction::triggered, this, &frmZel::mnuFilePrint_Click);
    connect(action(QStringLiteral("mnuFilePreview")), &QAction::triggered, this, &frmZel::mnuFilePreview_Click);
    connect(action(QStringLiteral("mnuSetDis75")), &QAction::triggered, this, &frmZel::mnuSetDis75_Click);
    connect(action(QStringLiteral("mnuSetDis100")), &QAction::triggered, this, &frmZel::mnuSetDis100_Click);
    connect(action(QStringLiteral("mnuSetDis125")), &QAction::triggered, this, &frmZel::mnuSetDis125_Click);
    connect(action(QStringLiteral("mnuSetDisKeta")), &QAction::triggered, this, &frmZel::mnuSetDisKeta_Click);
    connect(action(QStringLiteral("mnuGraphShow")), &QAction::triggered, this, &frmZel::mnuGraphShow_Click);
    connect(action(QStringLiteral("mnuGraphPrint")), &QAction::triggered, this, &frmZel::mnuGraphPrint_Click);
    connect(action(QStringLiteral("mnuEditCopy")), &QAction::triggered, this, &frmZel::mnuEditCopy_Click);
    connect(action(QStringLiteral("mnuEditCut")), &QAction::triggered, this, &frmZel::mnuEditCut_Click);
    connect(action(QStringLiteral("mnuEditPaste")), &QAction::triggered, this, &frmZel::mnuEditPaste_Click);
    connect(action(QStringLiteral("mnuEditBack")), &QAction::triggered, this, &frmZel::mnuEditBack_Click);
    connect(action(QStringLiteral("mnuEditCopyClip")), &QAction::triggered, this, &frmZel::mnuEditCopyClip_Click);
    connect(action(QStringLiteral("mnuEditCopyTable")), &QAction::triggered, this, &frmZel::mnuEditCopyTable_Click);
    connect(action(QStringLiteral("mnuEditPasteClip")), &QAction::triggered, this, &frmZel::mnuEditPasteClip_Click);
    connect(action(QStringLiteral("mnuWindowCascade")), &QAction::triggered, this, &frmZel::mnuWindowCascade_Click);
    connect(action(QStringLiteral("mnuWindowHorizontal")), &QAction::triggered, this, &frmZel::mnuWindowHorizontal_Click);
    connect(action(QStringLiteral("mnuWindowVertical")), &QAction::triggered, this, &frmZel::mnuWindowVertical_Click);
    connect(action(QStringLiteral("mnuHelpShow")), &QAction::triggered, this, &frmZel::mnuHelpShow_Click);
    connect(action(QStringLiteral("mnuHelpVersion")), &QAction::triggered, this, &frmZel::mnuHelpVersion_Click);

    // The toolbar's buttons run through tbrMenu_ButtonClick, which applies their own
    // conditions; a greyed menu entry does not stop its button.
    tbrMenu = addToolBar(QStringLiteral("tbrMenu"));
    tbrMenu->setObjectName(QStringLiteral("tbrMenu"));
    tbrMenu->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    tbrMenu->setMovable(false);
    struct Button {
        const char* key;
        const char* caption;
        const char* tooltip;
        const char* themeIcon;
        bool gapAfter;
    };
    static const Button buttons[] = {
        {"btnFileNew", "新規", "新しいシートの作成", "document-new", false},
        {"btnFileOpen", "開く", "シートを開く", "document-open", false},
        {"btnFileSave", "保存", "上書き保存", "document-save", true},
        {"btnEditReSub", "計算", "再計算", "view-refresh", false},
        {"btnEditBack", "戻す", "元に戻す", "edit-undo", false},
        {"btnEditCopy", "コピー", "コピー", "edit-copy", false},
        {"btnEditCut", "切取", "切り取り", "edit-cut", false},
        {"btnEditPaste", "貼付", "貼り付け", "edit-paste", true},
        {"btnHelpShow", "ヘルプ", "ヘルプの表示", "help-contents", false},
    };
    for (const Button& b : buttons) {
        const QString key = QString::fromUtf8(b.key);
        const QString caption = QString::fromUtf8(b.caption);
        QAction* a = tbrMenu->addAction(toolIcon(QString::fromUtf8(b.themeIcon), caption), caption);
        a->setObjectName(key);
        a->setToolTip(QString::fromUtf8(b.tooltip));
        m_actions.insert(key, a);
        connect(a, &QAction::triggered, this, [this, key] { tbrMenu_ButtonClick(key); });
        if (b.gapAfter) {
            tbrMenu->addSeparator();
        }
    }
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

int frmZel::loadedWindowCount() const
{
    return 1 + int(sheets().size()) + (GraphShown ? 1 : 0);
}

void frmZel::setAddressLabel(const QString& text)
{
    Label1->setText(text);
}

void frmZel::setEditLine(const QString& text)
{
    txtEditLine->setText(text);
}

// The Delete key runs the command itself: the menu entry may be greyed from the last time the
// Edit menu opened.
void frmZel::editDelete()
{
    mnuEditDelete_Click();
}

void frmZel::mnuEditReSub_Click()
{
    if (frmZelChild* sheet = activeSheet()) {
        sheet->Recalculate();
    }
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

void frmZel::mnuFileNew_Click()
{
    if (m_app.OpenSheetCount >= 10) {
        m_app.messages().critical(this, QStringLiteral("1度に開くことのできるシートの数は10です！"));
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

void frmZel::mnuWindowCascade_Click()
{
    for (QMdiSubWindow* w : mdiArea->subWindowList()) {
        w->showNormal();
    }
    mdiArea->cascadeSubWindows();
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
    for (const QString& path : {programDir.filePath(QStringLiteral("ZelTarn.hlp")),
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
        m_app.messages().critical(this, QStringLiteral("ヘルプファイルが見つかりません！\r\n") + path);
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
    enum class When { Always, WindowsLoaded, WindowsLoadedAndCopied };
    struct Run {
        const char* key;
        const char* entry;
        When when;
    };
    static const Run runs[] = {
        {"btnFileNew", "mnuFileNew", When::Always},
        {"btnFileOpen", "mnuFileOpen", When::Always},
        {"btnFileSave", "mnuFileSave", When::WindowsLoaded},
        {"btnEditReSub", "mnuEditReSub", When::WindowsLoaded},
        {"btnEditBack", "mnuEditBack", When::WindowsLoaded},
        {"btnEditCopy", "mnuEditCopy", When::WindowsLoaded},
        {"btnEditCut", "mnuEditCut", When::WindowsLoaded},
        {"btnEditPaste", "mnuEditPaste", When::WindowsLoadedAndCopied},
        {"btnHelpShow", "mnuHelpShow", When::Always},
    };
    for (const Run& run : runs) {
        if (key != QLatin1String(run.key)) {
            continue;
        }
        const bool windows = loadedWindowCount() > 1;
        const bool allowed = run.when == When::Always || (windows && run.when == When::WindowsLoaded) ||
                             (windows && run.when == When::WindowsLoadedAndCopied && m_buffers.canPaste());
        if (allowed) {
            // The entry runs even when its menu greyed it the last time the menu opened.
            QAction* entry = action(QLatin1String(run.entry));
            const bool wasEnabled = entry->isEnabled();
            entry->setEnabled(true);
            entry->trigger();
            entry->setEnabled(wasEnabled);
        }
        return;
    }
}

void frmZel::mnuFile_Click()
{
    const bool open = m_app.OpenSheetCount != 0;
    for (const char* name : {"mnuFileSave", "mnuFileSaveAs", "mnuFilePrint", "mnuFilePreview"}) {
        action(QLatin1String(name))->setEnabled(open);
    }
}

void frmZel::mnuEdit_Click()
{
    const bool open = m_app.OpenSheetCount != 0;
    if (!open) {
        for (const char* name : {"mnuEditBack", "mnuEditCopy", "mnuEditCut", "mnuEditPaste", "mnuEditReSub",
                                 "mnuEditCopyClip", "mnuEditPasteClip", "mnuEditDelete", "mnuEditCopyTable"}) {
            action(QLatin1String(name))->setEnabled(false);
        }
        return;
    }
    const QMimeData* clip = QGuiApplication::clipboard()->mimeData();
    action(QStringLiteral("mnuEditPasteClip"))->setEnabled(clip && clip->hasText());
    action(QStringLiteral("mnuEditPaste"))->setEnabled(m_buffers.canPaste());
    for (const char* name : {"mnuEditBack", "mnuEditCopy", "mnuEditCut", "mnuEditDelete", "mnuEditCopyTable",
                             "mnuEditCopyClip"}) {
        action(QLatin1String(name))->setEnabled(true);
    }
    // Not while a cell is being typed into: the overlay editor is the sheet's active control.
    frmZelChild* sheet = activeSheet();
    const bool editing = sheet && sheet->isEditing();
    action(QStringLiteral("mnuEditReSub"))->setEnabled(!editing);
}

void frmZel::mnuGraph_Click()
{
    const bool open = m_app.OpenSheetCount != 0;
    action(QStringLiteral("mnuGraphPrint"))->setEnabled(open && GraphShown);
    action(QStringLiteral("mnuGraphShow"))->setEnabled(open && !GraphShown);
}

void frmZel::mnuSet_Click()
{
    const bool open = m_app.OpenSheetCount != 0;
    action(QStringLiteral("mnuSetDis"))->setEnabled(open);
    action(QStringLiteral("mnuSetDisKeta"))->setEnabled(open);
}

void frmZel::mnuWindow_Click()
{
    const bool open = m_app.OpenSheetCount != 0;
    for (const char* name : {"mnuWindowCascade", "mnuWindowHorizontal", "mnuWindowVertical"}) {
        action(QLatin1String(name))->setEnabled(open);
    }
}
