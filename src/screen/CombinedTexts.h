#pragma once

#include <QStringView>

namespace setzaiko::combinedtexts {

// The texts of the combined order of several set products, as its window and the command
// line show them.
inline constexpr QStringView caption = u"受 注 ま と め 照 会";
inline constexpr QStringView setsCaption = u"受注セット商品一覧";
inline constexpr QStringView componentsCaption = u"構成商品必要数一覧";
inline constexpr QStringView quantityCaption = u"受注予定数";
inline constexpr QStringView addButton = u"追加";
inline constexpr QStringView changeButton = u"数量変更";
inline constexpr QStringView removeButton = u"削除";
inline constexpr QStringView csvButton = u"CSV出力";
inline constexpr QStringView backButton = u"戻る";

inline constexpr QStringView setHeadings[] = {u"No.",    u"商品コード", u"商品名", u"在庫数",
                                              u"受注数", u"組立数",     u"単独",   u"まとめて"};
inline constexpr QStringView componentHeadings[] = {u"No.",    u"構成商品名", u"構成商品コード",
                                                    u"在庫数", u"単位",       u"必要数",
                                                    u"出荷数", u"不足在庫数"};
inline constexpr QStringView met = u"可";
inline constexpr QStringView notMet = u"不足";

inline constexpr QStringView chooseSet = u"追加するセット商品を在庫照会の一覧で選んでください";
inline constexpr QStringView tooManySets = u"セット商品は100件まで追加できます";
inline constexpr QStringView conflictLine =
    u"単独では出荷できても、まとめると不足するセット商品があります。";
inline constexpr QStringView shortLine = u"不足する構成商品があります。";

// Names a screen reader speaks: the caption without the spaces that lay it out, names of what
// has no caption of its own, and what a shortage cell says besides its colours.
namespace spoken {
inline constexpr QStringView window = u"受注まとめ照会";
inline constexpr QStringView messageLine = u"メッセージ";
inline constexpr QStringView shortage = u"在庫不足";
} // namespace spoken

} // namespace setzaiko::combinedtexts
