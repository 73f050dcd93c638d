#pragma once

class QAbstractButton;
class QWidget;

namespace setzaiko::controls {

// Lets Return and the keypad's Enter press the button while it has the focus, as Space does.
// The windows are not dialogs, so Qt alone would leave Enter to no one.
void pressOnEnter(QAbstractButton* button);

// Makes the button the default action of a text box or list: Enter there presses it, when it is
// enabled, and otherwise does nothing.
void pressOnEnter(QWidget* control, QAbstractButton* button);

} // namespace setzaiko::controls
