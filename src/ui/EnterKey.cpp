#include "ui/EnterKey.h"

#include <QAbstractButton>
#include <QKeyEvent>

namespace setzaiko::controls {

namespace {

class EnterPressesButton : public QObject
{
public:
    explicit EnterPressesButton(QAbstractButton* button) : QObject(button), m_button(button)
    {
        button->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched != m_button || event->type() != QEvent::KeyPress) {
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
    QAbstractButton* m_button;
};

} // namespace

void pressOnEnter(QAbstractButton* button)
{
    new EnterPressesButton(button);
}

} // namespace setzaiko::controls
