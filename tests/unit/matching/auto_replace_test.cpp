#include "matching/auto_replace.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "base/text_encoding.h"
#include "storage/text_files.h"
#include "support/answering_question.h"
#include "support/fake_clipboard.h"
#include "support/fake_monotonic_clock.h"
#include "support/program_data.h"
#include "support/raw_files.h"
#include "support/recording_notifier.h"

namespace veltrano {
namespace {

constexpr const wchar_t* kProhibited =
    L"連続自動置換が禁止設定の為、この自動置換を無効とし、連続自動置換を中止しました。";
constexpr const wchar_t* kDeclined =
    L"メッセージボックスで連続自動置換の中止が選択された為、この自動置換を無効とし、連続自動置換を中止しました。";

// Real definition files in a temporary program folder; the clipboard, clock and box are fakes.
class AutoReplaceTest : public ::testing::Test, protected test::ProgramData {
protected:
    AutoReplaceTest() { EXPECT_TRUE(settings.Ini().WriteBool(section::kLog, L"UseLog", true)); }

    void Load(const std::wstring& wildcards, const std::wstring& regexes) {
        WriteUtf8TextFile(definitions.DefinitionFilePath(DefinitionKind::Wildcard, false), WideToUtf8(wildcards));
        WriteUtf8TextFile(definitions.DefinitionFilePath(DefinitionKind::Regex, false), WideToUtf8(regexes));
        const size_t reported = notifier.notifications.size();
        definitions.Reload();
        ASSERT_EQ(notifier.notifications.size(), reported);
    }
    void SetPrevention(bool on) {
        ASSERT_TRUE(settings.Ini().WriteBool(section::kClipboardReplace, L"PreventConsecutiveAutoReplace", on));
    }
    void SetLimit(int count) {
        ASSERT_TRUE(settings.Ini().WriteInt(section::kClipboardReplace, L"ReplaceContinuousCount", count));
    }

    // The log file as the lines it should hold, all of category AutoReplace.
    std::string LogText() const { return test::ReadBytes(log.LogFilePath()); }
    using LogLine = std::pair<std::wstring, std::wstring>;  // title, message
    std::string ExpectedLog(const std::vector<LogLine>& lines) const {
        std::wstring text;
        for (const auto& [title, message] : lines) text += FormatLogLine(LogCategory::AutoReplace, clock.now, title, message);
        return "\xEF\xBB\xBF" + WideToUtf8(text);
    }

    // Runs once and checks that the flag tells the same as the result.
    bool Run(const std::wstring& text) {
        const bool rewritten = autoReplace.RunAutoReplace(text, HistoryUse::Allowed);
        EXPECT_EQ(autoReplace.LastUpdateWasAutoReplace(), rewritten);
        return rewritten;
    }

    test::RecordingNotifier notifier;
    test::AnsweringQuestion question{true};
    test::FakeMonotonicClock monotonic;
    test::FakeClipboard clipboard;
    ReplacementDefinitions definitions{settings, paths, notifier, log};
    AutoReplaceGuard guard{settings, monotonic, question};
    AutoReplace autoReplace{settings, definitions, guard, clipboard, notifier, log};
};

TEST_F(AutoReplaceTest, AChangeIsWrittenNotifiedAndLogged) {
    Load(L"", L"[a]\\d{4}\t****\n");
    EXPECT_TRUE(Run(L"pin 1234"));
    EXPECT_TRUE(autoReplace.LastUpdateWasAutoReplace());
    EXPECT_EQ(clipboard.written, std::vector<std::wstring>{L"pin ****"});
    EXPECT_EQ(clipboard.writeOwners, std::vector<HWND>{nullptr}) << "written without owner";
    ASSERT_EQ(notifier.notifications.size(), 1u);
    EXPECT_EQ(notifier.notifications[0].title, L"クリップボード自動置換実行");
    EXPECT_EQ(notifier.notifications[0].body, L"置換前: pin 1234\n置換後: pin ****");
    EXPECT_EQ(notifier.notifications[0].kind, NotifyKind::Info);
    EXPECT_EQ(LogText(), ExpectedLog({{L"クリップボード自動置換実行",
                                       L"タイプ: 正規表現 / 置換定義行: [a]\\d{4}\t**** / 置換パターン: \\d{4}"
                                       L" / 置換文字列: **** / 置換前: pin 1234 / 置換後: pin ****"}}));
    EXPECT_TRUE(question.asked.empty());
}

TEST_F(AutoReplaceTest, NoChangeWritesNothingAndClearsTheFlag) {
    Load(L"[a]cat\tdog\n", L"manual\tonly\n");
    ASSERT_TRUE(Run(L"a cat"));
    EXPECT_FALSE(Run(L"a bird"));
    EXPECT_FALSE(autoReplace.LastUpdateWasAutoReplace());
    EXPECT_EQ(clipboard.written.size(), 1u);
    EXPECT_EQ(notifier.notifications.size(), 1u);
}

TEST_F(AutoReplaceTest, WithoutAutomaticDefinitionsNothingHappens) {
    Load(L"", L"");
    EXPECT_FALSE(Run(L"anything"));
    EXPECT_TRUE(clipboard.written.empty());
    EXPECT_TRUE(notifier.notifications.empty());
    EXPECT_EQ(LogText(), "");
}

TEST_F(AutoReplaceTest, DefinitionsChainWildcardsFirstAndEveryChangeIsLoggedInOrder) {
    // The regex definition stands first in its file yet sees the wildcard result; the middle
    // definition changes nothing and leaves no line.
    Load(L"[a]cat\tdog\n[a]zebra\tq\n", L"[a]dog\tcow\n");
    EXPECT_TRUE(Run(L"a cat"));
    EXPECT_EQ(clipboard.written, std::vector<std::wstring>{L"a cow"});
    ASSERT_EQ(notifier.notifications.size(), 1u);
    EXPECT_EQ(notifier.notifications[0].body, L"置換前: a cat\n置換後: a cow");
    EXPECT_EQ(LogText(), ExpectedLog({{L"クリップボード自動置換実行",
                                       L"タイプ: ワイルドカード / 置換定義行: [a]cat\tdog / 置換パターン: cat"
                                       L" / 置換文字列: dog / 置換前: a cat / 置換後: a dog"},
                                      {L"クリップボード自動置換実行",
                                       L"タイプ: 正規表現 / 置換定義行: [a]dog\tcow / 置換パターン: dog"
                                       L" / 置換文字列: cow / 置換前: a dog / 置換後: a cow"}}));
}

TEST_F(AutoReplaceTest, DefinitionsThatCancelOutLeaveNoTrace) {
    Load(L"[a]A\tB\n", L"[a]B\tA\n");
    EXPECT_FALSE(Run(L"A and A"));
    EXPECT_TRUE(clipboard.written.empty());
    EXPECT_TRUE(notifier.notifications.empty());
    EXPECT_EQ(LogText(), "");
}

TEST_F(AutoReplaceTest, WithoutNotifyAfterAutoReplaceOnlyTheLogTells) {
    ASSERT_TRUE(settings.Ini().WriteBool(section::kClipboardReplace, L"NotifyAfterAutoReplace", false));
    Load(L"[a]cat\tdog\n", L"");
    EXPECT_TRUE(Run(L"cat"));
    EXPECT_EQ(clipboard.written, std::vector<std::wstring>{L"dog"});
    EXPECT_TRUE(notifier.notifications.empty());
    EXPECT_EQ(LogText(), ExpectedLog({{L"クリップボード自動置換実行",
                                       L"タイプ: ワイルドカード / 置換定義行: [a]cat\tdog / 置換パターン: cat"
                                       L" / 置換文字列: dog / 置換前: cat / 置換後: dog"}}));
}

// A definition that feeds on its own output: each rewrite raises an update that matches again.
class AutoReplaceChainTest : public AutoReplaceTest {
protected:
    AutoReplaceChainTest() { Load(L"[a]x\txy\n", L""); }
    static LogLine FirstRewrite() {
        return {L"クリップボード自動置換実行",
                L"タイプ: ワイルドカード / 置換定義行: [a]x\txy / 置換パターン: x / 置換文字列: xy"
                L" / 置換前: x / 置換後: xy"};
    }
};

TEST_F(AutoReplaceChainTest, PreventionRefusesTheSecondLinkAndOnlyLogsIt) {
    SetPrevention(true);
    ASSERT_TRUE(Run(L"x"));
    EXPECT_FALSE(Run(L"xy"));
    EXPECT_EQ(clipboard.written, std::vector<std::wstring>{L"xy"});
    EXPECT_EQ(notifier.notifications.size(), 1u);
    EXPECT_TRUE(question.asked.empty());
    EXPECT_EQ(LogText(), ExpectedLog({FirstRewrite(),
                                      {L"クリップボード連続自動置換を中止",
                                       std::wstring(kProhibited) + L" / 置換前: xy / 置換後: xyy"}}));
}

TEST_F(AutoReplaceChainTest, NoInTheBoxRefusesTheRunAndLogsIt) {
    SetLimit(1);
    question.answer = false;
    ASSERT_TRUE(Run(L"x"));
    EXPECT_FALSE(Run(L"xy"));
    EXPECT_EQ(question.asked.size(), 1u);
    EXPECT_EQ(clipboard.written, std::vector<std::wstring>{L"xy"});
    EXPECT_EQ(notifier.notifications.size(), 1u);
    EXPECT_EQ(LogText(), ExpectedLog({FirstRewrite(),
                                      {L"クリップボード連続自動置換を中止",
                                       std::wstring(kDeclined) + L" / 置換前: xy / 置換後: xyy"}}));
}

TEST_F(AutoReplaceChainTest, YesInTheBoxGoesOn) {
    SetLimit(1);
    ASSERT_TRUE(Run(L"x"));
    EXPECT_TRUE(Run(L"xy"));
    EXPECT_EQ(question.asked.size(), 1u);
    EXPECT_EQ(clipboard.written, (std::vector<std::wstring>{L"xy", L"xyy"}));
}

TEST_F(AutoReplaceChainTest, AFailedWriteIsReportedAndNotRecordedAsARewrite) {
    SetPrevention(true);
    clipboard.succeed = false;
    EXPECT_FALSE(Run(L"x"));
    ASSERT_EQ(notifier.notifications.size(), 1u);
    EXPECT_EQ(notifier.notifications[0].title, L"クリップボード更新失敗");
    EXPECT_EQ(notifier.notifications[0].body, L"クリップボードの更新に失敗しました。");
    EXPECT_EQ(notifier.notifications[0].kind, NotifyKind::Error);
    EXPECT_EQ(LogText(), ExpectedLog({{L"クリップボード更新失敗",
                                       L"クリップボードの更新に失敗しました。 / 置換前: x / 置換後: xy"}}));

    // Had the guard recorded "xy", this copy would be a refused second link.
    clipboard.succeed = true;
    EXPECT_TRUE(Run(L"xy"));
    EXPECT_EQ(clipboard.written, std::vector<std::wstring>{L"xyy"});
}

// Backtracking that explodes on a long run of 'a' with no 'c': the bounded matcher gives up.
const std::wstring kExplodingDefinition = L"[a](a|aa)*(?=c)a\tX";
const std::wstring kLongRun(2000, L'a');

TEST_F(AutoReplaceTest, AStoppedReplaceChangesNothingAndIsReportedOnce) {
    // The wildcard definition did change the text, but a partial pass is never written.
    Load(L"[a]b\tB\n", kExplodingDefinition + L"\n");
    EXPECT_FALSE(Run(L"b" + kLongRun));
    EXPECT_TRUE(clipboard.written.empty());
    EXPECT_TRUE(question.asked.empty());
    ASSERT_EQ(notifier.notifications.size(), 1u);
    EXPECT_EQ(notifier.notifications[0].title, L"クリップボード自動置換中断");
    EXPECT_EQ(notifier.notifications[0].kind, NotifyKind::Error);
    EXPECT_EQ(notifier.notifications[0].body,
              L"次の理由で、クリップボードの自動置換を中断しました。\n\n理由：この置換定義の照合に時間が掛かりすぎます。\n"
              L"置換定義行: [a](a|aa)*(?=c)a\tX");
    EXPECT_EQ(LogText(), ExpectedLog({{L"クリップボード自動置換中断",
                                       L"タイプ: 正規表現 / 置換定義行: [a](a|aa)*(?=c)a\tX"
                                       L" / 理由: この置換定義の照合に時間が掛かりすぎます。"}}));
}

TEST_F(AutoReplaceTest, AStoppedReplaceLeavesTheGuardAlone) {
    SetLimit(1);
    Load(L"[a]go\t" + kLongRun + L"\n", L"");
    ASSERT_TRUE(Run(L"go"));

    // The update the rewrite raised would be the second link, which asks; the stop comes first.
    Load(L"", kExplodingDefinition + L"\n");
    EXPECT_FALSE(Run(kLongRun));
    EXPECT_TRUE(question.asked.empty());
    EXPECT_EQ(notifier.notifications.size(), 2u);

    // The chain is still where the accepted run left it: the next link asks.
    Load(L"", L"[a]^a\tb\n");
    EXPECT_TRUE(Run(kLongRun));
    EXPECT_EQ(question.asked.size(), 1u);
}

}  // namespace
}  // namespace veltrano
