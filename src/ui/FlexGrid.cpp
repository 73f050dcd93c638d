#include "ui/FlexGrid.h"

#include "ui/Layout.h"
#include "ui/ScreenTableModel.h"

#include <QAbstractButton>
#include <QEvent>
#include <QHeaderView>
#include <QPainter>
#include <QScrollBar>
#include <QStyleOption>

namespace setzaiko {

namespace {

// Rows as high as the grid's font needs, with a little air.
constexpr int rowHeightTwips = 300;

// Paints the heading of the fixed column onto the corner where the two headers meet.
class CornerHeading : public QObject
{
public:
    CornerHeading(QAbstractButton* corner, FlexGrid* grid) : QObject(corner), m_grid(grid)
    {
        corner->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::Paint) {
            return false;
        }
        auto* corner = static_cast<QWidget*>(watched);
        QPainter painter(corner);
        QStyleOptionHeader option;
        option.initFrom(corner);
        option.state |= QStyle::State_Enabled | QStyle::State_Raised;
        option.palette.setCurrentColorGroup(QPalette::Active);
        option.rect = corner->rect();
        option.text = m_grid->text(0, 0);
        option.textAlignment = Qt::AlignCenter;
        option.position = QStyleOptionHeader::OnlyOneSection;
        painter.setFont(m_grid->horizontalHeader()->font());
        corner->style()->drawControl(QStyle::CE_Header, &option, &painter, corner);
        return true;
    }

private:
    FlexGrid* m_grid;
};

} // namespace

FlexGrid::FlexGrid(QWidget* parent, ScreenTableModel* table) : QTableView(parent), m_table(table)
{
    // The grid owns its model, so that a window can let both go before the screen model they
    // read.
    table->setParent(this);
    setModel(table);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setWordWrap(false);
    setTabKeyNavigation(false);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(layout::px(rowHeightTwips));
    verticalHeader()->setDefaultAlignment(Qt::AlignRight | Qt::AlignVCenter);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    horizontalHeader()->setHighlightSections(false);
    verticalHeader()->setHighlightSections(false);
    setCornerButtonEnabled(false);
    if (auto* corner = findChild<QAbstractButton*>()) {
        new CornerHeading(corner, this);
    }
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                if (current.isValid()) {
                    emit currentCellMoved(current.row() + 1, current.column() + 1);
                }
            });
    connect(verticalHeader(), &QHeaderView::sectionPressed, this,
            [this](int section) { emit rowHeadingPressed(section + 1); });
    connect(this, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& index) {
        emit cellDoubleClicked(index.row() + 1, index.column() + 1);
    });
    connect(verticalHeader(), &QHeaderView::sectionDoubleClicked, this,
            [this](int section) { emit cellDoubleClicked(section + 1, 0); });
}

int FlexGrid::rows() const
{
    return m_table->rowCount() + 1;
}

int FlexGrid::columns() const
{
    return m_table->columnCount() + 1;
}

void FlexGrid::setColumnWidthTwips(int column, int twips)
{
    if (column == 0) {
        verticalHeader()->setFixedWidth(layout::px(twips));
    } else {
        setColumnWidth(column - 1, layout::px(twips));
    }
}

void FlexGrid::setHeadingHeightTwips(int twips)
{
    horizontalHeader()->setFixedHeight(layout::px(twips));
}

QVariant FlexGrid::cellData(int row, int column, int role) const
{
    if (row < 0 || row >= rows() || column < 0 || column >= columns()) {
        return {};
    }
    if (row == 0) {
        if (column == 0) {
            return role == Qt::DisplayRole ? QVariant(m_table->fixedHeading()) : QVariant();
        }
        return m_table->headerData(column - 1, Qt::Horizontal, role);
    }
    if (column == 0) {
        return m_table->headerData(row - 1, Qt::Vertical, role);
    }
    return m_table->data(m_table->index(row - 1, column - 1), role);
}

QString FlexGrid::text(int row, int column) const
{
    return cellData(row, column, Qt::DisplayRole).toString();
}

QColor FlexGrid::textColour(int row, int column) const
{
    const QVariant brush = cellData(row, column, Qt::ForegroundRole);
    return brush.isValid() ? brush.value<QBrush>().color() : QColor(Qt::black);
}

QColor FlexGrid::backgroundColour(int row, int column) const
{
    const QVariant brush = cellData(row, column, Qt::BackgroundRole);
    return brush.isValid() ? brush.value<QBrush>().color() : QColor(Qt::white);
}

int FlexGrid::row() const
{
    return currentIndex().row() + 1;
}

int FlexGrid::col() const
{
    return currentIndex().column() + 1;
}

void FlexGrid::setCurrent(int row, int column)
{
    if (row >= 1 && row < rows() && column >= 1 && column < columns()) {
        setCurrentIndex(m_table->index(row - 1, column - 1));
    }
}

int FlexGrid::topRow() const
{
    return rowAt(0) + 1;
}

void FlexGrid::setTopRow(int row)
{
    if (row >= 1 && row < rows()) {
        scrollTo(m_table->index(row - 1, 0), QAbstractItemView::PositionAtTop);
        verticalScrollBar()->setValue(verticalScrollBar()->value()); // settle before reading
    }
}

QRect FlexGrid::cellRect(int row, int column) const
{
    return visualRect(m_table->index(row - 1, column - 1));
}

} // namespace setzaiko
