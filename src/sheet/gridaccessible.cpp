#include "sheet/gridaccessible.h"

#include "model/sheetmodel.h"
#include "sheet/sheetgrid.h"
#include "ui/gridpainter.h"

#include <QAccessibleWidget>
#include <QHash>
#include <mutex>
#include <vector>

namespace {

// The object through which a selected block is told.
constexpr char NoticeName[] = "selectionNotice";

class GridAccessible;

// One cell of the grid by its place: a data cell, a heading of the top row or the left
// column, or the empty corner. It keeps no text, so it cannot go stale.
class GridCellAccessible : public QAccessibleInterface, public QAccessibleTableCellInterface
{
public:
    GridCellAccessible(const GridAccessible& table, int row, int col)
        : m_table(table), m_row(row), m_col(col)
    {
    }

    int row() const { return m_row; }
    int col() const { return m_col; }
    const GridAccessible& owner() const { return m_table; }

    bool isValid() const override;
    QObject* object() const override { return nullptr; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* parent() const override;
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QString text(QAccessible::Text t) const override;
    // Cells are written through the editor only.
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override;
    QAccessible::Role role() const override;
    QAccessible::State state() const override;
    void* interface_cast(QAccessible::InterfaceType type) override;

    // Rows and columns count the data cells from 0, as the table does.
    bool isSelected() const override;
    QList<QAccessibleInterface*> columnHeaderCells() const override;
    QList<QAccessibleInterface*> rowHeaderCells() const override;
    int columnIndex() const override;
    int rowIndex() const override;
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface* table() const override { return parent(); }

private:
    const GridAccessible& m_table;
    int m_row;
    int m_col;
};

// The grid as a table. Its children are the grid's cells row by row, headings and corner
// included, as Qt's own tables list theirs; then the widgets shown over the cells, which is the
// overlay editor while a cell is edited.
class GridAccessible : public QAccessibleWidget, public QAccessibleTableInterface
{
public:
    explicit GridAccessible(SheetGrid* grid);
    ~GridAccessible() override;

    SheetGrid* grid() const { return static_cast<SheetGrid*>(widget()); }
    const GridState& cells() const { return grid()->state(); }
    bool isData(int row, int col) const
    {
        return row >= cells().FixedRows() && col >= cells().FixedCols();
    }
    QAccessibleInterface* cell(int row, int col) const;
    QString cellText(int row, int col, QAccessible::Text t) const;
    QRect cellRect(int row, int col) const;
    QAccessible::State cellState(int row, int col) const;

    void announce(bool cellTakesFocus);
    // Shows the notification object with a text, anew each time.
    void showNotice(const QString& text);

    QAccessibleInterface* childAt(int x, int y) const override;
    QAccessibleInterface* child(int index) const override;
    int childCount() const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* focusChild() const override;
    QString text(QAccessible::Text t) const override;
    void* interface_cast(QAccessible::InterfaceType type) override;

    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    QAccessibleInterface* cellAt(int row, int column) const override;
    int selectedCellCount() const override;
    QList<QAccessibleInterface*> selectedCells() const override;
    QString columnDescription(int column) const override;
    QString rowDescription(int row) const override;
    int selectedColumnCount() const override { return int(selectedColumns().size()); }
    int selectedRowCount() const override { return int(selectedRows().size()); }
    int columnCount() const override { return cells().Cols() - cells().FixedCols(); }
    int rowCount() const override { return cells().Rows() - cells().FixedRows(); }
    QList<int> selectedColumns() const override;
    QList<int> selectedRows() const override;
    bool isColumnSelected(int column) const override { return selectedColumns().contains(column); }
    bool isRowSelected(int row) const override { return selectedRows().contains(row); }
    // The selection is the user's, made on the grid.
    bool selectRow(int) override { return false; }
    bool selectColumn(int) override { return false; }
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    // Cells read the grid when asked; those whose text changed in a block were let go before
    // the change was told (announceTexts).
    void modelChange(QAccessibleTableModelChangeEvent*) override {}

private:
    int cellCount() const { return cells().Rows() * cells().Cols(); }
    QList<QWidget*> overlays() const;
    // What a data cell shows, and its expression.
    const QString& valueOf(int row, int col) const
    {
        return m_model ? m_model->valueText(row, col) : cells().textAt(row, col);
    }
    const QString& expressionOf(int row, int col) const
    {
        static const QString none;
        return m_model ? m_model->exWithoutMoving(row, col) : none;
    }
    void letGo(int row, int col);
    void tell(QAccessibleInterface* iface, QAccessible::Event event);
    void announceTexts();
    void announceSelection();
    void announceFocus(bool cellTakesFocus);

    // The sheet behind a sheet window's grid; a grid on its own shows texts only.
    const SheetModel* m_model = nullptr;
    mutable QHash<int, QAccessible::Id> m_cells;
    // What the screen reader was last told: the texts and expressions of the data cells, the
    // selection and the current cell (none yet).
    std::vector<QString> m_names;
    std::vector<QString> m_expressions;
    CellRange m_selection;
    int m_currentRow = -1;
    int m_currentCol = -1;
};

GridAccessible::GridAccessible(SheetGrid* grid)
    : QAccessibleWidget(grid, QAccessible::Table), m_model(grid->model())
{
    for (int r = cells().FixedRows(); r < cells().Rows(); ++r) {
        for (int c = cells().FixedCols(); c < cells().Cols(); ++c) {
            m_names.push_back(valueOf(r, c));
            m_expressions.push_back(expressionOf(r, c));
        }
    }
    m_selection = orderedSelection(cells());
}

GridAccessible::~GridAccessible()
{
    for (const QAccessible::Id id : std::as_const(m_cells)) {
        QAccessible::deleteAccessibleInterface(id);
    }
}

QAccessibleInterface* GridAccessible::cell(int row, int col) const
{
    const int index = row * cells().Cols() + col;
    if (const QAccessible::Id id = m_cells.value(index)) {
        return QAccessible::accessibleInterface(id);
    }
    auto* iface = new GridCellAccessible(*this, row, col);
    m_cells.insert(index, QAccessible::registerAccessibleInterface(iface));
    return iface;
}

// Heard after what the cell shows: where it is and, for a formula, the formula ("A3 =B2*2").
QString describe(int row, int col, const QString& expression)
{
    const QString address = cellName(row, col);
    return expression.startsWith(QLatin1Char('=')) ? address + QLatin1Char(' ') + expression
                                                   : address;
}

QString GridAccessible::cellText(int row, int col, QAccessible::Text t) const
{
    const bool data = isData(row, col);
    switch (t) {
    case QAccessible::Name:
        return data ? valueOf(row, col) : cells().textAt(row, col);
    case QAccessible::Description:
        return data ? describe(row, col, expressionOf(row, col)) : QString();
    default:
        return {};
    }
}

QRect GridAccessible::cellRect(int row, int col) const
{
    if (!grid()->isVisible()) {
        return {};
    }
    const QRect r = grid()->cellRect(row, col);
    return {grid()->viewport()->mapToGlobal(r.topLeft()), r.size()};
}

QAccessible::State GridAccessible::cellState(int row, int col) const
{
    QAccessible::State st;
    const QRect r = grid()->cellRect(row, col);
    st.invisible = r.isEmpty() || !grid()->viewport()->rect().intersects(r) || !grid()->isVisible();
    if (isData(row, col)) {
        st.focusable = true;
        st.selectable = true;
        st.extSelectable = true;
        st.selected = cells().isSelected(row, col);
        st.focused = row == cells().Row() && col == cells().Col() && grid()->hasFocus();
    }
    return st;
}

QList<QWidget*> GridAccessible::overlays() const
{
    QList<QWidget*> shown = grid()->viewport()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    shown.removeIf([](const QWidget* w) { return w->isHidden(); });
    return shown;
}

QAccessibleInterface* GridAccessible::childAt(int x, int y) const
{
    const QPoint pos = grid()->viewport()->mapFromGlobal(QPoint(x, y));
    for (QWidget* w : overlays()) {
        if (w->geometry().contains(pos)) {
            return QAccessible::queryAccessibleInterface(w);
        }
    }
    int row = 0;
    int col = 0;
    if (grid()->viewport()->rect().contains(pos) &&
        GridPainter(cells(), grid()->dpi()).cellAt(pos, row, col)) {
        return cell(row, col);
    }
    return nullptr;
}

QAccessibleInterface* GridAccessible::child(int index) const
{
    if (index >= 0 && index < cellCount()) {
        return cell(index / cells().Cols(), index % cells().Cols());
    }
    const QList<QWidget*> shown = overlays();
    index -= cellCount();
    return index >= 0 && index < shown.size() ? QAccessible::queryAccessibleInterface(shown[index])
                                              : nullptr;
}

int GridAccessible::childCount() const
{
    return cellCount() + int(overlays().size());
}

int GridAccessible::indexOfChild(const QAccessibleInterface* child) const
{
    if (const auto* c = dynamic_cast<const GridCellAccessible*>(child)) {
        return &c->owner() == this ? c->row() * cells().Cols() + c->col() : -1;
    }
    const int overlay =
        child ? int(overlays().indexOf(qobject_cast<QWidget*>(child->object()))) : -1;
    return overlay < 0 ? -1 : cellCount() + overlay;
}

QAccessibleInterface* GridAccessible::focusChild() const
{
    for (QWidget* w : overlays()) {
        if (w->hasFocus()) {
            return QAccessible::queryAccessibleInterface(w);
        }
    }
    return grid()->hasFocus() ? cell(cells().Row(), cells().Col()) : nullptr;
}

QString GridAccessible::text(QAccessible::Text t) const
{
    if (t == QAccessible::Name && grid()->accessibleName().isEmpty()) {
        return QStringLiteral("シート");
    }
    return QAccessibleWidget::text(t);
}

void* GridAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::TableInterface) {
        return static_cast<QAccessibleTableInterface*>(this);
    }
    return QAccessibleWidget::interface_cast(type);
}

QAccessibleInterface* GridAccessible::cellAt(int row, int column) const
{
    if (row < 0 || row >= rowCount() || column < 0 || column >= columnCount()) {
        return nullptr;
    }
    return cell(row + cells().FixedRows(), column + cells().FixedCols());
}

int GridAccessible::selectedCellCount() const
{
    const CellRange sel = orderedSelection(cells());
    return (sel.bottom - sel.top + 1) * (sel.right - sel.left + 1);
}

QList<QAccessibleInterface*> GridAccessible::selectedCells() const
{
    const CellRange sel = orderedSelection(cells());
    QList<QAccessibleInterface*> list;
    for (int r = sel.top; r <= sel.bottom; ++r) {
        for (int c = sel.left; c <= sel.right; ++c) {
            list.append(cell(r, c));
        }
    }
    return list;
}

QString GridAccessible::columnDescription(int column) const
{
    return column >= 0 && column < columnCount() ? cells().textAt(0, column + cells().FixedCols())
                                                 : QString();
}

QString GridAccessible::rowDescription(int row) const
{
    return row >= 0 && row < rowCount() ? cells().textAt(row + cells().FixedRows(), 0) : QString();
}

namespace {

// The lines first..last, counted from the first data line, when the block spans the other way
// across the whole sheet; none otherwise.
QList<int> wholeLines(bool spansAll, int first, int last, int fixed)
{
    QList<int> list;
    for (int i = first; spansAll && i <= last; ++i) {
        list.append(i - fixed);
    }
    return list;
}

} // namespace

// A column counts as selected when the block runs over all its rows, a row when it runs over
// all its columns.
QList<int> GridAccessible::selectedColumns() const
{
    const CellRange sel = orderedSelection(cells());
    return wholeLines(sel.top == cells().FixedRows() && sel.bottom == cells().Rows() - 1, sel.left,
                      sel.right, cells().FixedCols());
}

QList<int> GridAccessible::selectedRows() const
{
    const CellRange sel = orderedSelection(cells());
    return wholeLines(sel.left == cells().FixedCols() && sel.right == cells().Cols() - 1, sel.top,
                      sel.bottom, cells().FixedRows());
}

void GridAccessible::announce(bool cellTakesFocus)
{
    announceTexts();
    announceSelection();
    announceFocus(cellTakesFocus);
}

void GridAccessible::tell(QAccessibleInterface* iface, QAccessible::Event event)
{
    QAccessibleEvent e(iface, event);
    QAccessible::updateAccessibility(&e);
}

// A cell whose text changed in a block is let go: a screen reader that kept its text asks
// again under a new name instead of being told cell by cell.
void GridAccessible::letGo(int row, int col)
{
    const auto it = m_cells.constFind(row * cells().Cols() + col);
    if (it != m_cells.cend()) {
        QAccessible::deleteAccessibleInterface(*it);
        m_cells.erase(it);
    }
}

// One cell entered is told as the change of its name (and of its description when its
// expression changed); work on many cells at once as one change of the block.
void GridAccessible::announceTexts()
{
    CellRange block;
    std::vector<std::pair<int, int>> changed;
    bool nameChanged = false;
    bool descriptionChanged = false;
    const GridState& all = cells();
    size_t i = 0;
    for (int r = all.FixedRows(); r < all.Rows(); ++r) {
        for (int c = all.FixedCols(); c < all.Cols(); ++c, ++i) {
            QString& name = m_names[i];
            QString& ex = m_expressions[i];
            const QString& nowName = valueOf(r, c);
            const QString& nowEx = expressionOf(r, c);
            if (nowName == name && nowEx == ex) {
                continue;
            }
            nameChanged = nowName != name;
            descriptionChanged = describe(r, c, nowEx) != describe(r, c, ex);
            name = nowName;
            ex = nowEx;
            changed.emplace_back(r, c);
            block = block.isEmpty() ? CellRange{r, c, r, c}
                                    : CellRange{block.top, std::min(block.left, c), r,
                                                std::max(block.right, c)};
        }
    }
    if (changed.size() == 1 && (nameChanged || descriptionChanged)) {
        const auto [r, c] = changed.front();
        if (nameChanged) {
            tell(cell(r, c), QAccessible::NameChanged);
        }
        if (descriptionChanged) {
            tell(cell(r, c), QAccessible::DescriptionChanged);
        }
    } else if (changed.size() > 1) {
        for (const auto& [r, c] : changed) {
            letGo(r, c);
        }
        QAccessibleTableModelChangeEvent e(grid(), QAccessibleTableModelChangeEvent::DataChanged);
        e.setFirstRow(block.top - cells().FixedRows());
        e.setLastRow(block.bottom - cells().FixedRows());
        e.setFirstColumn(block.left - cells().FixedCols());
        e.setLastColumn(block.right - cells().FixedCols());
        QAccessible::updateAccessibility(&e);
    }
}

// Told as Qt's tables tell it: the cell that joined the selection (the corner being moved when
// it did) and one that left it.
void GridAccessible::announceSelection()
{
    const CellRange now = orderedSelection(cells());
    const CellRange was = m_selection;
    if (now == was) {
        return;
    }
    m_selection = now;
    auto firstOutside = [](const CellRange& in, const CellRange& out, int& row, int& col) {
        for (row = in.top; row <= in.bottom; ++row) {
            for (col = in.left; col <= in.right; ++col) {
                if (!out.contains(row, col)) {
                    return true;
                }
            }
        }
        return false;
    };
    int row = cells().RowSel();
    int col = cells().ColSel();
    if (!was.contains(row, col) || firstOutside(now, was, row, col)) {
        tell(cell(row, col), QAccessible::SelectionAdd);
    }
    if (firstOutside(was, now, row, col)) {
        tell(cell(row, col), QAccessible::SelectionRemove);
    }
    // A screen reader speaks a cell's selected state only in cases a block grown with the keys
    // does not reach: the block is told as a notification that appears ("B3:C5 選択").
    if (now.top != now.bottom || now.left != now.right) {
        showNotice(cellName(now.top, now.left) + QLatin1Char(':') +
                   cellName(now.bottom, now.right) + QStringLiteral(" 選択"));
    }
}

void GridAccessible::showNotice(const QString& text)
{
    auto* notice =
        grid()->findChild<QWidget*>(QLatin1String(NoticeName), Qt::FindDirectChildrenOnly);
    if (!notice) {
        notice = new QWidget(grid());
        notice->setObjectName(QLatin1String(NoticeName));
        notice->setGeometry(0, 0, 1, 1);
        notice->lower(); // under the grid's own parts, never seen
    }
    // Hidden and shown again, so that it appears anew for every block.
    notice->hide();
    notice->setAccessibleName(text);
    notice->show();
}

void GridAccessible::announceFocus(bool cellTakesFocus)
{
    const int row = cells().Row();
    const int col = cells().Col();
    const bool moved = row != m_currentRow || col != m_currentCol;
    m_currentRow = row;
    m_currentCol = col;
    if ((moved || cellTakesFocus) && grid()->hasFocus()) {
        tell(cell(row, col), QAccessible::Focus);
    }
}

bool GridCellAccessible::isValid() const
{
    return m_table.isValid();
}

QAccessibleInterface* GridCellAccessible::parent() const
{
    return const_cast<GridAccessible*>(&m_table);
}

QString GridCellAccessible::text(QAccessible::Text t) const
{
    return isValid() ? m_table.cellText(m_row, m_col, t) : QString();
}

QRect GridCellAccessible::rect() const
{
    return isValid() ? m_table.cellRect(m_row, m_col) : QRect();
}

QAccessible::Role GridCellAccessible::role() const
{
    if (m_row == 0 && m_col == 0) {
        return QAccessible::Pane;
    }
    if (m_row == 0) {
        return QAccessible::ColumnHeader;
    }
    return m_col == 0 ? QAccessible::RowHeader : QAccessible::Cell;
}

QAccessible::State GridCellAccessible::state() const
{
    return isValid() ? m_table.cellState(m_row, m_col) : QAccessible::State();
}

void* GridCellAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::TableCellInterface && role() == QAccessible::Cell) {
        return static_cast<QAccessibleTableCellInterface*>(this);
    }
    return nullptr;
}

bool GridCellAccessible::isSelected() const
{
    return isValid() && m_table.cells().isSelected(m_row, m_col);
}

QList<QAccessibleInterface*> GridCellAccessible::columnHeaderCells() const
{
    return {m_table.cell(0, m_col)};
}

QList<QAccessibleInterface*> GridCellAccessible::rowHeaderCells() const
{
    return {m_table.cell(m_row, 0)};
}

int GridCellAccessible::columnIndex() const
{
    return m_col - m_table.cells().FixedCols();
}

int GridCellAccessible::rowIndex() const
{
    return m_row - m_table.cells().FixedRows();
}

QAccessibleInterface* gridFactory(const QString& className, QObject* object)
{
    if (className == QLatin1String("SheetGrid") && object && object->isWidgetType()) {
        return new GridAccessible(static_cast<SheetGrid*>(object));
    }
    if (object && object->isWidgetType() && object->objectName() == QLatin1String(NoticeName) &&
        qobject_cast<SheetGrid*>(object->parent())) {
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Notification);
    }
    return nullptr;
}

} // namespace

void installGridAccessibility()
{
    static std::once_flag installed;
    std::call_once(installed, [] { QAccessible::installFactory(gridFactory); });
}

void announceNotice(SheetGrid& grid, const QString& text)
{
    if (!QAccessible::isActive()) {
        return;
    }
    if (auto* table = dynamic_cast<GridAccessible*>(QAccessible::queryAccessibleInterface(&grid))) {
        table->showNotice(text);
    }
}

void announceGridChanges(SheetGrid& grid, bool cellTakesFocus)
{
    if (!QAccessible::isActive()) {
        return;
    }
    if (auto* table = dynamic_cast<GridAccessible*>(QAccessible::queryAccessibleInterface(&grid))) {
        table->announce(cellTakesFocus);
    }
}
