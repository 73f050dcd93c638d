#pragma once

class QWidget;

namespace setzaiko::controls {

// The program's window in front of all its others: a message box on screen, else the last
// window of the open chain (the one no other open window was opened from). nullptr when none
// is shown.
QWidget* frontMostWindow();

// Restores the front-most window, and the windows it was opened from, where they are
// minimised, and raises and activates it.
void bringFrontMostWindowToFront();

} // namespace setzaiko::controls
