#include "sheet/sheetgrid.h"

#include "model/sheetmetrics.h"

#include "model/sheetmodel.h"
#include "sheet/gridaccessible.h"
#include "ui/gridpainter.h"

#include <QAccessible>
#include <QGuiApplication>
#include <QInputMethod>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

namespace {

constexpr int ResizeGrip = 3; // pixels either side of a heading border that start a resize

} // namespace

SheetGrid::SheetGrid(GridState& state, QWidget* parent)
    : QAbstractScrollArea(parent), m_state(state)
{
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled);
    viewport()->setMouseTracking(true);
    setFrameShape(QFrame::NoFrame);
    installGridAccessibility();
    m_state.setChangeListener([this] {
        viewport()->update();
        announceLater();
    });
    verticalScrollBar()->setSingleStep(1);
    horizontalScrollBar()->setSingleStep(1);
    updateScrollBars();
}

SheetGrid::SheetGrid(SheetModel& model, QWidget* parent) : SheetGrid(model.grid(), parent)
{
    m_model = &model;
}

SheetGrid::~SheetGrid()
{
    m_state.setChangeListener({});
}

double SheetGrid::dpi() const
{
    return logicalDpiX() > 0 ? logicalDpiX() : 96;
}

int SheetGrid::toPixels(int twips) const
{
    return GridPainter(m_state, dpi()).toPixels(twips);
}

QRect SheetGrid::cellRect(int row, int col) const
{
    return GridPainter(m_state, dpi()).cellRect(row, col);
}

QImage SheetGrid::Picture(int pictureType) const
{
    return GridPainter(m_state, dpi()).picture(pictureType == 1);
}

// The last first line the scroll bar offers: the one from which the lines to the end just fill
// the view, so the last row and column can be scrolled into view and no further.
int SheetGrid::lastFirstLine(Qt::Orientation orientation) const
{
    const bool columns = orientation == Qt::Horizontal;
    const auto sizeOf = [&](int i) { return columns ? m_state.ColWidth(i) : m_state.RowHeight(i); };
    const int fixedLines = columns ? m_state.FixedCols() : m_state.FixedRows();
    const int lines = columns ? m_state.Cols() : m_state.Rows();
    const GridPainter gp(m_state, dpi());
    int fixed = 0;
    for (int i = 0; i < fixedLines; ++i) {
        fixed += sizeOf(i);
    }
    const int room = (columns ? viewport()->width() : viewport()->height()) - gp.toPixels(fixed);
    int used = 0;
    for (int i = lines - 1; i >= fixedLines; --i) {
        used += gp.toPixels(sizeOf(i));
        if (used > room) {
            return std::min(i + 1, lines - 1);
        }
    }
    return fixedLines;
}

// The rows a page step moves: those of default height the viewport shows, less one kept.
int SheetGrid::rowsPerPage() const
{
    return std::max(1, viewport()->height() / std::max(1, toPixels(DefaultRowHeight)) - 1);
}

void SheetGrid::updateScrollBars()
{
    m_syncingScroll = true;
    verticalScrollBar()->setRange(0, lastFirstLine(Qt::Vertical) - m_state.FixedRows());
    verticalScrollBar()->setPageStep(rowsPerPage());
    verticalScrollBar()->setValue(m_state.TopRow() - m_state.FixedRows());
    horizontalScrollBar()->setRange(0, lastFirstLine(Qt::Horizontal) - m_state.FixedCols());
    horizontalScrollBar()->setPageStep(3);
    horizontalScrollBar()->setValue(m_state.LeftCol() - m_state.FixedCols());
    m_syncingScroll = false;
}

void SheetGrid::scrollContentsBy(int, int)
{
    if (m_syncingScroll) {
        return;
    }
    const int top = verticalScrollBar()->value() + m_state.FixedRows();
    const int left = horizontalScrollBar()->value() + m_state.FixedCols();
    if (top != m_state.TopRow() || left != m_state.LeftCol()) {
        m_state.setTopRow(top);
        m_state.setLeftCol(left);
        viewport()->update();
        Q_EMIT scrolled();
    }
}

void SheetGrid::showCurrentCell()
{
    const int row = m_state.RowSel();
    const int col = m_state.ColSel();
    if (row < m_state.TopRow()) {
        m_state.setTopRow(row);
    } else {
        while (m_state.TopRow() < row && cellRect(row, 0).bottom() >= viewport()->height()) {
            m_state.setTopRow(m_state.TopRow() + 1);
        }
    }
    if (col < m_state.LeftCol()) {
        m_state.setLeftCol(col);
    } else {
        while (m_state.LeftCol() < col && cellRect(0, col).right() >= viewport()->width()) {
            m_state.setLeftCol(m_state.LeftCol() + 1);
        }
    }
    updateScrollBars();
}

void SheetGrid::paintEvent(QPaintEvent* event)
{
    QPainter painter(viewport());
    GridPainter(m_state, dpi()).paint(painter, event->rect(), true);
    m_state.markPainted();
    if (verticalScrollBar()->value() != m_state.TopRow() - m_state.FixedRows() ||
        horizontalScrollBar()->value() != m_state.LeftCol() - m_state.FixedCols()) {
        updateScrollBars(); // TopRow or LeftCol was set in code
    }
}

void SheetGrid::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
}

// The column whose right border in the heading row is under the point, or -1. Columns of
// zero width stand behind the border left of them: grabbed just right of that border, the
// first of them is widened, so that a hidden column can be brought back.
int SheetGrid::resizeBorderAt(const QPoint& pos) const
{
    const GridPainter gp(m_state, dpi());
    if (pos.y() >= gp.toPixels(m_state.RowHeight(0))) {
        return -1;
    }
    // The heading column's border, then those of the columns in view, left to right.
    for (int c = 0; c < m_state.Cols(); c = c == 0 ? m_state.LeftCol() : c + 1) {
        const int border = cellRect(0, c).right() + 1;
        if (border - ResizeGrip > pos.x()) {
            break;
        }
        if (std::abs(border - pos.x()) > ResizeGrip) {
            continue;
        }
        const int next = c == 0 ? m_state.LeftCol() : c + 1;
        if (pos.x() > border && next < m_state.Cols() && m_state.ColWidth(next) == 0) {
            return next;
        }
        return c;
    }
    return -1;
}

void SheetGrid::userMoveTo(int row, int col, bool extend)
{
    row = std::clamp(row, m_state.FixedRows(), m_state.Rows() - 1);
    col = std::clamp(col, m_state.FixedCols(), m_state.Cols() - 1);
    if (extend) {
        m_state.setRowSel(row);
        m_state.setColSel(col);
    } else if (row != m_state.Row() || col != m_state.Col() || m_state.RowSel() != row ||
               m_state.ColSel() != col) {
        if (row != m_state.Row() || col != m_state.Col()) {
            Q_EMIT leaveCell();
        }
        m_state.setCurrent(row, col);
    }
    showCurrentCell();
    announceGridChanges(*this);
}

// The state tells the grid once per repaint and once when drawing resumes after work on many
// cells; a screen reader hears of the grid after that work, as it left the grid.
void SheetGrid::announceLater()
{
    if (m_announcing || !QAccessible::isActive()) {
        return;
    }
    m_announcing = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_announcing = false;
            announceGridChanges(*this, std::exchange(m_cellTakesFocus, false));
        },
        Qt::QueuedConnection);
}

void SheetGrid::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        return;
    }
    commitComposition();
    const QPoint pos = event->position().toPoint();
    if (const int col = resizeBorderAt(pos); col >= 0) {
        m_resizingCol = col;
        m_resizeStartX = pos.x();
        m_resizeStartWidth = m_state.ColWidth(col);
        return;
    }
    int row = 0;
    int col = 0;
    if (!GridPainter(m_state, dpi()).cellAt(pos, row, col) || row < m_state.FixedRows() ||
        col < m_state.FixedCols()) {
        return; // headings and the grey area cannot become current
    }
    userMoveTo(row, col, event->modifiers() & Qt::ShiftModifier);
    m_selecting = true;
}

void SheetGrid::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    if (m_resizingCol >= 0) {
        const GridPainter gp(m_state, dpi());
        const int twips = m_resizeStartWidth + gp.toTwips(pos.x() - m_resizeStartX);
        m_state.setColWidth(m_resizingCol, std::max(0, twips));
        updateScrollBars();
        return;
    }
    if (!m_selecting) {
        viewport()->setCursor(resizeBorderAt(pos) >= 0 ? Qt::SplitHCursor : Qt::ArrowCursor);
        return;
    }
    int row = 0;
    int col = 0;
    const QPoint inside(std::clamp(pos.x(), 0, viewport()->width() - 1),
                        std::clamp(pos.y(), 0, viewport()->height() - 1));
    if (GridPainter(m_state, dpi()).cellAt(inside, row, col)) {
        userMoveTo(row, col, true);
    }
}

void SheetGrid::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        return;
    }
    if (m_resizingCol >= 0) {
        const int col = std::exchange(m_resizingCol, -1);
        if (m_state.ColWidth(col) != m_resizeStartWidth) {
            Q_EMIT columnResized(col);
        }
        return;
    }
    if (m_selecting) {
        m_selecting = false;
        Q_EMIT clicked();
    }
}

void SheetGrid::mouseDoubleClickEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    if (event->button() != Qt::LeftButton || resizeBorderAt(pos) >= 0) {
        return;
    }
    // Only on a data cell: headings and the grey area beyond the last cell are not cells.
    int row = 0;
    int col = 0;
    if (GridPainter(m_state, dpi()).cellAt(pos, row, col) && row >= m_state.FixedRows() &&
        col >= m_state.FixedCols()) {
        Q_EMIT doubleClicked();
    }
}

// A key on the grid: the sheet sees it first (keyDown, which may swallow it); the grid's own
// navigation moves the current cell or, with Shift, the selection's far corner; any other key
// that types something is a typed character.
void SheetGrid::keyPressEvent(QKeyEvent* event)
{
    if (m_inputTarget) {
        QCoreApplication::sendEvent(m_inputTarget, event);
        return;
    }
    int code = event->key();
    Q_EMIT keyDown(code, event->modifiers());
    if (code == 0) {
        event->accept();
        return;
    }
    const bool extend = event->modifiers() & Qt::ShiftModifier;
    if (const std::optional<QPoint> to = navigationTarget(*event, extend)) {
        userMoveTo(to->y(), to->x(), extend);
        Q_EMIT navigated();
        return;
    }
    const QString text = typedText(*event);
    if (text.isEmpty()) {
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    if (text.size() > 1) {
        // A character outside the basic plane, or several at once: like composed text.
        Q_EMIT textComposed(text);
    } else {
        int ascii = text.front().unicode();
        Q_EMIT keyPress(ascii);
    }
    event->accept();
}

// Where an arrow, PageUp/PageDown, Home or End takes the current cell (or, extending, the far
// corner of the selection) as (column, row); nothing for other keys. A page is the rows the
// view shows at the default row height, less one.
std::optional<QPoint> SheetGrid::navigationTarget(const QKeyEvent& event, bool extend) const
{
    const int row = extend ? m_state.RowSel() : m_state.Row();
    const int col = extend ? m_state.ColSel() : m_state.Col();
    const bool control = event.modifiers() & Qt::ControlModifier;
    const int page = rowsPerPage();
    switch (event.key()) {
    case Qt::Key_Up:
        return QPoint(col, row - 1);
    case Qt::Key_Down:
        return QPoint(col, row + 1);
    case Qt::Key_Left:
        return QPoint(col - 1, row);
    case Qt::Key_Right:
        return QPoint(col + 1, row);
    case Qt::Key_PageUp:
        return QPoint(col, row - page);
    case Qt::Key_PageDown:
        return QPoint(col, row + page);
    case Qt::Key_Home:
        return QPoint(1, control ? 1 : row);
    case Qt::Key_End:
        return QPoint(m_state.Cols() - 1, control ? m_state.Rows() - 1 : row);
    default:
        return std::nullopt;
    }
}

// What a key types on the grid. Ctrl with a letter types that letter's control code (Ctrl+A is
// 1), as Tab types 9: every code up to 32 opens the editor on the cell's expression. The menus'
// shortcuts have taken their keys already while their entries are enabled; other keys with Ctrl
// or Alt type nothing.
QString SheetGrid::typedText(const QKeyEvent& event)
{
    const int code = event.key();
    if ((event.modifiers() & Qt::ControlModifier) && code >= Qt::Key_A && code <= Qt::Key_Z) {
        return QString(QChar(char16_t(code - Qt::Key_A + 1)));
    }
    if (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier)) {
        return QString();
    }
    return event.text();
}

void SheetGrid::setInputTarget(QWidget* target)
{
    m_inputTarget = target;
    m_preedit.clear();
    QGuiApplication::inputMethod()->update(Qt::ImQueryAll);
}

// A composition under way lands where it started before a click acts: the input method is
// asked to give it up, which commits it; one that drops it instead has its text committed here.
void SheetGrid::commitComposition()
{
    if (!m_inputTarget || m_preedit.isEmpty()) {
        return;
    }
    QGuiApplication::inputMethod()->reset();
    if (m_inputTarget && !m_preedit.isEmpty()) {
        QInputMethodEvent commit;
        commit.setCommitString(m_preedit);
        inputMethodEvent(&commit);
    }
}

void SheetGrid::inputMethodEvent(QInputMethodEvent* event)
{
    if (!m_inputTarget && (!event->preeditString().isEmpty() || !event->commitString().isEmpty())) {
        Q_EMIT compositionStarted();
    }
    if (m_inputTarget) {
        m_preedit = event->preeditString();
        QCoreApplication::sendEvent(m_inputTarget, event);
        Q_EMIT compositionChanged(*event);
        QGuiApplication::inputMethod()->update(Qt::ImCursorRectangle);
    }
    event->accept();
}

QVariant SheetGrid::inputMethodQuery(Qt::InputMethodQuery query) const
{
    if (m_inputTarget) {
        // The target's answers, its rectangles moved to where it lies on the grid.
        const QVariant answer = m_inputTarget->inputMethodQuery(query);
        const QPoint offset = m_inputTarget->mapTo(this, QPoint(0, 0));
        switch (answer.typeId()) {
        case QMetaType::QRect:
            return answer.toRect().translated(offset);
        case QMetaType::QRectF:
            return answer.toRectF().translated(offset);
        default:
            return answer;
        }
    }
    if (query == Qt::ImCursorRectangle) {
        return cellRect(m_state.Row(), m_state.Col());
    }
    if (query == Qt::ImEnabled) {
        return true;
    }
    return QAbstractScrollArea::inputMethodQuery(query);
}

// Tab is a typed character on a sheet (code 9), not a move of the focus.
bool SheetGrid::focusNextPrevChild(bool)
{
    return false;
}

void SheetGrid::focusInEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusInEvent(event);
    // After the grid itself is told as focused: the current cell is where the focus is.
    m_cellTakesFocus = true;
    announceLater();
}
