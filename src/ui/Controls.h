#pragma once

#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>

class QLabel;
class QPushButton;
class QWidget;

namespace setzaiko::controls {

// The fixed look of a window: caption, client size in pixels and the background colour. On a
// screen too small for it the window shows its layout in a scroll area (fitToScreen).
void setUpWindow(QWidget* window, const QString& objectName, const QString& caption, QSize client);

// Shows a window opened from another in front of its opener: the window system keeps it there
// and minimises and restores it with the opener. The window becomes a dialog to the window
// manager, with a plain window's title bar and buttons. The opener does not own it.
void showInFrontOf(QWidget* window, QWidget* opener);

QPushButton* button(QWidget* parent, const QString& objectName, const QString& caption,
                    QRect geometry, const QFont& font, const QColor& background);

// A label with its text colour and, where given, a background of its own.
QLabel* label(QWidget* parent, const QString& objectName, const QString& caption, QRect geometry,
              const QFont& font, const QColor& text, const QColor& background = QColor());

} // namespace setzaiko::controls
