#include "ui/Controls.h"

#include "ui/EnterKey.h"
#include "ui/FitToScreen.h"
#include "ui/Layout.h"

#include <QLabel>
#include <QPalette>
#include <QPixmapCache>
#include <QPushButton>
#include <QWidget>
#include <QWindow>

using namespace Qt::Literals::StringLiterals;

namespace setzaiko::controls {

void setUpWindow(QWidget* window, const QString& objectName, const QString& caption, QSize client)
{
    window->setObjectName(objectName);
    window->setWindowTitle(caption);
    window->setFixedSize(client);
    QPalette palette = window->palette();
    palette.setColor(QPalette::Window, layout::colour::window);
    window->setPalette(palette);
    window->setAutoFillBackground(true);
    // The style draws some controls (a combo box, the arrows of scroll bars, headings) into
    // pictures it keeps in the application's pixmap cache, under keys made from each control's
    // palette, and every window made gets palettes of its own: no window ever finds the pictures
    // of one closed before it. They would stay until the cache is full, megabytes later, and Qt
    // 6.4 never lets go of their keys. These windows are small and quick to draw, so they are
    // drawn without that cache.
    QPixmapCache::setCacheLimit(0);
    fitToScreen(window);
}

void showInFrontOf(QWidget* window, QWidget* opener)
{
    // The X11 platform tells the window manager a window's opener (WM_TRANSIENT_FOR) only for
    // windows of a dialog's type: a plain window's opener would stay within Qt, and the window
    // manager would raise a clicked opener over the window it waits for. As a dialog the window
    // keeps a plain window's title bar and buttons, and its opener still does not own it.
    window->setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                           Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint |
                           Qt::WindowFullscreenButtonHint);
    window->winId(); // the window's own handle, so that it can name its opener
    if (QWindow* handle = window->windowHandle()) {
        handle->setTransientParent(opener->window()->windowHandle());
    }
    window->show();
}

QPushButton* button(QWidget* parent, const QString& objectName, const QString& caption,
                    QRect geometry, const QFont& font, const QColor& background)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(objectName);
    button->setGeometry(geometry);
    button->setFont(font);
    // A flat coloured face with a raised edge, like a graphical command button.
    button->setStyleSheet(
        uR"(QPushButton { background-color: %1; color: black; border: 2px outset #d0d0d0; }
QPushButton:pressed { border-style: inset; }
QPushButton:disabled { color: #8c8c8c; }
QPushButton:focus { border-color: #404040; })"_s.arg(background.name()));
    pressOnEnter(button);
    return button;
}

QLabel* label(QWidget* parent, const QString& objectName, const QString& caption, QRect geometry,
              const QFont& font, const QColor& text, const QColor& background)
{
    auto* label = new QLabel(caption, parent);
    label->setObjectName(objectName);
    label->setGeometry(geometry);
    label->setFont(font);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, text);
    if (background.isValid()) {
        palette.setColor(QPalette::Window, background);
        label->setAutoFillBackground(true);
    }
    label->setPalette(palette);
    return label;
}

} // namespace setzaiko::controls
