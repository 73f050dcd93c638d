#include "ui/ChoiceList.h"

#include <QKeyEvent>
#include <QMouseEvent>

namespace setzaiko {

ChoiceList::ChoiceList(QWidget* parent) : QListWidget(parent)
{
    setSelectionMode(QAbstractItemView::SingleSelection);
    connect(this, &QListWidget::itemSelectionChanged, this, [this] {
        if (QListWidgetItem* item = picked(); item && !m_refilling) {
            m_pressReported = true;
            emit itemPicked(item);
        }
    });
    // A click on the item that is already highlighted moves nothing, and still counts.
    connect(this, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        if (item == picked() && !m_pressReported) {
            emit itemPicked(item);
        }
    });
    connect(this, &QListWidget::itemDoubleClicked, this, &ChoiceList::itemOpened);
}

QListWidgetItem* ChoiceList::picked() const
{
    const QList<QListWidgetItem*> items = selectedItems();
    return items.isEmpty() ? nullptr : items.front();
}

void ChoiceList::dropPick()
{
    clearSelection();
}

void ChoiceList::refill(const std::function<void()>& addItems)
{
    m_refilling = true;
    clear();
    addItems();
    m_refilling = false;
}

QItemSelectionModel::SelectionFlags ChoiceList::selectionCommand(const QModelIndex& index,
                                                                 const QEvent* event) const
{
    QItemSelectionModel::SelectionFlags command = QListWidget::selectionCommand(index, event);
    // Ctrl with a click would clear the highlight of a single-selection list.
    if (index.isValid() && (command & QItemSelectionModel::Deselect)) {
        command = QItemSelectionModel::ClearAndSelect;
    }
    return command;
}

void ChoiceList::mousePressEvent(QMouseEvent* event)
{
    m_pressReported = false;
    QListWidget::mousePressEvent(event);
}

void ChoiceList::keyPressEvent(QKeyEvent* event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        if (QListWidgetItem* item = picked()) {
            emit itemOpened(item);
        }
        return;
    }
    QListWidget::keyPressEvent(event);
    // Focus arriving by Tab marks an item without highlighting it; a key that would move the
    // highlight from there, but finds it already on the first or last item, highlights it.
    static const QList<int> movingKeys = {Qt::Key_Up,   Qt::Key_Down,   Qt::Key_Home,
                                          Qt::Key_End,  Qt::Key_PageUp, Qt::Key_PageDown,
                                          Qt::Key_Left, Qt::Key_Right};
    if (!picked() && currentItem() && movingKeys.contains(event->key())) {
        currentItem()->setSelected(true);
    }
}

} // namespace setzaiko
