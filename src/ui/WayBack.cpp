#include "ui/WayBack.h"

#include <QAbstractButton>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QPointer>
#include <QWidget>

namespace setzaiko::controls {

WayBack::WayBack(QWidget* window, QAbstractButton* button, Escape escape)
    : QObject(window), m_window(window), m_button(button), m_escape(escape)
{
    window->installEventFilter(this);
}

void WayBack::leave()
{
    const QPointer<WayBack> alive(this);
    m_leaving = true;
    m_window->close();
    if (alive) {
        m_leaving = false;
    }
}

void WayBack::press()
{
    // A window already left, or a press still being handled (a question on screen), takes no
    // second one.
    if (m_pressing || !m_window->isVisible() || !m_button->isEnabled()) {
        return;
    }
    const QPointer<WayBack> alive(this);
    m_pressing = true;
    m_button->click();
    if (alive) {
        m_pressing = false;
    }
}

bool WayBack::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_window) {
        return false;
    }
    if (event->type() == QEvent::Close) {
        if (m_leaving) {
            return false;
        }
        // The request is refused as such and pressed as the button, once the close event is
        // over: the button's handler closes the window itself, which it could not do from
        // within a close under way.
        event->ignore();
        if (m_button->isEnabled() && !m_pressDue) {
            m_pressDue = true;
            QMetaObject::invokeMethod(
                this,
                [this] {
                    m_pressDue = false;
                    press();
                },
                Qt::QueuedConnection);
        }
        return true;
    }
    if (event->type() == QEvent::KeyPress && m_escape == Escape::Presses) {
        // Esc that no control of the window took for itself.
        const auto* key = static_cast<QKeyEvent*>(event);
        const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
        if (key->key() == Qt::Key_Escape && modifiers == Qt::NoModifier) {
            if (!key->isAutoRepeat()) {
                press();
            }
            return true;
        }
    }
    return false;
}

} // namespace setzaiko::controls
