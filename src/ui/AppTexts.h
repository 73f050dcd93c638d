#pragma once

#include <QStringView>

namespace setzaiko::apptexts {

// The application's name: the main menu's caption and the title of every message box.
inline constexpr QStringView title = u"セット商品在庫照会";

} // namespace setzaiko::apptexts
