#pragma once

#include <QStringView>

namespace setzaiko::inquirytexts {

// The texts of the set product search, as the inquiry window and the command line show them.
inline constexpr QStringView limitBoxAll = u"表示行数が100件を超えました。(100件まで表示) ";
inline constexpr QStringView limitBoxFiltered = u"表示行数が100件を超えました(100件まで表示)";
inline constexpr QStringView limitLine =
    u"表示行数が100件を超えました。商品コード、商品名で絞込みを行ってください。";
inline constexpr QStringView searchFailed = u"エラーが発生しました E0110";
inline constexpr QStringView filterFailed = u"エラーが発生しました E0120";

} // namespace setzaiko::inquirytexts
