#pragma once

#include <QStringView>

namespace setzaiko::importruntexts {

// The worksheets the import loads, by their names, compared exactly.
inline constexpr QStringView productSheet = u"商品マスタ";
inline constexpr QStringView stockSheet = u"在庫マスタ";
inline constexpr QStringView startMarker = u"○";

// The cause of a failure that no reader reported, before its technical detail.
inline constexpr QStringView unexpectedCause = u"取込中に予期しないエラーが発生しました。";

} // namespace setzaiko::importruntexts
