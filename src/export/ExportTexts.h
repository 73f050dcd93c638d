#pragma once

#include <QStringView>

namespace setzaiko::exporttexts {

// The texts of the stock status export, as the component window and the command line show
// them.
inline constexpr QStringView exporting = u"出力中・・・・・・";
inline constexpr QStringView countAfter = u" 件のデータを出力しました";
inline constexpr QStringView failed = u"エラーが発生しました E0220";

} // namespace setzaiko::exporttexts
