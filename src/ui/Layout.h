#pragma once

#include <QColor>
#include <QFont>
#include <QRect>
#include <QSize>

namespace setzaiko::layout {

// Window geometry is given in twips; 1440 twips make one logical inch, 15 twips one pixel at
// 96 dpi. Qt's high-dpi scaling then keeps the layout on denser screens.
constexpr int twipsPerPixel = 15;

constexpr int px(int twips)
{
    return (twips + twipsPerPixel / 2) / twipsPerPixel;
}

constexpr QRect rect(int left, int top, int width, int height)
{
    return QRect(px(left), px(top), px(width), px(height));
}

constexpr QSize size(int width, int height)
{
    return QSize(px(width), px(height));
}

// The application's Gothic font at a size in points; sizes follow the twips geometry, so a
// point is 96/72 of a pixel whatever the screen's own dpi.
QFont gothic(double points, bool bold = false, bool italic = false);

// The window font of the import window.
QFont proportionalGothic(double points);

namespace colour {
inline const QColor window(192, 255, 255);
inline const QColor actionButton(255, 255, 128);
inline const QColor exitButton(255, 192, 128);
inline const QColor fileButton(128, 255, 128);
inline const QColor field(255, 255, 192);
inline const QColor caption(0, 0, 255);
inline const QColor message(255, 0, 0);
} // namespace colour

} // namespace setzaiko::layout
