#pragma once

namespace setzaiko {

// What a screen of the component model is told while a step runs, at the moment it happens,
// so that whatever stands on screen while a box is open is what stood there before.
class ComponentScreenView
{
public:
    virtual ~ComponentScreenView() = default;

    // The cells of the list row (1-based) changed; a grid follows them through the table.
    virtual void rowChanged(int /*row*/) {}
    // The list scrolls back to its first row.
    virtual void scrolledToTop() = 0;
    // The list's current cell moves.
    virtual void cursorMoved(int row, int column) = 0;
    // A long step starts: the state as it stands should be on screen while it runs.
    virtual void working() = 0;
    // Boxes are due: the state as it stands goes on screen, then the pending boxes, in order.
    virtual void boxesDue() = 0;
};

} // namespace setzaiko
