#include "ui/FitToScreen.h"

#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QWidget>
#include <QWindow>

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

namespace setzaiko::controls {

namespace {

// The window size that shows as much of the layout as the room allows: the layout's own size
// where it fits, otherwise the room, with space for the scroll bars the layout then needs.
QSize fittedSize(QSize layout, QSize room, int scrollBar)
{
    bool wide = layout.width() > room.width();
    bool tall = layout.height() > room.height();
    // A scroll bar in one direction takes room from the other.
    for (int pass = 0; pass < 2; ++pass) {
        wide = layout.width() + (tall ? scrollBar : 0) > room.width();
        tall = layout.height() + (wide ? scrollBar : 0) > room.height();
    }
    if (!wide && !tall) {
        return layout;
    }
    return {std::min(layout.width() + (tall ? scrollBar : 0), room.width()),
            std::min(layout.height() + (wide ? scrollBar : 0), room.height())};
}

class ScreenFit : public QObject
{
public:
    explicit ScreenFit(QWidget* window)
        : QObject(window), m_window(window), m_layout(window->size())
    {
        window->installEventFilter(this);
        connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
            if (m_area && now && m_area->widget()->isAncestorOf(now)) {
                m_area->ensureWidgetVisible(now);
            }
        });
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        // Once the window is on screen, a move tells the frame the window system gave it.
        if (watched == m_window &&
            (event->type() == QEvent::Show ||
             ((event->type() == QEvent::ScreenChangeInternal || event->type() == QEvent::Move) &&
              m_window->isVisible()))) {
            fit();
        }
        return false;
    }

private:
    // The window frame's share of the screen: as the window system tells it once the window
    // is on screen, before that a title bar and borders as the style draws them.
    QMargins frameMargins() const
    {
        if (const QWindow* handle = m_window->windowHandle()) {
            if (const QMargins margins = handle->frameMargins(); !margins.isNull()) {
                return margins;
            }
        }
        const QStyle* style = m_window->style();
        const int border = style->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth);
        return {border, style->pixelMetric(QStyle::PM_TitleBarHeight) + border, border, border};
    }

    void fit()
    {
        const QScreen* screen = m_window->screen();
        if (!screen) {
            return;
        }
        const QSize room = screen->availableGeometry().size().shrunkBy(frameMargins());
        const int scrollBar = m_window->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
        const QSize size = fittedSize(m_layout, room, scrollBar);
        if (size != m_layout && !m_area) {
            wrapInScrollArea();
        }
        m_window->setFixedSize(size);
        if (m_area) {
            m_area->setGeometry(0, 0, size.width(), size.height());
        }
    }

    // Moves the window's controls, positions unchanged, onto a page of the layout's size
    // inside a scroll area that fills the window.
    void wrapInScrollArea()
    {
        const QList<QWidget*> controls =
            m_window->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
        QPointer<QWidget> focus = m_window->focusWidget();

        m_area = new QScrollArea(m_window);
        m_area->setObjectName(u"fittedLayout"_s);
        m_area->setFrameShape(QFrame::NoFrame);
        m_area->setFocusPolicy(Qt::NoFocus);
        auto* page = new QWidget;
        page->setFixedSize(m_layout);
        page->setAutoFillBackground(true);
        m_area->setWidget(page);
        for (QWidget* control : controls) {
            if (control->isWindow()) {
                continue;
            }
            // A widget moved to another parent is hidden: all but those hidden on purpose show
            // again.
            const bool keptHidden =
                control->isHidden() && control->testAttribute(Qt::WA_WState_ExplicitShowHide);
            control->setParent(page);
            if (!keptHidden && m_window->isVisible()) {
                control->show();
            }
        }
        m_area->setVisible(true);
        if (focus) {
            focus->setFocus();
        }
    }

    QWidget* m_window;
    QSize m_layout;
    QScrollArea* m_area = nullptr;
};

} // namespace

void fitToScreen(QWidget* window)
{
    new ScreenFit(window);
}

} // namespace setzaiko::controls
