#pragma once

#include <QStringView>

namespace setzaiko::importtexts {

// The texts of an import run, as the import window and the command line show them.
inline constexpr QStringView selectFile = u"ファイルを選択してください";
inline constexpr QStringView importing = u"取込中・・・・・・";
inline constexpr QStringView overLimit = u"取込エラー：9,999,999を超える在庫数が存在します。";
inline constexpr QStringView notNumeric = u"取込エラー：在庫数に数字以外の項目が存在します。";
inline constexpr QStringView bothEmpty =
    u"商品マスタ、在庫マスタが0件です。EXCELファイルを確認してください。";
inline constexpr QStringView productsEmpty =
    u"商品マスタが0件です。EXCELファイルを確認してください。";
inline constexpr QStringView stocksEmpty =
    u"在庫マスタが0件です。EXCELファイルを確認してください。";
inline constexpr QStringView success =
    u"EXCELより商品・在庫データを取込みました。「戻る」を押下してください";
inline constexpr QStringView totalBoxBefore = u"合計 ";
inline constexpr QStringView totalBoxAfter = u" 件のデータを抽出しました";
inline constexpr QStringView failed = u"取込みエラーが発生しました";

inline constexpr QStringView productCountCaption = u"商品マスタ取込件数";
inline constexpr QStringView stockCountCaption = u"在庫マスタ取込件数";
inline constexpr QStringView totalCountCaption = u"総件数";

// Names a screen reader speaks for the import window and the chooser: their captions without
// the spaces and marks that lay them out, and names of controls without a caption of their own.
namespace spoken {
inline constexpr QStringView importWindow = u"商品・在庫データ抽出";
inline constexpr QStringView fileButton = u"参照";
inline constexpr QStringView importButton = u"EXCELデータ取込";
inline constexpr QStringView chooser = u"EXCELファイル選択";
inline constexpr QStringView messageLine = u"メッセージ";
} // namespace spoken

} // namespace setzaiko::importtexts
