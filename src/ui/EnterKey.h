#pragma once

class QAbstractButton;

namespace setzaiko::controls {

// Lets Return and the keypad's Enter press the button while it has the focus, as Space does.
// The windows are not dialogs, so Qt alone would leave Enter to no one.
void pressOnEnter(QAbstractButton* button);

} // namespace setzaiko::controls
