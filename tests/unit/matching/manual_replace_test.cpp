#include "matching/manual_replace.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "base/text_encoding.h"
#include "storage/text_files.h"
#include "support/fake_clipboard.h"
#include "support/program_data.h"
#include "support/raw_files.h"
#include "support/recording_notifier.h"

namespace veltrano {
namespace {

// Real definition files in a temporary program folder, a fake clipboard and the real log.
class ManualReplaceTest : public ::testing::Test, protected test::ProgramData {
protected:
    ManualReplaceTest() {
        EXPECT_TRUE(settings.Ini().WriteBool(section::kLog, L"UseLog", true));
        clock.Set(2026, 12, 6, 16, 33, 24, 45);
    }

    void Load(const std::wstring& wildcards, const std::wstring& regexes) {
        WriteUtf8TextFile(definitions.DefinitionFilePath(DefinitionKind::Wildcard, false), WideToUtf8(wildcards));
        WriteUtf8TextFile(definitions.DefinitionFilePath(DefinitionKind::Regex, false), WideToUtf8(regexes));
        definitions.Reload();
    }

    void SetNotify(bool on) {
        ASSERT_TRUE(settings.Ini().WriteBool(section::kClipboardReplace, L"NotifyAfterManualReplace", on));
    }

    std::wstring LogText() const {
        const std::string bytes = test::ReadBytes(log.LogFilePath());
        return bytes.size() < 3 ? L"" : Utf8ToWide(std::string_view(bytes).substr(3));
    }

    static std::wstring LogLine(const std::wstring& title, const std::wstring& message) {
        return L"[16:33:24.045][ManualReplace][" + title + L"]" + message + L"\r\n";
    }

    // One notification, compared whole.
    void ExpectNotified(const std::wstring& title, const std::wstring& body, NotifyKind kind) {
        ASSERT_EQ(notifier.notifications.size(), 1u);
        EXPECT_EQ(notifier.notifications[0].title, title);
        EXPECT_EQ(notifier.notifications[0].body, body);
        EXPECT_EQ(notifier.notifications[0].kind, kind);
    }

    const HWND owner = reinterpret_cast<HWND>(0x1234);
    test::RecordingNotifier notifier;
    test::FakeClipboard clipboard;
    ReplacementDefinitions definitions{settings, paths, notifier, log};
    ManualReplace manual{settings, definitions, clipboard, clipboard, notifier, log};
};

TEST_F(ManualReplaceTest, MenuNumbersWildcardItemsThenRegexItemsFromZero) {
    Load(L"cat\tdog\n[a]auto\tA\nR&D\tR and D\n", L"\\d+\tN\n[i]x  y\tz\n(a)\t$1\n");

    const MenuEntries expected{{L"【ワ】cat\tdog (&1)", 0},
                               {L"【ワ】R&&D\tR and D (&2)", 1},
                               {L"【正】\\d+\tN (&3)", 2},
                               {L"【正】[i]x y\tz (&4)", 3},
                               {L"【正】(a)\t$1 (&5)", 4}};
    EXPECT_EQ(BuildManualReplaceMenu(definitions, true), expected);
}

TEST_F(ManualReplaceTest, MenuAcceleratorsAreDigitsThenZeroThenLettersAndNoneFromTheThirtySeventh) {
    std::wstring wildcards;
    std::wstring regexes;
    for (int i = 0; i < 20; ++i) wildcards += L"w" + std::to_wstring(i) + L"\tx\n";
    for (int i = 0; i < 20; ++i) regexes += L"r" + std::to_wstring(i) + L"\tx\n";
    Load(wildcards, regexes);

    const MenuEntries menu = BuildManualReplaceMenu(definitions, true);
    ASSERT_EQ(menu.size(), 40u);
    EXPECT_EQ(menu[8], (MenuEntry{L"【ワ】w8\tx (&9)", 8}));
    EXPECT_EQ(menu[9], (MenuEntry{L"【ワ】w9\tx (&0)", 9}));
    EXPECT_EQ(menu[10], (MenuEntry{L"【ワ】w10\tx (&A)", 10}));
    EXPECT_EQ(menu[20], (MenuEntry{L"【正】r0\tx (&K)", 20}));
    EXPECT_EQ(menu[35], (MenuEntry{L"【正】r15\tx (&Z)", 35}));
    EXPECT_EQ(menu[36], (MenuEntry{L"【正】r16\tx", 36}));
    EXPECT_EQ(menu[39], (MenuEntry{L"【正】r19\tx", 39}));
}

TEST_F(ManualReplaceTest, MenuSaysWhyItIsEmpty) {
    Load(L"[a]only\tautomatic\n", L"");
    EXPECT_EQ(BuildManualReplaceMenu(definitions, true), (MenuEntries{{L"―― 置換定義無し ――", std::nullopt}}));

    Load(L"manual\tM\n", L"");
    EXPECT_EQ(BuildManualReplaceMenu(definitions, false), (MenuEntries{{L"―― 置換機能無効設定中 ――", std::nullopt}}));
}

TEST_F(ManualReplaceTest, ARegexItemReplacesTheClipboardTextAndIsNotifiedAndLogged) {
    Load(L"cat\tdog\n", L"[a]\\d\tA\n(\\d+)-(\\d+)\t$2-$1\n");
    clipboard.text = L"tel 03-1234";

    EXPECT_TRUE(manual.RunManualReplace(owner, 1));

    EXPECT_EQ(clipboard.written, std::vector<std::wstring>{L"tel 1234-03"});
    EXPECT_EQ(clipboard.readOwners, std::vector<HWND>{owner});
    EXPECT_EQ(clipboard.writeOwners, std::vector<HWND>{owner});
    ExpectNotified(L"クリップボード手動置換実行",
                   L"置換前: tel 03-1234\n置換後: tel 1234-03\nタイプ: 正規表現\n置換定義行: (\\d+)-(\\d+)\t$2-$1",
                   NotifyKind::Info);
    EXPECT_EQ(LogText(), LogLine(L"クリップボード手動置換実行",
                                 L"タイプ: 正規表現 / 置換定義行: (\\d+)-(\\d+)\t$2-$1 / 置換パターン: (\\d+)-(\\d+)"
                                 L" / 置換文字列: $2-$1 / 置換前: tel 03-1234 / 置換後: tel 1234-03"));
}

TEST_F(ManualReplaceTest, AMissIsAWarningWithIndentedLinesAndTheClipboardStaysUntouched) {
    Load(L"[i]cat\tdog\n", L"");
    clipboard.text = L"a bird";

    EXPECT_FALSE(manual.RunManualReplace(owner, 0));

    EXPECT_TRUE(clipboard.written.empty());
    ExpectNotified(L"クリップボード手動置換空振り",
                   L"手動置換の結果、元のクリップボードのテキストから変更箇所が有りません。\n\n"
                   L"\u3000タイプ: ワイルドカード\n\u3000置換定義行: [i]cat\tdog\n\u3000クリップボード内容: a bird",
                   NotifyKind::Warning);
    EXPECT_EQ(LogText(), LogLine(L"クリップボード手動置換空振り",
                                 L"タイプ: ワイルドカード / 置換定義行: [i]cat\tdog / 置換パターン: cat"
                                 L" / 置換文字列: dog / 置換前: a bird / 置換後: a bird"));
}

TEST_F(ManualReplaceTest, AnIndexWithoutDefinitionIsReportedAndNotLogged) {
    Load(L"cat\tdog\n", L"bird\tfish\n");
    clipboard.text = L"cat";

    for (size_t index : {2u, 3u, 1000u}) EXPECT_FALSE(manual.RunManualReplace(owner, index)) << index;

    EXPECT_TRUE(clipboard.readOwners.empty());
    EXPECT_TRUE(clipboard.written.empty());
    ASSERT_EQ(notifier.notifications.size(), 3u);
    EXPECT_EQ(notifier.notifications[0].title, L"クリップボード手動置換定義取得失敗");
    EXPECT_EQ(notifier.notifications[0].body, L"選択された手動置換定義の取得に失敗しました。");
    EXPECT_EQ(notifier.notifications[0].kind, NotifyKind::Error);
    EXPECT_EQ(LogText(), L"");
}

TEST_F(ManualReplaceTest, NoClipboardTextIsReportedAndLogged) {
    Load(L"cat\tdog\n", L"");

    EXPECT_FALSE(manual.RunManualReplace(owner, 0));

    EXPECT_TRUE(clipboard.written.empty());
    ExpectNotified(L"クリップボード手動置換失敗", L"クリップボードの文字列の取得に失敗しました。", NotifyKind::Error);
    EXPECT_EQ(LogText(), LogLine(L"クリップボード文字列取得失敗", L"クリップボードの文字列の取得に失敗しました。"));
}

TEST_F(ManualReplaceTest, AFailedClipboardWriteIsReportedAndLogged) {
    Load(L"cat\tdog\n", L"");
    clipboard.text = L"cat";
    clipboard.succeed = false;

    EXPECT_FALSE(manual.RunManualReplace(owner, 0));

    EXPECT_EQ(clipboard.attempts, std::vector<std::wstring>{L"dog"});
    ExpectNotified(L"クリップボード手動置換失敗", L"クリップボードの更新に失敗しました。", NotifyKind::Error);
    EXPECT_EQ(LogText(), LogLine(L"クリップボード更新失敗",
                                 L"タイプ: ワイルドカード / 置換定義行: cat\tdog / 置換パターン: cat"
                                 L" / 置換文字列: dog / 置換前: cat / 置換後: dog"));
}

TEST_F(ManualReplaceTest, WithNotificationsOffNothingIsShownButEverythingIsLogged) {
    Load(L"cat\tdog\n", L"");
    SetNotify(false);

    EXPECT_FALSE(manual.RunManualReplace(owner, 5));
    EXPECT_FALSE(manual.RunManualReplace(owner, 0));
    clipboard.text = L"cat";
    EXPECT_TRUE(manual.RunManualReplace(owner, 0));
    clipboard.text = L"bird";
    EXPECT_FALSE(manual.RunManualReplace(owner, 0));

    EXPECT_EQ(clipboard.written, std::vector<std::wstring>{L"dog"});
    EXPECT_TRUE(notifier.notifications.empty());
    const std::wstring log = LogText();
    EXPECT_NE(log.find(L"[クリップボード文字列取得失敗]"), std::wstring::npos) << WideToUtf8(log);
    EXPECT_NE(log.find(L"[クリップボード手動置換実行]"), std::wstring::npos) << WideToUtf8(log);
    EXPECT_NE(log.find(L"[クリップボード手動置換空振り]"), std::wstring::npos) << WideToUtf8(log);
}

TEST_F(ManualReplaceTest, AStoppedReplaceLeavesTheClipboardAndIsReportedUnderTheSwitch) {
    // Backtracking that explodes on a long run of 'a' with no 'z'.
    Load(L"", L"(a|aa)*(?=z)a\tx\n");
    clipboard.text = std::wstring(2000, L'a');

    EXPECT_FALSE(manual.RunManualReplace(owner, 0));

    EXPECT_TRUE(clipboard.written.empty());
    ExpectNotified(L"クリップボード手動置換中断",
                   L"次の理由で、手動置換を中断しました。クリップボードは変更していません。\n\n"
                   L"理由：この置換定義の照合に時間が掛かりすぎます。\nタイプ: 正規表現\n置換定義行: (a|aa)*(?=z)a\tx",
                   NotifyKind::Error);
    EXPECT_EQ(LogText(), LogLine(L"クリップボード手動置換中断",
                                 L"タイプ: 正規表現 / 置換定義行: (a|aa)*(?=z)a\tx / 理由: この置換定義の照合に時間が"
                                 L"掛かりすぎます。 / クリップボード内容: " + *clipboard.text));

    SetNotify(false);
    EXPECT_FALSE(manual.RunManualReplace(owner, 0));
    EXPECT_EQ(notifier.notifications.size(), 1u);
}

TEST_F(ManualReplaceTest, AnEmptyResultOfFmtNoCopyIsWrittenAsASuccess) {
    Load(L"[fmt_no_copy]q\tb\n", L"");
    clipboard.text = L"xyz";

    EXPECT_TRUE(manual.RunManualReplace(owner, 0));

    EXPECT_EQ(clipboard.written, std::vector<std::wstring>{L""});
    ExpectNotified(L"クリップボード手動置換実行",
                   L"置換前: xyz\n置換後: \nタイプ: ワイルドカード\n置換定義行: [fmt_no_copy]q\tb", NotifyKind::Info);
    EXPECT_EQ(LogText(), LogLine(L"クリップボード手動置換実行",
                                 L"タイプ: ワイルドカード / 置換定義行: [fmt_no_copy]q\tb / 置換パターン: q"
                                 L" / 置換文字列: b / 置換前: xyz / 置換後: "));
}

}  // namespace
}  // namespace veltrano
