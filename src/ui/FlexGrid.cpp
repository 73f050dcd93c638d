#include "ui/FlexGrid.h"

#include "common/NumberText.h"
#include "ui/Layout.h"

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

FlexGrid::FlexGrid(QWidget* parent, int rows, int columns)
    : QTableWidget(rows - 1, columns - 1, parent), m_rows(rows), m_columns(columns)
{
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
    for (int r = 0; r < rows - 1; ++r) {
        setVerticalHeaderItem(r, new QTableWidgetItem());
        for (int c = 0; c < columns - 1; ++c) {
            setItem(r, c, new QTableWidgetItem());
        }
    }
    connect(this, &QTableWidget::currentCellChanged, this, [this](int row, int column) {
        if (row >= 0 && column >= 0) {
            emit currentCellMoved(row + 1, column + 1);
        }
    });
    connect(verticalHeader(), &QHeaderView::sectionPressed, this,
            [this](int section) { emit rowHeadingPressed(section + 1); });
}

void FlexGrid::setHeadings(const QStringList& headings)
{
    for (int c = 0; c < m_columns && c < headings.size(); ++c) {
        if (c == 0) {
            m_fixedHeading = headings[0];
            if (auto* corner = findChild<QAbstractButton*>()) {
                corner->update();
            }
            continue;
        }
        auto* item = new QTableWidgetItem(headings[c]);
        item->setTextAlignment(Qt::AlignCenter);
        setHorizontalHeaderItem(c - 1, item);
    }
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

QTableWidgetItem* FlexGrid::itemAt(int row, int column) const
{
    if (row < 1 || row >= m_rows || column < 0 || column >= m_columns) {
        return nullptr;
    }
    return column == 0 ? verticalHeaderItem(row - 1) : item(row - 1, column - 1);
}

QString FlexGrid::text(int row, int column) const
{
    if (row == 0) {
        if (column == 0) {
            return m_fixedHeading;
        }
        const QTableWidgetItem* heading = column > 0 ? horizontalHeaderItem(column - 1) : nullptr;
        return heading ? heading->text() : QString();
    }
    const QTableWidgetItem* cell = itemAt(row, column);
    return cell ? cell->text() : QString();
}

void FlexGrid::setText(int row, int column, const QString& text)
{
    if (QTableWidgetItem* cell = itemAt(row, column)) {
        cell->setText(text);
        // General alignment: numbers to the right, every other text to the left.
        cell->setTextAlignment(Qt::AlignVCenter |
                               (isNumeric(text) ? Qt::AlignRight : Qt::AlignLeft));
    }
}

void FlexGrid::setColours(int row, int column, const QColor& text, const QColor& background)
{
    if (QTableWidgetItem* cell = itemAt(row, column)) {
        cell->setForeground(text);
        cell->setBackground(background);
    }
}

QColor FlexGrid::textColour(int row, int column) const
{
    const QTableWidgetItem* cell = itemAt(row, column);
    return cell && cell->foreground().style() != Qt::NoBrush ? cell->foreground().color()
                                                             : QColor(Qt::black);
}

QColor FlexGrid::backgroundColour(int row, int column) const
{
    const QTableWidgetItem* cell = itemAt(row, column);
    return cell && cell->background().style() != Qt::NoBrush ? cell->background().color()
                                                             : QColor(Qt::white);
}

void FlexGrid::blankData()
{
    for (int r = 1; r < m_rows; ++r) {
        for (int c = 0; c < m_columns; ++c) {
            if (QTableWidgetItem* cell = itemAt(r, c)) {
                cell->setText(QString());
                cell->setData(Qt::ForegroundRole, QVariant());
                cell->setData(Qt::BackgroundRole, QVariant());
            }
        }
    }
}

int FlexGrid::row() const
{
    return currentRow() + 1;
}

int FlexGrid::col() const
{
    return currentColumn() + 1;
}

void FlexGrid::setCurrent(int row, int column)
{
    if (row >= 1 && row < m_rows && column >= 1 && column < m_columns) {
        setCurrentCell(row - 1, column - 1);
    }
}

int FlexGrid::topRow() const
{
    return rowAt(0) + 1;
}

void FlexGrid::setTopRow(int row)
{
    if (row >= 1 && row < m_rows) {
        scrollToItem(item(row - 1, 0), QAbstractItemView::PositionAtTop);
        verticalScrollBar()->setValue(verticalScrollBar()->value()); // settle before reading
    }
}

QRect FlexGrid::cellRect(int row, int column) const
{
    return visualRect(model()->index(row - 1, column - 1));
}

} // namespace setzaiko
