#pragma once

class QWidget;

namespace setzaiko::controls {

// Keeps a window of fixed layout within its screen. Where the window does not fit the
// screen's available area (a small screen, or a large scale), its layout is shown unchanged
// inside a scroll area at the largest size that fits, so that every control can be reached;
// a control that takes the focus out of view is scrolled into view. Checked whenever the
// window is shown or moves to another screen. Call once the window's controls exist.
void fitToScreen(QWidget* window);

} // namespace setzaiko::controls
