#pragma once

#include <QString>

class QLabel;
class QWidget;

namespace setzaiko::accessible {

// What a window is to a screen reader: a frame of its own, or a dialog that answers the
// window that opened it.
enum class WindowRole { Frame, Dialog };

// The window's role and its name as spoken: the caption without the spaces that lay it out.
void describeWindow(QWidget* window, WindowRole role, const QString& name);

// A control spoken by the caption beside it: the caption labels it (a screen reader's
// "labelled by") and names it.
void labelWith(QWidget* control, QLabel* caption);

// A label that shows a value is spoken as what it counts followed by the value
// ("総件数 1,234"), or by what it counts alone while empty.
void describeValue(QLabel* value, const QString& caption);

} // namespace setzaiko::accessible
