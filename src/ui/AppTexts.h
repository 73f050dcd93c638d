#pragma once

#include <QStringView>

namespace setzaiko::apptexts {

// The application's name: the main menu's caption and the title of every message box.
inline constexpr QStringView title = u"セット商品在庫照会";

// Names a screen reader speaks where the main menu's captions are laid out with spaces.
namespace spoken {
inline constexpr QStringView mainMenu = title;
inline constexpr QStringView inquiryButton = u"在庫照会";
} // namespace spoken

} // namespace setzaiko::apptexts
