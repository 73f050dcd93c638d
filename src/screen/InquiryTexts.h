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

// Names a screen reader speaks for the inquiry window: captions without the spaces that lay
// them out, and names of what has no caption of its own.
namespace spoken {
inline constexpr QStringView window = u"セット商品在庫照会";
inline constexpr QStringView searchButton = u"検索";
inline constexpr QStringView detailsButton = u"在庫詳細";
inline constexpr QStringView blankColumn = u"空欄";
inline constexpr QStringView messageLine = u"メッセージ";
} // namespace spoken

} // namespace setzaiko::inquirytexts
