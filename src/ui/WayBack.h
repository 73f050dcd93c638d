#pragma once

#include <QObject>

class QAbstractButton;
class QWidget;

namespace setzaiko::controls {

// A window's own way back: the one button through which it is left (戻る, 終了). The window
// manager's close request (the close box, Alt+F4) and, where wanted, Esc press that button as
// the user would, so that they ask what it asks and hand back what it hands back; while the
// button is disabled they do nothing. The window closes only through leave().
class WayBack : public QObject
{
public:
    enum class Escape { Presses, Ignored };

    WayBack(QWidget* window, QAbstractButton* button, Escape escape = Escape::Presses);

    // Closes the window; the button's handler calls it once it has handed back.
    void leave();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void press();

    QWidget* m_window;
    QAbstractButton* m_button;
    Escape m_escape;
    bool m_leaving = false;
    bool m_pressing = false;
    bool m_pressDue = false;
};

} // namespace setzaiko::controls
