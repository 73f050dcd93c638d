#pragma once

#include <QListWidget>

#include <functional>

namespace setzaiko {

// A list box of the chooser. One item at most is highlighted, and once one is the user cannot
// take the highlight away, only move it. Every way of moving it (a click, a press released on
// another item, the arrow keys, Home/End, Page Up/Down, a first letter typed) reports the
// item as picked, as does a click on the highlighted item itself; an item is opened by a
// double click or by Enter. With nothing highlighted, the first arrow key highlights the item
// with the focus frame rather than the one beyond it.
class ChoiceList : public QListWidget
{
    Q_OBJECT

public:
    explicit ChoiceList(QWidget* parent = nullptr);

    // The highlighted item, or nullptr.
    QListWidgetItem* picked() const;
    // Takes the highlight away without reporting it; the focus frame stays where it was.
    void dropPick();

signals:
    void itemPicked(QListWidgetItem* item);
    void itemOpened(QListWidgetItem* item);

protected:
    // Refills the list; a highlight set while refilling is not reported as a pick.
    void refill(const std::function<void()>& addItems);

    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event) const override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    bool m_refilling = false;
    // The press of the click under way has already reported the item it highlighted.
    bool m_pressReported = false;
};

} // namespace setzaiko
