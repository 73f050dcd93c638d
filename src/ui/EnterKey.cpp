#include "ui/EnterKey.h"

#include <QAbstractButton>
#include <QKeyEvent>

namespace setzaiko::controls {

namespace {

class EnterPressesButton : public QObject
{
public:
    EnterPressesButton(QWidget* control, QAbstractButton* button)
        : QObject(control), m_control(control), m_button(button)
    {
        control->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched != m_control || event->type() != QEvent::KeyPress) {
            return false;
        }
        const auto* key = static_cast<QKeyEvent*>(event);
        const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
        if ((key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) ||
            modifiers != Qt::NoModifier) {
            return false;
        }
        // A key held down presses once.
        if (!key->isAutoRepeat() && m_button->isEnabled() && m_button->isVisible()) {
            m_button->click();
        }
        return true;
    }

private:
    QWidget* m_control;
    QAbstractButton* m_button;
};

} // namespace

void pressOnEnter(QAbstractButton* button)
{
    new EnterPressesButton(button, button);
}

void pressOnEnter(QWidget* control, QAbstractButton* button)
{
    new EnterPressesButton(control, button);
}

} // namespace setzaiko::controls
