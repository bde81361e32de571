#include "app/tray_assignments.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "base/text_encoding.h"
#include "support/policy_key.h"
#include "support/program_data.h"
#include "support/raw_files.h"
#include "support/recording_notifier.h"

namespace veltrano {
namespace {

class FixTrayAssignmentsTest : public ::testing::Test, protected test::ProgramData {
protected:
    void StoreActions(int left, int right, int middle, int leftRight) {
        settings.SetTrayClick(TrayButton::Left, static_cast<TrayAction>(left));
        settings.SetTrayClick(TrayButton::Right, static_cast<TrayAction>(right));
        settings.SetTrayClick(TrayButton::Middle, static_cast<TrayAction>(middle));
        settings.SetTrayClick(TrayButton::LeftRight, static_cast<TrayAction>(leftRight));
    }
    void Fix() { FixTrayAssignments(settings, notifier, log); }

    void ExpectRepairedTo(TrayButton button, const wchar_t* buttonName) {
        EXPECT_EQ(settings.TrayClick(button), TrayAction::MainMenu);
        ASSERT_EQ(notifier.notifications.size(), 1u);
        const test::Notification& shown = notifier.notifications[0];
        EXPECT_EQ(shown.title, L"トレイ操作設定を修正しました");
        EXPECT_EQ(shown.kind, NotifyKind::Warning);
        EXPECT_EQ(shown.body, std::wstring(L"「メインメニュー表示」操作が割り当てられていなかった為、\n「") + buttonName +
                                  L"」に割り当てました。");
    }

    test::RecordingNotifier notifier;
};

TEST_F(FixTrayAssignmentsTest, DefaultsAlreadyReachTheMainMenu) {
    Fix();
    EXPECT_TRUE(notifier.notifications.empty());
    EXPECT_FALSE(std::filesystem::exists(paths.SettingsFile()));
}

TEST_F(FixTrayAssignmentsTest, AnyButtonWithTheMainMenuIsEnough) {
    StoreActions(2, 3, 4, 1);
    Fix();
    EXPECT_TRUE(notifier.notifications.empty());
    EXPECT_EQ(settings.LeftClick(), TrayAction::ManualReplaceMenu);
}

TEST_F(FixTrayAssignmentsTest, NoFreeButtonFallsBackToTheRightClick) {
    StoreActions(2, 2, 2, 2);
    Fix();
    ExpectRepairedTo(TrayButton::Right, L"右クリック");
    EXPECT_EQ(settings.LeftClick(), TrayAction::ManualReplaceMenu);
}

TEST_F(FixTrayAssignmentsTest, FirstFreeButtonInOrderIsChosen) {
    StoreActions(0, 2, 3, 4);
    Fix();
    ExpectRepairedTo(TrayButton::Left, L"左クリック");
}

TEST_F(FixTrayAssignmentsTest, MiddleAndChordNamesAndInvalidValuesCountAsFree) {
    StoreActions(2, 3, 7, 0);  // 7 reads as no action
    Fix();
    ExpectRepairedTo(TrayButton::Middle, L"中クリック");

    notifier.notifications.clear();
    StoreActions(2, 3, 4, 0);
    Fix();
    ExpectRepairedTo(TrayButton::LeftRight, L"左＋右クリック");
}

TEST_F(FixTrayAssignmentsTest, UnstoredRepairIsReportedAsAFailure) {
    StoreActions(2, 2, 2, 2);
    const UniqueFileHandle locked = test::HoldAgainstWriting(paths.SettingsFile());
    ASSERT_TRUE(locked);
    Fix();
    EXPECT_EQ(settings.RightClick(), TrayAction::ManualReplaceMenu);
    ASSERT_EQ(notifier.notifications.size(), 1u);
    EXPECT_EQ(notifier.notifications[0].title, L"トレイ操作設定の修正に失敗しました");
    EXPECT_EQ(notifier.notifications[0].kind, NotifyKind::Error);
}

// A held key "written" would not change: the repair takes a click the user owns, or says it cannot.
TEST_F(FixTrayAssignmentsTest, ClicksAPolicyHoldsAreNeverChosen) {
    test::PolicyKey policy;
    Settings held{paths.SettingsFile(), policy.root};
    StoreActions(2, 0, 3, 4);
    policy.SetDword(HKEY_CURRENT_USER, L"TrayIcon", L"RightClick", 2);
    FixTrayAssignments(held, notifier, log);
    EXPECT_EQ(held.RightClick(), TrayAction::ManualReplaceMenu);
    ExpectRepairedTo(TrayButton::Left, L"左クリック");

    notifier.notifications.clear();
    for (const wchar_t* key : {L"LeftClick", L"MiddleClick", L"LeftRightClick"}) {
        policy.SetDword(HKEY_LOCAL_MACHINE, L"TrayIcon", key, 3);
    }
    FixTrayAssignments(held, notifier, log);
    ASSERT_EQ(notifier.notifications.size(), 1u);
    EXPECT_EQ(notifier.notifications[0].title, L"トレイ操作設定の修正に失敗しました");
    EXPECT_NE(notifier.notifications[0].body.find(L"組織のポリシー"), std::wstring::npos);
}

TEST_F(FixTrayAssignmentsTest, RepairIsLoggedWhenLoggingIsOn) {
    settings.Ini().WriteBool(section::kLog, L"UseLog", true);
    StoreActions(2, 2, 2, 2);
    Fix();
    EXPECT_EQ(test::ReadBytes(log.LogFilePath()),
              "\xEF\xBB\xBF" + WideToUtf8(L"[09:05:03.007][Other][トレイ操作設定を修正しました]"
                                          L"「メインメニュー表示」操作が割り当てられていなかった為、\n"
                                          L"「右クリック」に割り当てました。\r\n"));
}

}  // namespace
}  // namespace veltrano
