#pragma once

#include <QStringView>

namespace setzaiko::exporttexts {

// The causes of a failed export, shown behind the failure box's details button and printed by
// the command line: one sentence, then the folder and the system's reason where a file failed.
inline constexpr QStringView forbiddenName =
    u"セット商品のコードか名前に、ファイル名に使えない文字（\\ / : * ? \" < > | や制御文字）"
    u"があります。";
inline constexpr QStringView noFolder = u"出力先のフォルダーがありません。";
inline constexpr QStringView cannotCreate = u"出力先のフォルダーにファイルを作成できません。";
inline constexpr QStringView cannotWrite = u"出力先のフォルダーにファイルを書き込めません。";
inline constexpr QStringView notShown = u"一覧に表示されていない数値があります。";
inline constexpr QStringView overflow = u"出荷不足数量の計算が扱える範囲を超えました。";
inline constexpr QStringView unexpectedCause = u"出力中に予期しないエラーが発生しました。";
inline constexpr QStringView codeLabel = u"商品コード：";
inline constexpr QStringView nameLabel = u"商品名：";
inline constexpr QStringView folderLabel = u"フォルダー：";
inline constexpr QStringView reasonLabel = u"理由：";

} // namespace setzaiko::exporttexts
