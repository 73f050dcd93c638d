#pragma once

#include <QStringView>

namespace setzaiko::componenttexts {

// The texts of the component listing, the order simulation and the export, as the component
// window and the command line show them.
inline constexpr QStringView addableLabel = u"追加可能数量";
inline constexpr QStringView capacityBox = u"表示行数が100件を超えました(100件まで表示)";
inline constexpr QStringView noComponents = u"構成部品が存在しません。確認してください。";
inline constexpr QStringView missingComponent =
    u"在庫マスタに無い構成部品が存在します。確認してください。";
inline constexpr QStringView tooManyComponents =
    u"構成部品が100件を超えています。確認してください。";
inline constexpr QStringView listingFailed = u"エラーが発生しました E0210";
// A row whose stock allows the fewest sets, as assistive tools read it out.
inline constexpr QStringView limitingRow = u"この構成商品が追加可能数量を決めています";
// The command line's last line with --limits: the codes of those rows.
inline constexpr QStringView limitingLabel = u"制約構成商品";

inline constexpr QStringView enterOrder = u"受注予定数を入力してください";
inline constexpr QStringView enterNumber = u"数字を入力してください";
inline constexpr QStringView noZero = u"ZEROは入力できません";
inline constexpr QStringView noNegative = u"マイナス数量は入力できません";
inline constexpr QStringView simulationFailed = u"エラーが発生しました E0230";

inline constexpr QStringView exporting = u"出力中・・・・・・";
inline constexpr QStringView exportCountAfter = u" 件のデータを出力しました";
inline constexpr QStringView exportFailed = u"エラーが発生しました E0220";

// Names a screen reader speaks for the component window: its caption without the spaces that
// lay it out, names of what has no caption of its own, and what a shortage cell says besides
// its colours.
namespace spoken {
inline constexpr QStringView window = u"セット商品個別在庫状況";
inline constexpr QStringView unit = u"単位";
inline constexpr QStringView messageLine = u"メッセージ";
inline constexpr QStringView shortage = u"在庫不足";
} // namespace spoken

} // namespace setzaiko::componenttexts
