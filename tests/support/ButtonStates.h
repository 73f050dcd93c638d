#pragma once

#include "gui/MainMenu.h"

#include <QByteArray>
#include <QPushButton>
#include <QTest>

namespace setzaiko::testing {

// Whether a window's three buttons are enabled, in their order on screen.
struct Buttons
{
    bool first;
    bool second;
    bool third;
    friend bool operator==(const Buttons&, const Buttons&) = default;
};

inline Buttons buttonsOf(const MainMenu* menu)
{
    return {menu->CmdImport()->isEnabled(), menu->CmdZaiko()->isEnabled(),
            menu->CmdExit()->isEnabled()};
}

} // namespace setzaiko::testing

namespace QTest {
template <>
inline char* toString(const setzaiko::testing::Buttons& b)
{
    return qstrdup(QByteArray::number(b.first) + ',' + QByteArray::number(b.second) + ',' +
                   QByteArray::number(b.third));
}
} // namespace QTest
