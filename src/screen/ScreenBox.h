#pragma once

#include <QString>

namespace setzaiko {

// A message box a screen model has made due: its text, whether a beep goes before it, and the
// cause of a failure behind its details button (empty for none).
struct ScreenBox
{
    QString text;
    bool beep = false;
    QString details = {};

    friend bool operator==(const ScreenBox&, const ScreenBox&) = default;
};

} // namespace setzaiko
