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
    // Focus arriving by Tab, or a highlight taken away, leaves the focus frame on an item that
    // is not highlighted. The arrows step from the highlight, so with none the first press
    // highlights the framed item itself: stepping past it would skip an item the user never saw
    // highlighted.
    static const QList<int> arrowKeys = {Qt::Key_Up, Qt::Key_Down, Qt::Key_Left, Qt::Key_Right};
    if (!picked() && currentItem() && arrowKeys.contains(event->key())) {
        currentItem()->setSelected(true);
        scrollToItem(currentItem());
        return;
    }
    QListWidget::keyPressEvent(event);
    // Home, End and the page keys name their own target; one that finds the frame already
    // there moves nothing, and still highlights it.
    static const QList<int> jumpKeys = {Qt::Key_Home, Qt::Key_End, Qt::Key_PageUp,
                                        Qt::Key_PageDown};
    if (!picked() && currentItem() && jumpKeys.contains(event->key())) {
        currentItem()->setSelected(true);
    }
}

} // namespace setzaiko
