#include "ui/GridAccessible.h"

#include "ui/FlexGrid.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QPointer>

namespace setzaiko {

namespace {

// One child of the grid: the corner, a column heading, the fixed cell of a row or a data
// cell, addressed as the grid speaks of its cells (row 0 the headings, column 0 fixed).
class GridCell : public QAccessibleInterface, public QAccessibleTableCellInterface
{
public:
    GridCell(GridAccessible* table, int row, int column)
        : m_table(table), m_grid(table->grid()), m_row(row), m_column(column)
    {}

    bool isValid() const override { return !m_grid.isNull(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return m_table->window(); }
    QAccessibleInterface* parent() const override { return m_table; }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    void setText(QAccessible::Text, const QString&) override {}

    QAccessible::Role role() const override
    {
        if (m_row == 0) {
            return QAccessible::ColumnHeader;
        }
        return m_column == 0 ? QAccessible::RowHeader : QAccessible::Cell;
    }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name) {
            const QString spoken = data(Qt::AccessibleTextRole).toString();
            return spoken.isEmpty() ? m_grid->text(m_row, m_column) : spoken;
        }
        return t == QAccessible::Description ? data(Qt::AccessibleDescriptionRole).toString()
                                             : QString();
    }

    QRect rect() const override
    {
        const QHeaderView* across = m_grid->horizontalHeader();
        const QHeaderView* down = m_grid->verticalHeader();
        const int x =
            m_column == 0 ? -down->width() : across->sectionViewportPosition(m_column - 1);
        const int y = m_row == 0 ? -across->height() : down->sectionViewportPosition(m_row - 1);
        const int width = m_column == 0 ? down->width() : across->sectionSize(m_column - 1);
        const int height = m_row == 0 ? across->height() : down->sectionSize(m_row - 1);
        return {m_grid->viewport()->mapToGlobal(QPoint(x, y)), QSize(width, height)};
    }

    QAccessible::State state() const override
    {
        QAccessible::State state;
        const QRect shown(m_grid->mapToGlobal(QPoint(0, 0)), m_grid->size());
        state.invisible = !m_grid->isVisible() || !shown.intersects(rect());
        if (role() == QAccessible::Cell) {
            const QModelIndex index = modelIndex();
            state.selectable = true;
            state.focusable = true;
            state.selected = m_grid->selectionModel()->isSelected(index);
            state.focused = m_grid->hasFocus() && m_grid->currentIndex() == index;
        }
        return state;
    }

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::TableCellInterface
                   ? static_cast<QAccessibleTableCellInterface*>(this)
                   : nullptr;
    }

    bool isSelected() const override { return state().selected; }
    QList<QAccessibleInterface*> columnHeaderCells() const override
    {
        return {m_table->child(m_column)};
    }
    QList<QAccessibleInterface*> rowHeaderCells() const override
    {
        return {m_table->child(m_row * (m_grid->columns()))};
    }
    int columnIndex() const override { return m_column - 1; }
    int rowIndex() const override { return m_row - 1; }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface* table() const override { return m_table; }

private:
    QModelIndex modelIndex() const { return m_grid->model()->index(m_row - 1, m_column - 1); }

    QVariant data(int role) const
    {
        const QAbstractItemModel* model = m_grid->model();
        if (m_row == 0) {
            return m_column == 0 ? QVariant()
                                 : model->headerData(m_column - 1, Qt::Horizontal, role);
        }
        if (m_column == 0) {
            return model->headerData(m_row - 1, Qt::Vertical, role);
        }
        return model->data(modelIndex(), role);
    }

    GridAccessible* m_table;
    QPointer<FlexGrid> m_grid;
    int m_row;
    int m_column;
};

} // namespace

GridAccessible::GridAccessible(FlexGrid* grid) : QAccessibleWidget(grid, QAccessible::Table) {}

GridAccessible::~GridAccessible()
{
    forgetChildren();
}

FlexGrid* GridAccessible::grid() const
{
    return static_cast<FlexGrid*>(widget());
}

QString GridAccessible::text(QAccessible::Text t) const
{
    if (t == QAccessible::Description) {
        return widget()->accessibleDescription();
    }
    return t == QAccessible::Name ? widget()->accessibleName() : QString();
}

int GridAccessible::childCount() const
{
    return grid()->rows() * grid()->columns();
}

QAccessibleInterface* GridAccessible::child(int index) const
{
    if (index < 0 || index >= childCount()) {
        return nullptr;
    }
    if (const auto known = m_children.constFind(index); known != m_children.cend()) {
        return QAccessible::accessibleInterface(*known);
    }
    const int width = grid()->columns();
    auto* cell = new GridCell(const_cast<GridAccessible*>(this), index / width, index % width);
    m_children.insert(index, QAccessible::registerAccessibleInterface(cell));
    return cell;
}

int GridAccessible::indexOfChild(const QAccessibleInterface* child) const
{
    if (const auto* cell =
            child ? const_cast<QAccessibleInterface*>(child)->tableCellInterface() : nullptr) {
        return (cell->rowIndex() + 1) * grid()->columns() + cell->columnIndex() + 1;
    }
    return -1;
}

QAccessibleInterface* GridAccessible::childAt(int x, int y) const
{
    const QModelIndex index = grid()->indexAt(grid()->viewport()->mapFromGlobal(QPoint(x, y)));
    return index.isValid() ? cellAt(index.row(), index.column()) : nullptr;
}

void* GridAccessible::interface_cast(QAccessible::InterfaceType type)
{
    return type == QAccessible::TableInterface ? static_cast<QAccessibleTableInterface*>(this)
                                               : QAccessibleWidget::interface_cast(type);
}

QAccessibleInterface* GridAccessible::cellAt(int row, int column) const
{
    if (row < 0 || row >= rowCount() || column < 0 || column >= columnCount()) {
        return nullptr;
    }
    return child((row + 1) * grid()->columns() + column + 1);
}

int GridAccessible::selectedCellCount() const
{
    return int(grid()->selectionModel()->selectedIndexes().size());
}

QList<QAccessibleInterface*> GridAccessible::selectedCells() const
{
    QList<QAccessibleInterface*> cells;
    for (const QModelIndex& index : grid()->selectionModel()->selectedIndexes()) {
        cells.append(cellAt(index.row(), index.column()));
    }
    return cells;
}

QString GridAccessible::columnDescription(int column) const
{
    const QAccessibleInterface* heading = child(column + 1);
    return heading ? heading->text(QAccessible::Name) : QString();
}

QString GridAccessible::rowDescription(int row) const
{
    const QAccessibleInterface* heading = child((row + 1) * grid()->columns());
    return heading ? heading->text(QAccessible::Name) : QString();
}

int GridAccessible::columnCount() const
{
    return grid()->columns() - 1;
}

int GridAccessible::rowCount() const
{
    return grid()->rows() - 1;
}

void GridAccessible::modelChange(QAccessibleTableModelChangeEvent* /*event*/)
{
    // The shape of a screen table never changes; were it to, the cells are made anew.
    forgetChildren();
}

void GridAccessible::forgetChildren()
{
    for (const QAccessible::Id id : std::as_const(m_children)) {
        QAccessible::deleteAccessibleInterface(id);
    }
    m_children.clear();
}

} // namespace setzaiko
