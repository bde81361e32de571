#include "matching/keyword_templates.h"

#include <initializer_list>
#include <vector>

namespace veltrano {
namespace {

using Lines = std::vector<const wchar_t*>;

// The parts both templates share.
const Lines kRules = {
    L"#",
    L"# 記述ルール:",
    L"#   ・1行につき1つのキーワードです。",
    L"#   ・空行は無視されます。",
    L"#   ・# で始まる行は、コメントとして無視されます。",
    L"#   ・行頭にプレフィックスを記述できます。",
    L"#     プレフィックスの前に空白を入れると、プレフィックスとして扱われず、",
    L"#     その1行全体がキーワードとして扱われますのでご注意下さい。",
    L"#     そしてプレフィックスとキーワードの間に空白を入れると、",
    L"#     その空白自体がキーワードの先頭の文字として扱われますのでご注意下さい。",
    L"#",
    L"# マッチ仕様:",
    L"#   ・部分一致で判定されます（全文一致ではありません）。",
};
const Lines kPrefixes = {
    L"# プレフィックス:",
    L"#   [i] : 大文字小文字を無視（ignore case）",
    L"#   ※ 指定がない場合は大文字小文字を区別（case sensitive）",
};
const Lines kEncoding = {
    L"# 文字コード等:",
    L"#   ファイル名、拡張子、文字コード及び改行コードを上書き保存時に変更しないで下さい。",
    L"#   文字コードは「UTF-8のBOM付き」、改行コードは「LF」です。",
    L"#   改行コードが Windows であまり一般的ではない「LF」なので注意して下さい。",
};

std::wstring JoinLines(std::initializer_list<Lines> blocks) {
    std::wstring text;
    for (const Lines& block : blocks) {
        for (const wchar_t* line : block) text.append(line).append(L"\n");
    }
    return text;
}

}  // namespace

std::wstring KeywordTemplate(KeywordKind kind) {
    if (kind == KeywordKind::Wildcard) {
        return JoinLines({{L"# キーワードファイル（ワイルドカード）"},
                          kRules,
                          {
                              L"#   ・大文字小文字の扱いは、プレフィックスで指定できます。",
                              L"#",
                          },
                          kPrefixes,
                          {
                              L"#",
                              L"# ワイルドカード:",
                              L"#   *  : 任意の文字列（0文字以上）",
                              L"#   ?  : 任意の1文字",
                              L"#",
                              L"# エスケープ:",
                              L"#   ・\\ を付けることで、ワイルドカード文字を通常の文字として扱えます。",
                              L"#   ・\\* は「*」として、\\? は「?」として扱われます。",
                              L"#   ・\\ 自体を文字として使いたい場合は \\\\ と記述して下さい。",
                              L"#",
                              L"# 記述例:",
                              L"#   [i]password*",
                              L"#   [i]MySecretKey",
                              L"#   *.txt",
                              L"#   report_????.log",
                              L"#   error_*",
                              L"#   file\\*.txt",
                              L"#   literal\\?.log",
                              L"#",
                          },
                          kEncoding});
    }
    return JoinLines({{L"# キーワードファイル（正規表現）"},
                      kRules,
                      {
                          L"#   ・正規表現は ECMAScript 構文で解釈されます。",
                          L"#   ・大文字小文字の扱いは、プレフィックスで指定できます。",
                          L"#",
                          L"# パターン内後方参照:",
                          L"#   ・( ) で囲った部分（グループ）にマッチした内容を、同じ行内で再利用できます。",
                          L"#   ・\\1, \\2... と記述することで、そのグループと同じ文字列にのみマッチします。",
                          L"#",
                      },
                      kPrefixes,
                      {
                          L"#",
                          L"# 記述例:",
                          L"#   # 同じ単語の繰り返しを検知（例: error error）",
                          L"#   (\\w+)\\s+\\1",
                          L"#",
                          L"#   # クォートで囲まれた文字列を検知（例: \"text\" や 'text'）",
                          L"#   ([\"'])(?:(?!\\1).)*\\1",
                          L"#",
                          L"#   # その他の例",
                          L"#   [i][a-zA-Z0-9._%+-]+@[a-zA-Z0-9.-]+\\.[a-zA-Z]{2,}",
                          L"#   API_KEY_[A-Z0-9]{32}",
                          L"#",
                      },
                      kEncoding});
}

}  // namespace veltrano
