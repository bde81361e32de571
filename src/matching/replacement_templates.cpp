#include "matching/replacement_templates.h"

namespace veltrano {
namespace {

// Lines 2 to 17 of both templates.
constexpr const wchar_t* kRules =
    L"#\n"
    L"# 記述形式:\n"
    L"#   <プレフィックス><置換されるテキスト><タブ1個><置換後テキスト>\n"
    L"#\n"
    L"# 記述ルール:\n"
    L"#   ・1行につき1つの置換定義です。\n"
    L"#   ・空行は無視されます。\n"
    L"#   ・# で始まる行は、コメントとして無視されます。\n"
    L"#   ・行頭にプレフィックスを記述できます。\n"
    L"#     「プレフィックスの前」や「プレフィックスとプレフィックスの間」、\n"
    L"#     「プレフィックスと置換されるテキストの間」に空白を入れると、\n"
    L"#     その一番前の空白から「置換されるテキスト」として扱われますのでご注意下さい。\n"
    L"#\n"
    L"# 注意事項:\n"
    L"#   ・[a] プレフィックス無しの行は「手動置換」として登録されます。\n"
    L"#     自動置換を行う場合は [a] を明示して下さい。\n";

constexpr const wchar_t* kPrefixes =
    L"#\n"
    L"# 自動置換プレフィックス:\n"
    L"#   [a] : 自動置換（auto）\n"
    L"#\n"
    L"# 大文字小文字プレフィックス:\n"
    L"#   [i] : 大文字小文字を無視（ignore case）\n"
    L"#   ※ 指定がない場合は大文字小文字を区別（case sensitive）\n"
    L"#\n"
    L"# 置換オプション（std::regex_replace 準拠）プレフィックス:\n"
    L"#   [fmt_default] : ECMAScript 形式。マッチした箇所すべて置換する\n";

constexpr const wchar_t* kFormatTail =
    L"#   [fmt_no_copy] : マッチしていない部分を出力にコピーしない\n"
    L"#   [fmt_first_only] : 最初にマッチした1箇所だけ置換する\n"
    L"#   ※ 指定がない場合は [fmt_default] を適用\n"
    L"#\n";

constexpr const wchar_t* kEncoding =
    L"#\n"
    L"# 文字コード等:\n"
    L"#   ファイル名、拡張子、文字コード及び改行コードを上書き保存時に変更しないで下さい。\n"
    L"#   文字コードは「UTF-8のBOM付き」、改行コードは「LF」です。\n"
    L"#   改行コードが Windows であまり一般的ではない「LF」なので注意して下さい。\n";

}  // namespace

std::wstring ReplacementTemplate(DefinitionKind kind) {
    if (kind == DefinitionKind::Wildcard) {
        return std::wstring(L"# 置換定義ファイル（ワイルドカード）\n") + kRules +
               L"#   ・自動置換は、まず本ファイルの自動置換が、\n"
               L"#     上の行から順に全ての [a] の行が実行されます。\n"
               L"#     その後に「置換定義ファイル（正規表現）」の自動置換が実行されます。\n"
               L"#   ・ワイルドカード置換では [fmt_sed] オプションをエラーとします。\n" +
               kPrefixes + kFormatTail +
               L"# ワイルドカード仕様:\n"
               L"#   *  : 任意の文字列（0文字以上）\n"
               L"#   ?  : 任意の1文字\n"
               L"#\n"
               L"# エスケープ:\n"
               L"#   ・\\* や \\? のように \\ を付けると、リテラルとして扱われます。\n"
               L"#   ・\\\\ は \\ として解釈されます。\n"
               L"#\n"
               L"# 記述例:\n"
               L"#   err*\tエラー\n"
               L"#   [a][i]secr?t\t秘密\n" +
               kEncoding;
    }
    return std::wstring(L"# 置換定義ファイル（正規表現）\n") + kRules +
           L"#   ・自動置換は、まず「置換定義ファイル（ワイルドカード）」の自動置換が実行されます。\n"
           L"#     その後に本ファイルの自動置換が、上の行から順に全ての [a] の行が実行されます。\n" +
           kPrefixes +
           L"#   [fmt_sed] : 置換文字列の書式を“sed 風”にする\n" + kFormatTail +
           L"# 後方参照（キャプチャグループ）:\n"
           L"#   ・置換されるテキスト（検索パターン）内での利用:\n"
           L"#     ( ) で囲った部分を \\1, \\2... で参照できます。\n"
           L"#     例: (\\w+)\\1  → 「nana」「tata」などの同じ言葉の連続にマッチ\n"
           L"#\n"
           L"#   ・置換後テキストでの利用:\n"
           L"#     置換されるテキスト内の ( ) 内の内容を $1, $2... で再利用できます（$& はマッチした全体）。\n"
           L"#     ※ [fmt_sed] 指定時は $1 ではなく \\1 を使用して下さい。\n"
           L"#\n"
           L"# 置換例（改行を含む文字列全体を鍵括弧で挟む）:\n"
           L"#   ^[\\s\\S]*$<タブ一個>「$&」  （鍵括弧：エスケープ不要）\n"
           L"#\n"
           L"# 置換例（1行ずつ半角括弧で挟む）:\n"
           L"#   .*<タブ一個>($&)  （半角括弧：置換後テキストではエスケープ不要）\n"
           L"#\n"
           L"# 置換例（日付の形式変換）:\n"
           L"#   (\\d{4})-(\\d{2})-(\\d{2})<タブ一個>$1年$2月$3日\n" +
           kEncoding;
}

}  // namespace veltrano
