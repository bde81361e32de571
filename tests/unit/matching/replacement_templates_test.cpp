#include "matching/replacement_templates.h"

#include <gtest/gtest.h>

#include <chrono>
#include <vector>

#include "matching/replacement_definitions.h"

namespace veltrano {
namespace {

std::vector<std::wstring> Lines(const std::wstring& text) {
    std::vector<std::wstring> lines;
    size_t start = 0;
    for (size_t end = text.find(L'\n'); end != std::wstring::npos; end = text.find(L'\n', start)) {
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    EXPECT_EQ(start, text.size()) << "the text must end with LF";
    return lines;
}

// A commented example as a definition line: "#   " removed, "<タブ一個>" a real TAB, the remark
// after two spaces dropped.
std::wstring ExampleLine(std::wstring line) {
    line = line.substr(4);
    const size_t tab = line.find(L"<タブ一個>");
    if (tab != std::wstring::npos) line.replace(tab, 6, L"\t");
    const size_t remark = line.find(L"  （");
    if (remark != std::wstring::npos) line.resize(remark);
    return line;
}

std::wstring Apply(std::wstring_view text, const std::wstring& line, DefinitionKind kind) {
    MatchBudget budget(std::chrono::hours(1));
    return ApplyReplacement(text, ParseDefinitionLine(line, kind), budget);
}

TEST(ReplacementTemplate, WildcardLinesAndExamples) {
    const std::vector<std::wstring> lines = Lines(ReplacementTemplate(DefinitionKind::Wildcard));
    ASSERT_EQ(lines.size(), 51u);
    EXPECT_EQ(lines[0], L"# 置換定義ファイル（ワイルドカード）");
    EXPECT_EQ(lines[3], L"#   <プレフィックス><置換されるテキスト><タブ1個><置換後テキスト>");
    EXPECT_EQ(lines[20], L"#   ・ワイルドカード置換では [fmt_sed] オプションをエラーとします。");
    EXPECT_EQ(lines[30], L"#   [fmt_default] : ECMAScript 形式。マッチした箇所すべて置換する");
    EXPECT_EQ(lines[31], L"#   [fmt_no_copy] : マッチしていない部分を出力にコピーしない");
    EXPECT_EQ(lines[40], L"#   ・\\* や \\? のように \\ を付けると、リテラルとして扱われます。");
    EXPECT_EQ(lines[41], L"#   ・\\\\ は \\ として解釈されます。");
    EXPECT_EQ(lines[44], L"#   err*\tエラー");
    EXPECT_EQ(lines[45], L"#   [a][i]secr?t\t秘密");
    EXPECT_EQ(lines[47], L"# 文字コード等:");
    EXPECT_EQ(lines[50], L"#   改行コードが Windows であまり一般的ではない「LF」なので注意して下さい。");
    for (size_t i = 0; i < lines.size(); ++i) {
        EXPECT_TRUE(lines[i].starts_with(L"#")) << i + 1;
        if (i != 44 && i != 45) {
            EXPECT_EQ(lines[i].find(L'\t'), std::wstring::npos) << i + 1;
        }
    }
    EXPECT_EQ(Apply(L"error: Secret", ExampleLine(lines[44]), DefinitionKind::Wildcard), L"エラー");
    EXPECT_EQ(Apply(L"Secret, secrat", ExampleLine(lines[45]), DefinitionKind::Wildcard), L"秘密, 秘密");
}

TEST(ReplacementTemplate, RegexLinesAndExamples) {
    const std::wstring wildcard = ReplacementTemplate(DefinitionKind::Wildcard);
    const std::vector<std::wstring> common = Lines(wildcard);
    const std::vector<std::wstring> lines = Lines(ReplacementTemplate(DefinitionKind::Regex));
    ASSERT_EQ(lines.size(), 56u);
    EXPECT_EQ(lines[0], L"# 置換定義ファイル（正規表現）");
    for (size_t i = 1; i < 17; ++i) EXPECT_EQ(lines[i], common[i]) << i + 1;
    EXPECT_EQ(lines[17], L"#   ・自動置換は、まず「置換定義ファイル（ワイルドカード）」の自動置換が実行されます。");
    EXPECT_EQ(lines[29], L"#   [fmt_sed] : 置換文字列の書式を“sed 風”にする");
    EXPECT_EQ(lines[34], L"# 後方参照（キャプチャグループ）:");
    EXPECT_EQ(lines[44], L"#   ^[\\s\\S]*$<タブ一個>「$&」  （鍵括弧：エスケープ不要）");
    EXPECT_TRUE(lines[47].starts_with(L"#   .*<タブ一個>"));
    EXPECT_EQ(lines[50], L"#   (\\d{4})-(\\d{2})-(\\d{2})<タブ一個>$1年$2月$3日");
    EXPECT_EQ(lines[52], L"# 文字コード等:");
    EXPECT_EQ(lines[55], common[50]);
    for (size_t i = 0; i < lines.size(); ++i) {
        EXPECT_TRUE(lines[i].starts_with(L"#")) << i + 1;
        EXPECT_EQ(lines[i].find(L'\t'), std::wstring::npos) << i + 1;
    }

    EXPECT_EQ(Apply(L"a\nb", ExampleLine(lines[44]), DefinitionKind::Regex), L"「a\nb」");
    EXPECT_EQ(Apply(L"2024-01-31", ExampleLine(lines[50]), DefinitionKind::Regex), L"2024年01月31日");
    // Line 48 under the default format: the half-width parentheses are written as they are.
    const std::wstring line48 = ExampleLine(lines[47]);
    EXPECT_EQ(line48, L".*\t($&)");
    EXPECT_EQ(Apply(L"ab", line48, DefinitionKind::Regex).substr(0, 4), L"(ab)");
    // Each line is wrapped; ".*" also matches the empty text at each line end after it, as
    // std::regex_replace (and ECMAScript's own replace) does, which adds "()" there.
    EXPECT_EQ(Apply(L"ab\ncd", line48, DefinitionKind::Regex), L"(ab)()\n(cd)()");
}

}  // namespace
}  // namespace veltrano
