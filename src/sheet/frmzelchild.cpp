#include "sheet/frmzelchild.h"

#include "model/sheetmetrics.h"

#include "files/recovery.h"
#include "files/sheetio.h"
#include "sheet/celleditor.h"
#include "sheet/sheetgrid.h"
#include "ui/gridpainter.h"
#include "ui/messages.h"
#include "ui/waitcursor.h"

#include <QCloseEvent>
#include <cmath>
#include <stdexcept>

namespace {

constexpr int RecoveryDelayMs = 2000;

} // namespace

QString cellAddress(int row, int col)
{
    return QLatin1Char(' ') + columnLetter(col) + QLatin1Char(' ') + QString::number(row);
}

frmZelChild::frmZelChild(SheetHost& host, QWidget* parent) : QWidget(parent), m_host(host)
{
    setAttribute(Qt::WA_DeleteOnClose);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor::fromRgb(QRgb(HeadingColour)));
    setPalette(pal);
    setAutoFillBackground(true);

    m_model = std::make_shared<SheetModel>([this]() -> clsCal& { return m_host.engine(); });
    grdZel = new SheetGrid(*m_model, this);
    grdZel->setObjectName(QStringLiteral("grdZel"));
    txtEdit = new CellEditor(grdZel->viewport());
    txtEdit->setObjectName(QStringLiteral("txtEdit"));
    txtEdit->setAccessibleName(QStringLiteral("セル入力"));
    txtEdit->setFont(GridPainter::gridFont(12));
    txtEdit->setFrame(false);
    txtEdit->hide();
    // Typing changes the editor's text as the model knows it (and so marks the sheet changed).
    connect(txtEdit, &QLineEdit::textChanged, this,
            [this](const QString& text) { m_model->setEditorText(text); });
    connect(txtEdit, &CellEditor::keyDown, this, &frmZelChild::txtEdit_KeyDown);
    connect(txtEdit, &CellEditor::keyHandled, this, &frmZelChild::txtEdit_KeyHandled);
    connect(grdZel, &SheetGrid::keyPress, this, &frmZelChild::grdZel_KeyPress);
    connect(grdZel, &SheetGrid::keyDown, this, &frmZelChild::grdZel_KeyDown);
    connect(grdZel, &SheetGrid::textComposed, this, &frmZelChild::grdZel_TextComposed);
    connect(grdZel, &SheetGrid::compositionStarted, this, &frmZelChild::grdZel_CompositionStarted);
    connect(grdZel, &SheetGrid::compositionChanged, this, &frmZelChild::grdZel_CompositionChanged);
    // A recovery copy about two seconds after the last change; a change restarts the wait,
    // which costs a clock reading, not a timer restart, however many cells a command writes.
    m_recoveryTimer.setSingleShot(true);
    connect(&m_recoveryTimer, &QTimer::timeout, this, &frmZelChild::recoveryDue);
    m_model->setCommitListener([this] {
        m_sinceChange.start();
        if (!m_recoveryTimer.isActive()) {
            m_recoveryTimer.start(RecoveryDelayMs);
        }
    });
    connect(grdZel, &SheetGrid::columnResized, this, [this](int col) {
        if (col >= 1) {
            layoutChangedByUser();
        }
    });
    // A hidden editor takes no more input from the grid.
    connect(txtEdit, &CellEditor::hidden, this, [this] { grdZel->setInputTarget(nullptr); });
    connect(grdZel, &SheetGrid::leaveCell, this, &frmZelChild::grdZel_LeaveCell);
    connect(grdZel, &SheetGrid::clicked, this, &frmZelChild::grdZel_Click);
    connect(grdZel, &SheetGrid::doubleClicked, this, &frmZelChild::grdZel_DblClick);
    connect(grdZel, &SheetGrid::scrolled, this, &frmZelChild::grdZel_Scroll);
    connect(grdZel, &SheetGrid::navigated, this, &frmZelChild::grdZel_Navigated);

    // Loading the window: the sizes of display size 100％, which the grid starts with.
    GridState& grid = grdZel->state();
    Titles();
    SelMove = true;
    setEditorText(QString());
    txtEdit->hide();
    grid.setCurrent(1, 1);
    showCurrentAddress();
    m_model->clearChanged();
    m_model->endPointing();
}

frmZelChild::~frmZelChild()
{
    if (Tag != 0) {
        m_host.unregisterSheet(Tag);
    }
    dropRecovery(); // closed, with or without saving: nothing to recover
    // The grid shows the model's state: it goes first, while that state is still there.
    delete grdZel;
}

// Headings are drawn centred on their light-blue cells; the last step of writing them is
// choosing that alignment, which the painter applies to every heading.
void frmZelChild::Titles()
{
    GridState& grid = grdZel->state();
    grid.setRow(0);
    for (int c = 1; c < grid.Cols(); ++c) {
        grid.setCol(c);
        grid.setText(QString(columnLetter(c)));
    }
    grid.setCol(0);
    for (int r = 1; r < grid.Rows(); ++r) {
        grid.setRow(r);
        grid.setText(QString::number(r));
    }
}

bool frmZelChild::isUntitled() const
{
    return windowTitle().contains(QLatin1String("New-Sheet"));
}

void frmZelChild::layoutChangedByUser()
{
    if (isUntitled() || savesLayout(windowTitle())) {
        m_model->markChanged();
    }
    m_model->noteLayoutChange();
}

bool frmZelChild::queryClose()
{
    if (!IsChanged()) {
        return true;
    }
    const QString caption = windowTitle();
    const auto answer = m_host.messages().askSave(
        this, caption + QStringLiteral("は変更されています。\r\n保存しますか？"));
    switch (answer) {
    case Messages::Answer::Yes:
        return m_host.saveForClose(*this);
    case Messages::Answer::No:
        return true;
    default:
        return false;
    }
}

void frmZelChild::closeEvent(QCloseEvent* event)
{
    if (m_closeAgreed || queryClose()) {
        m_closeAgreed = true;
        event->accept();
        // The window unloads: its name leaves the list of open sheets.
        if (Tag != 0) {
            m_host.unregisterSheet(Tag);
            Tag = 0;
        }
    } else {
        event->ignore();
    }
}

void frmZelChild::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    grdZel->setGeometry(0, 0, width(), height());
}

void frmZelChild::recoveryDue()
{
    const qint64 since = m_sinceChange.elapsed();
    if (since < RecoveryDelayMs) {
        m_recoveryTimer.start(int(RecoveryDelayMs - since));
        return;
    }
    writeRecovery();
}

void frmZelChild::writeRecovery()
{
    m_recoveryTimer.stop();
    if (!IsChanged()) {
        return; // as read or saved: the file itself is the copy
    }
    if (m_recoveryName.isEmpty()) {
        m_recoveryName = m_host.recovery().newName();
    }
    const QString caption = windowTitle();
    const QString path = isUntitled() ? QString() : caption;
    m_host.recovery().write(m_recoveryName, recoverySnapshot(*m_model, caption, path));
}

void frmZelChild::dropRecovery()
{
    m_recoveryTimer.stop();
    if (!m_recoveryName.isEmpty()) {
        m_host.recovery().remove(m_recoveryName);
        m_recoveryName.clear();
    }
}

// Entering a cell and recalculating the sheet.
void frmZelChild::EnterCell()
{
    m_model->enter(m_model->editorText());
}

void frmZelChild::EnterEditLine(const QString& editLineText)
{
    m_model->enter(editLineText);
}

bool frmZelChild::Recalculate()
{
    if (isEditing()) {
        m_host.messages().critical(this, QStringLiteral("セル編集中は再計算できません！"));
        return false;
    }
    GridState& grid = grdZel->state();
    const int currentRow = grid.Row();
    const int currentCol = grid.Col();
    {
        const QuietGrid quiet(grid);
        const WaitCursor hourglass;
        m_model->restoreShownText();
        // Each cell passes through the editor's text, so a sheet whose expressions differ from
        // what the editor held is marked changed, as typing them would.
        m_model->recalculate();
        grid.setCurrent(currentRow, currentCol);
    }
    m_model->endPointing();
    setEditorText(QString());
    return true;
}
