#include "ui/FrontWindow.h"

#include <QApplication>
#include <QWidget>
#include <QWindow>

#include <algorithm>

namespace setzaiko::controls {

namespace {

bool isShownWindow(const QWidget* widget)
{
    const Qt::WindowType type = widget->windowType();
    return widget->isWindow() && widget->isVisible() && type != Qt::Popup && type != Qt::ToolTip &&
           type != Qt::SplashScreen;
}

QWidget* windowOf(const QWindow* handle)
{
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->windowHandle() == handle) {
            return widget;
        }
    }
    return nullptr;
}

void restore(QWidget* window)
{
    if (window->isMinimized()) {
        window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    }
}

} // namespace

QWidget* frontMostWindow()
{
    if (QWidget* box = QApplication::activeModalWidget()) {
        return box;
    }
    QList<QWidget*> shown;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (isShownWindow(widget)) {
            shown.append(widget);
        }
    }
    for (QWidget* candidate : shown) {
        const bool opensAnother = std::any_of(shown.begin(), shown.end(), [&](QWidget* other) {
            return other->windowHandle() &&
                   other->windowHandle()->transientParent() == candidate->windowHandle();
        });
        if (!opensAnother) {
            return candidate;
        }
    }
    return nullptr;
}

void bringFrontMostWindowToFront()
{
    QWidget* front = frontMostWindow();
    if (!front) {
        return;
    }
    // The window system minimises a window with the one it was opened from: the openers come
    // back first.
    QList<QWidget*> chain{front};
    while (const QWindow* handle = chain.back()->windowHandle()) {
        QWidget* opener = windowOf(handle->transientParent());
        if (!opener || chain.contains(opener)) {
            break;
        }
        chain.append(opener);
    }
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        restore(*it);
    }
    front->raise();
    front->activateWindow();
}

} // namespace setzaiko::controls
