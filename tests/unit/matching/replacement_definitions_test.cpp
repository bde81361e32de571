#include "matching/replacement_definitions.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <random>

#include "base/text_encoding.h"
#include "matching/replacement_templates.h"
#include "storage/list_file_encryption.h"
#include "storage/text_files.h"
#include "support/answering_question.h"
#include "support/program_data.h"
#include "support/raw_files.h"
#include "support/recording_notifier.h"

namespace veltrano {
namespace {

using std::chrono::hours;

// The definitions with their real encryption switch over a temporary program folder.
class ReplacementDefinitionsTest : public ::testing::Test, protected test::ProgramData {
protected:
    ReplacementDefinitionsTest() {
        definitions.AttachEncryption(encryption);
        settings.Ini().WriteBool(section::kLog, L"UseLog", true);
    }

    std::wstring FileOf(DefinitionKind kind, bool encrypted) const {
        return definitions.DefinitionFilePath(kind, encrypted);
    }
    void WritePlain(DefinitionKind kind, const std::wstring& text) {
        WriteUtf8TextFile(FileOf(kind, false), WideToUtf8(text));
    }
    std::string LogText() const { return test::ReadBytes(log.LogFilePath()); }
    bool Logged(const std::wstring& text) const { return LogText().find(WideToUtf8(text)) != std::string::npos; }

    test::RecordingNotifier notifier;
    test::AnsweringQuestion question{true};
    ReplacementDefinitions definitions{settings, paths, notifier, log};
    ListFileEncryption encryption{definitions.Family(), notifier, question};
};

std::wstring Apply(std::wstring_view text, const ReplacementDefinition& definition) {
    MatchBudget budget(hours(1));
    return ApplyReplacement(text, definition, budget);
}

std::wstring Apply(std::wstring_view text, std::wstring_view line, DefinitionKind kind) {
    return Apply(text, ParseDefinitionLine(line, kind));
}

TEST(ParseDefinitionLine, PrefixesInAnyOrderRepeatAndAccumulate) {
    const ReplacementDefinition d =
        ParseDefinitionLine(L"[fmt_first_only][i][a][fmt_default][a][fmt_no_copy]ab\tx\ty", DefinitionKind::Regex);
    EXPECT_EQ(d.lineText, L"[fmt_first_only][i][a][fmt_default][a][fmt_no_copy]ab\tx\ty");
    EXPECT_TRUE(d.automatic);
    EXPECT_TRUE(d.ignoreCase);
    EXPECT_EQ(d.formatFlags, kFormatFirstOnly | kFormatNoCopy);  // fmt_default clears nothing
    EXPECT_EQ(d.patternText, L"ab");
    EXPECT_EQ(d.replacement, L"x\ty");  // later TABs belong to the replacement
    EXPECT_EQ(d.kind, DefinitionKind::Regex);

    const ReplacementDefinition plain = ParseDefinitionLine(L"ab\t", DefinitionKind::Wildcard);
    EXPECT_FALSE(plain.automatic);
    EXPECT_FALSE(plain.ignoreCase);
    EXPECT_EQ(plain.formatFlags, 0u);
    EXPECT_EQ(plain.replacement, L"");
    EXPECT_EQ(plain.kind, DefinitionKind::Wildcard);
    EXPECT_EQ(ParseDefinitionLine(L"[fmt_sed]a\tb", DefinitionKind::Regex).formatFlags, kFormatSed);
}

TEST(ParseDefinitionLine, ASpaceEndsThePrefixes) {
    const ReplacementDefinition d = ParseDefinitionLine(L"[a] [i]abc\tx", DefinitionKind::Wildcard);
    EXPECT_TRUE(d.automatic);
    EXPECT_FALSE(d.ignoreCase);
    EXPECT_EQ(d.patternText, L" [i]abc");

    const ReplacementDefinition spaced = ParseDefinitionLine(L"[a] abc\tx", DefinitionKind::Regex);
    EXPECT_EQ(spaced.patternText, L" abc");
    EXPECT_EQ(Apply(L"abc, abc", spaced), L"abc,x");

    const ReplacementDefinition leading = ParseDefinitionLine(L" [a]abc\tx", DefinitionKind::Regex);
    EXPECT_FALSE(leading.automatic);
    EXPECT_EQ(leading.patternText, L" [a]abc");
}

TEST(ParseDefinitionLine, PrefixNamesAreExact) {
    for (const wchar_t* line : {L"[A]x\ty", L"[I]x\ty", L"[]x\ty", L"[ a]x\ty", L"[fmt_SED]x\ty", L"[0-9]+\tN"}) {
        try {
            ParseDefinitionLine(line, DefinitionKind::Regex);
            ADD_FAILURE() << "accepted: " << WideToUtf8(line);
        } catch (const std::runtime_error& error) {
            EXPECT_EQ(Utf8ToWide(error.what()), L"未知のプレフィックス") << WideToUtf8(line);
        }
    }
}

TEST_F(ReplacementDefinitionsTest, BadLinesAreLoggedWithTheirNumberOverAllLinesAndSkipped) {
    const ParsedDefinitions parsed = ParseDefinitionLines(
        L"# comment\n"
        L"\n"
        L"[x]a\tb\n"   // 3
        L"[a\n"        // 4
        L"no tab\n"    // 5
        L"[a][i]\n"    // 6: nothing after the prefixes
        L"(abc\tx\n"   // 7
        L"[0-9]+\tN\n" // 8
        L"[a]ok\t1\r\n"
        L"ok\t2",
        DefinitionKind::Regex, log);
    ASSERT_EQ(parsed.automatic.size(), 1u);
    EXPECT_EQ(parsed.automatic[0].lineText, L"[a]ok\t1");
    ASSERT_EQ(parsed.manual.size(), 1u);
    EXPECT_EQ(parsed.manual[0].lineText, L"ok\t2");

    const std::wstring head = L"][Other][置換定義解析エラー]タイプ: 正規表現 / 行番号: ";
    EXPECT_TRUE(Logged(head + L"3 / 未知のプレフィックス / 記述内容: [x]a\tb\r\n")) << LogText();
    EXPECT_TRUE(Logged(head + L"4 / ']' が見つかりません / 記述内容: [a\r\n")) << LogText();
    EXPECT_TRUE(Logged(head + L"5 / runtime_error: TAB区切りが不正です / 記述内容: no tab\r\n")) << LogText();
    EXPECT_TRUE(Logged(head + L"6 / runtime_error: TAB区切りが不正です / 記述内容: [a][i]\r\n")) << LogText();
    EXPECT_TRUE(Logged(head + L"7 / ")) << LogText();
    EXPECT_TRUE(Logged(L" / 記述内容: (abc\tx\r\n")) << LogText();
    EXPECT_TRUE(Logged(head + L"8 / 未知のプレフィックス / 記述内容: [0-9]+\tN\r\n")) << LogText();
    EXPECT_TRUE(notifier.notifications.empty());
}

TEST_F(ReplacementDefinitionsTest, FmtSedIsRefusedInTheWildcardFileAndWorksInTheRegexFile) {
    const ParsedDefinitions wildcards = ParseDefinitionLines(L"[fmt_sed]abc\tx\nabc\ty", DefinitionKind::Wildcard, log);
    EXPECT_TRUE(wildcards.automatic.empty());
    ASSERT_EQ(wildcards.manual.size(), 1u);
    EXPECT_EQ(wildcards.manual[0].lineText, L"abc\ty");
    EXPECT_TRUE(Logged(L"タイプ: ワイルドカード / 行番号: 1 / 未知のプレフィックス / 記述内容: [fmt_sed]abc\tx"))
        << LogText();

    const ParsedDefinitions regexes = ParseDefinitionLines(L"[fmt_sed](\\w+)-(\\w+)\t\\2 \\1", DefinitionKind::Regex, log);
    ASSERT_EQ(regexes.manual.size(), 1u);
    EXPECT_TRUE(regexes.automatic.empty());
    EXPECT_EQ(Apply(L"left-right", regexes.manual[0]), L"right left");
}

TEST(ApplyReplacement, WildcardDollarsAreDoubledAndInsertedLiterally) {
    const ReplacementDefinition wildcard = ParseDefinitionLine(L"a?c\t$1$&$$ $", DefinitionKind::Wildcard);
    EXPECT_EQ(wildcard.replacement, L"$$1$$&$$$$ $$");
    EXPECT_EQ(Apply(L"xabcx", wildcard), L"x$1$&$$ $x");

    EXPECT_EQ(Apply(L"xabcx", L"a(b)c\t[$1|$&|$$]", DefinitionKind::Regex), L"x[b|abc|$]x");
    EXPECT_EQ(Apply(L"a-b", L"-\t$`$'", DefinitionKind::Regex), L"aabb");
    EXPECT_EQ(Apply(L"ab", L"b\t\\n", DefinitionKind::Regex), L"a\\n");  // backslash stands for itself
}

TEST(ApplyReplacement, ExamplesOfTheFormats) {
    EXPECT_EQ(Apply(L"Secret and secrat", L"[a][i]secr?t\tX", DefinitionKind::Wildcard), L"X and X");
    EXPECT_EQ(Apply(L"left-right", L"[fmt_sed](\\w+)-(\\w+)\t\\2 \\1", DefinitionKind::Regex), L"right left");
    EXPECT_EQ(Apply(L"aaa", L"[fmt_first_only]a\tb", DefinitionKind::Regex), L"baa");
    EXPECT_EQ(Apply(L"a1b2", L"[fmt_no_copy]\\d\t#", DefinitionKind::Regex), L"##");
    EXPECT_EQ(Apply(L"a1b2", L"[fmt_no_copy][fmt_first_only]\\d\t#", DefinitionKind::Regex), L"#");
    EXPECT_EQ(Apply(L"aaa", L"[fmt_first_only]a\tb", DefinitionKind::Wildcard), L"baa");
    EXPECT_EQ(Apply(L"a1b2", L"[fmt_no_copy]?\t#", DefinitionKind::Wildcard), L"####");
    EXPECT_EQ(Apply(L"xyz", L"q\tb", DefinitionKind::Regex), L"xyz");
    EXPECT_EQ(Apply(L"xyz", L"[fmt_no_copy]q\tb", DefinitionKind::Wildcard), L"");
    EXPECT_EQ(Apply(L"2024-01-31", L"(\\d{4})-(\\d{2})-(\\d{2})\t$1年$2月$3日", DefinitionKind::Regex),
              L"2024年01月31日");
}

TEST(ApplyReplacement, AnEmptyPatternInsertsBetweenEveryCharacter) {
    for (DefinitionKind kind : {DefinitionKind::Wildcard, DefinitionKind::Regex}) {
        const ReplacementDefinition d = ParseDefinitionLine(L"\t-", kind);
        EXPECT_EQ(d.patternText, L"");
        EXPECT_EQ(Apply(L"abc", d), L"-a-b-c-");
        EXPECT_EQ(Apply(L"", d), L"-");
    }
}

TEST(ApplyReplacement, AStoppedReplaceThrowsMatchAborted) {
    MatchBudget spent(std::chrono::steady_clock::time_point{});
    const ReplacementDefinition d = ParseDefinitionLine(L"(a+)+(?=b)a\tx", DefinitionKind::Regex);
    EXPECT_THROW(ApplyReplacement(L"aaaaaaaaaaaaaaaaaaaaaaaaaaaaaa", d, spent), MatchAborted);
}

// The linear wildcard path against std::regex_replace on the translation, over generated cases.
TEST(ApplyReplacement, WildcardPathEqualsRegexReplace) {
    std::mt19937 random(20240531);
    const std::wstring patternChars = L"ab*?\\$A";
    const std::wstring textChars = L"abAB$\n\r";
    const std::uint32_t flagSets[] = {0, kFormatNoCopy, kFormatFirstOnly, kFormatNoCopy | kFormatFirstOnly};
    int compared = 0;
    for (int round = 0; round < 3000; ++round) {
        std::wstring line;
        const std::uint32_t flags = flagSets[random() % 4];
        if (flags & kFormatNoCopy) line += L"[fmt_no_copy]";
        if (flags & kFormatFirstOnly) line += L"[fmt_first_only]";
        if (random() % 2) line += L"[i]";
        for (size_t n = random() % 5; n > 0; --n) line += patternChars[random() % patternChars.size()];
        line += L'\t';
        for (size_t n = random() % 4; n > 0; --n) line += L"x$1&"[random() % 4];
        std::wstring text;
        for (size_t n = random() % 8; n > 0; --n) text += textChars[random() % textChars.size()];

        ReplacementDefinition d;
        try {
            d = ParseDefinitionLine(line, DefinitionKind::Wildcard);
        } catch (const std::regex_error&) {
            continue;  // a trailing lone backslash
        }
        ASSERT_TRUE(d.wildcard);
        const std::wstring expected = std::regex_replace(text, d.pattern, d.replacement, ToMatchFlags(d.formatFlags));
        ASSERT_EQ(Apply(text, d), expected) << WideToUtf8(line) << " on " << WideToUtf8(text);
        ++compared;
    }
    EXPECT_GT(compared, 2000);
}

TEST_F(ReplacementDefinitionsTest, MissingFilesAreCreatedFromTemplatesAndLoadEmpty) {
    definitions.Reload();
    EXPECT_EQ(FileOf(DefinitionKind::Regex, false), paths.DataFile(L"_regex_replace", L".txt"));
    for (DefinitionKind kind : {DefinitionKind::Wildcard, DefinitionKind::Regex}) {
        EXPECT_EQ(test::ReadBytes(FileOf(kind, false)), "\xEF\xBB\xBF" + WideToUtf8(ReplacementTemplate(kind)));
        EXPECT_TRUE(definitions.Automatic(kind).empty());
        EXPECT_TRUE(definitions.Manual(kind).empty());
    }
    EXPECT_TRUE(notifier.notifications.empty());
}

TEST_F(ReplacementDefinitionsTest, WildcardDefinitionsRunBeforeRegexOnesAndChainInFileOrder) {
    WritePlain(DefinitionKind::Wildcard, L"[a]cat\tdog\nmanual\tM\n[a]dog\tcow\n");
    WritePlain(DefinitionKind::Regex, L"[a]cow\tc$&\n[a]c(c)ow\t[$1]\n\\d\tN\n");
    definitions.Reload();

    ASSERT_EQ(definitions.Automatic(DefinitionKind::Wildcard).size(), 2u);
    ASSERT_EQ(definitions.Automatic(DefinitionKind::Regex).size(), 2u);
    ASSERT_EQ(definitions.Manual(DefinitionKind::Wildcard).size(), 1u);
    EXPECT_EQ(definitions.Manual(DefinitionKind::Wildcard)[0].lineText, L"manual\tM");
    ASSERT_EQ(definitions.Manual(DefinitionKind::Regex).size(), 1u);

    std::wstring text = L"a cat";
    for (DefinitionKind kind : {DefinitionKind::Wildcard, DefinitionKind::Regex}) {
        for (const ReplacementDefinition& d : definitions.Automatic(kind)) text = Apply(text, d);
    }
    EXPECT_EQ(text, L"a [c]");
}

TEST_F(ReplacementDefinitionsTest, CancellingDefinitionsLeaveNoTrace) {
    WritePlain(DefinitionKind::Wildcard, L"[a]A\tB\n");
    WritePlain(DefinitionKind::Regex, L"[a]B\tA\n");
    definitions.Reload();
    const std::wstring input = L"AB and BA";
    std::wstring text = input;
    for (DefinitionKind kind : {DefinitionKind::Wildcard, DefinitionKind::Regex}) {
        for (const ReplacementDefinition& d : definitions.Automatic(kind)) text = Apply(text, d);
    }
    EXPECT_EQ(text, L"AA and AA");  // the B already there is rewritten too
    std::wstring onlyA = L"A and A";
    for (DefinitionKind kind : {DefinitionKind::Wildcard, DefinitionKind::Regex}) {
        for (const ReplacementDefinition& d : definitions.Automatic(kind)) onlyA = Apply(onlyA, d);
    }
    EXPECT_EQ(onlyA, L"A and A");
}

TEST_F(ReplacementDefinitionsTest, UnreadableFileEmptiesItsListsAndIsReportedTheOtherKindStillLoads) {
    WritePlain(DefinitionKind::Wildcard, L"[a]x\ty\n");
    WritePlain(DefinitionKind::Regex, L"[a]x\ty\nz\tw\n");
    definitions.Reload();
    ASSERT_EQ(definitions.Automatic(DefinitionKind::Wildcard).size(), 1u);

    // A folder in the file's place cannot be read.
    std::filesystem::remove(FileOf(DefinitionKind::Wildcard, false));
    std::filesystem::create_directory(FileOf(DefinitionKind::Wildcard, false));
    definitions.Reload();

    EXPECT_TRUE(definitions.Automatic(DefinitionKind::Wildcard).empty());
    EXPECT_TRUE(definitions.Manual(DefinitionKind::Wildcard).empty());
    EXPECT_EQ(definitions.Automatic(DefinitionKind::Regex).size(), 1u);
    EXPECT_EQ(definitions.Manual(DefinitionKind::Regex).size(), 1u);
    ASSERT_EQ(notifier.notifications.size(), 1u);
    EXPECT_EQ(notifier.notifications[0].title, L"エラー");
    EXPECT_EQ(notifier.notifications[0].kind, NotifyKind::Error);
    const std::wstring head = L"次の理由で、置換定義リスト（ワイルドカード）の読み込みに失敗しました。\n\n理由：\n";
    EXPECT_TRUE(notifier.notifications[0].body.starts_with(head)) << WideToUtf8(notifier.notifications[0].body);
    EXPECT_GT(notifier.notifications[0].body.size(), head.size());
}

TEST_F(ReplacementDefinitionsTest, FilesWithAndWithoutBomOrCrlfLoadTheSame) {
    WriteUtf8TextFile(FileOf(DefinitionKind::Regex, false), "a\tb\r\n[a]c\td\r\n");
    test::WriteBytes(FileOf(DefinitionKind::Wildcard, false), "a\tb\n[a]c\td");
    definitions.Reload();
    for (DefinitionKind kind : {DefinitionKind::Wildcard, DefinitionKind::Regex}) {
        ASSERT_EQ(definitions.Manual(kind).size(), 1u);
        EXPECT_EQ(definitions.Manual(kind)[0].lineText, L"a\tb");
        ASSERT_EQ(definitions.Automatic(kind).size(), 1u);
        EXPECT_EQ(definitions.Automatic(kind)[0].lineText, L"[a]c\td");
    }
}

TEST_F(ReplacementDefinitionsTest, EncryptedFilesLoad) {
    settings.Write(setting::kEncryptReplaceFile, true);
    WriteEncryptedFile(FileOf(DefinitionKind::Wildcard, true), WideToUtf8(L"[a]秘密\t***"));
    WriteEncryptedFile(FileOf(DefinitionKind::Regex, true), "\\d+\tN");
    definitions.Reload();
    EXPECT_TRUE(settings.EncryptReplaceFile());
    ASSERT_EQ(definitions.Automatic(DefinitionKind::Wildcard).size(), 1u);
    ASSERT_EQ(definitions.Manual(DefinitionKind::Regex).size(), 1u);
    EXPECT_TRUE(notifier.notifications.empty());
}

TEST_F(ReplacementDefinitionsTest, MissingEncryptedFileSwitchesEncryptionOffAndCreatesPlainTemplates) {
    settings.Write(setting::kEncryptReplaceFile, true);
    definitions.Reload();
    EXPECT_FALSE(settings.EncryptReplaceFile());
    for (DefinitionKind kind : {DefinitionKind::Wildcard, DefinitionKind::Regex}) {
        EXPECT_EQ(test::ReadBytes(FileOf(kind, false)), "\xEF\xBB\xBF" + WideToUtf8(ReplacementTemplate(kind)));
        EXPECT_TRUE(definitions.Automatic(kind).empty());
        EXPECT_TRUE(definitions.Manual(kind).empty());
    }
}

TEST_F(ReplacementDefinitionsTest, EncryptingConvertsBothFilesAndReloadsOnlyWhileReplacementIsInUse) {
    WritePlain(DefinitionKind::Wildcard, L"[a]secret\tX");
    WritePlain(DefinitionKind::Regex, L"\\d+\tN");
    settings.Ini().WriteBool(section::kClipboardReplace, L"UseClipboardReplace", false);
    encryption.Set(true);
    EXPECT_TRUE(settings.EncryptReplaceFile());
    EXPECT_EQ(ReadEncryptedFile(FileOf(DefinitionKind::Regex, true)), "\\d+\tN");
    EXPECT_TRUE(definitions.Automatic(DefinitionKind::Wildcard).empty()) << "not loaded while replacement is off";
    EXPECT_EQ(notifier.notifications.back().body, L"置換定義ファイル暗号化：有効");

    settings.Ini().WriteBool(section::kClipboardReplace, L"UseClipboardReplace", true);
    encryption.Set(false);
    EXPECT_EQ(definitions.Automatic(DefinitionKind::Wildcard).size(), 1u);
    EXPECT_EQ(definitions.Manual(DefinitionKind::Regex).size(), 1u);
    EXPECT_EQ(notifier.notifications.back().body, L"置換定義ファイル暗号化：無効");
}

}  // namespace
}  // namespace veltrano
