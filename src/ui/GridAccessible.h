#pragma once

#include <QAccessibleWidget>
#include <QHash>

namespace setzaiko {

class FlexGrid;

// A list grid as a screen reader meets it: a table of headings and cells, the children
// numbered as Qt numbers those of its own table views (the heading row first, each row led by
// its fixed cell), so that the grid's focus events name the right cell. Unlike Qt's own, the
// current cell claims the focus only while the grid holds it: otherwise the reader would hear
// of two focused objects, the grid's cell and the control that has the focus.
class GridAccessible : public QAccessibleWidget, public QAccessibleTableInterface
{
public:
    explicit GridAccessible(FlexGrid* grid);
    ~GridAccessible() override;

    QAccessible::Role role() const override { return QAccessible::Table; }
    QString text(QAccessible::Text t) const override;
    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    void* interface_cast(QAccessible::InterfaceType type) override;

    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    QAccessibleInterface* cellAt(int row, int column) const override;
    int selectedCellCount() const override;
    QList<QAccessibleInterface*> selectedCells() const override;
    QString columnDescription(int column) const override;
    QString rowDescription(int row) const override;
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override { return 0; }
    int columnCount() const override;
    int rowCount() const override;
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override { return {}; }
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int) const override { return false; }
    bool selectRow(int) override { return false; }
    bool selectColumn(int) override { return false; }
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent* event) override;

    FlexGrid* grid() const;

private:
    void forgetChildren();

    mutable QHash<int, QAccessible::Id> m_children;
};

} // namespace setzaiko
