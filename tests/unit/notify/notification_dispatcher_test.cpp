#include "notify/notification_dispatcher.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "dispatcher_fixture.h"

namespace veltrano {
namespace {

using test::HasCall;
using test::NotificationDispatcherTest;
using test::NotificationRecords;
using test::SpeechDone;
using test::Utf8;

// ---- The mode table ----

struct ModeCase {
    const wchar_t* stored;  // as written in the file; nullptr: key missing
    bool speechAttached;
    bool balloon;
    bool box;
    bool speech;
    bool speechFails = false;
};

void PrintTo(const ModeCase& c, std::ostream* out) {
    *out << "NotifyMode=" << (c.stored ? Utf8(c.stored) : "(missing)") << (c.speechAttached ? " with" : " without")
         << (c.speechFails ? " failing" : "") << " speech";
}

class NotifyModeTable : public NotificationDispatcherTest, public ::testing::WithParamInterface<ModeCase> {};

TEST_P(NotifyModeTable, ShowsWhatTheModeAsks) {
    const ModeCase& c = GetParam();
    if (c.stored) SetMode(c.stored);
    if (c.speechAttached) AttachSpeech(c.speechFails ? L"音声合成に失敗しました" : L"");

    dispatcher.Notify(L"本文", L"題名", NotifyKind::Info);

    // A balloon in place of failed speech comes from the speech worker.
    if (c.balloon) WaitFor([](const NotificationRecords& r) { return !r.balloons.empty(); });
    if (c.box) WaitForOneBox();
    if (c.speech) WaitFor(SpeechDone);
    const auto records = recorder->Snapshot();
    EXPECT_EQ(records.balloons.size(), c.balloon ? 1u : 0u);
    EXPECT_EQ(records.boxes.size(), c.box ? 1u : 0u);
    EXPECT_EQ(records.spoken.size(), c.speech ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(
    WithoutSpeech, NotifyModeTable,
    ::testing::Values(ModeCase{nullptr, false, true, false, false}, ModeCase{L"0", false, true, false, false},
                      ModeCase{L"1", false, false, true, false}, ModeCase{L"2", false, true, false, false},
                      ModeCase{L"3", false, true, false, false}, ModeCase{L"4", false, false, true, false},
                      ModeCase{L"7", false, false, true, false}, ModeCase{L"-1", false, true, false, false}));

INSTANTIATE_TEST_SUITE_P(
    WithSpeech, NotifyModeTable,
    ::testing::Values(ModeCase{nullptr, true, true, false, false}, ModeCase{L"0", true, true, false, false},
                      ModeCase{L"1", true, false, true, false}, ModeCase{L"2", true, false, false, true},
                      ModeCase{L"3", true, true, false, true}, ModeCase{L"4", true, false, true, true},
                      ModeCase{L"7", true, false, true, true}, ModeCase{L"-1", true, true, false, false},
                      ModeCase{L"2", true, true, false, false, true}));

TEST_F(NotificationDispatcherTest, OnlyTheFirstFallbackFromVoiceToBalloonIsLogged) {
    ASSERT_TRUE(settings.Ini().WriteBool(section::kLog, L"UseLog", true));
    SetMode(L"2");
    AttachSpeech(L"音声合成に失敗しました");
    dispatcher.Notify(L"一", L"題名", NotifyKind::Warning);
    const std::wstring line = FormatLogLine(LogCategory::Other, clock.now, L"音声読み上げ",
                                            L"音声で通知できないため、バルーンで通知しました。理由：音声合成に失敗しました");
    for (int i = 0; i < 1500 && LogText() != line; ++i) ::Sleep(20);  // written by the speech worker
    ASSERT_EQ(Utf8(LogText()), Utf8(line));

    dispatcher.AttachSpeech(nullptr);
    dispatcher.Notify(L"二", L"題名", NotifyKind::Warning);
    EXPECT_EQ(recorder->Snapshot().balloons.size(), 2u);
    EXPECT_EQ(Utf8(LogText()), Utf8(line)) << "a second fallback in the same run was logged";
}

TEST_F(NotificationDispatcherTest, ReadsModeAgainForEveryNotification) {
    SetMode(L"1");
    dispatcher.Notify(L"一", L"題名", NotifyKind::Info);
    WaitForOneBox();
    SetMode(L"0");
    dispatcher.Notify(L"二", L"題名", NotifyKind::Info);

    EXPECT_EQ(OnlyBalloon().szInfo, std::wstring(L"二"));
}

// ---- Speech ----

class SpokenModes : public NotificationDispatcherTest, public ::testing::WithParamInterface<const wchar_t*> {};

TEST_P(SpokenModes, SpeaksTitleAndBodyWithVoiceAndVolumeFromSettings) {
    SetMode(GetParam());
    Store(L"VoiceName", L"Microsoft Haruka Desktop - Japanese（春香）");
    Store(L"VoiceVolume", L"42");
    AttachSpeech();
    // In mode 4 the box stays open, so its Stop cannot mix into the calls of the speech worker.
    recorder->HoldBoxes();

    dispatcher.Notify(L"「社外秘」が含まれています", L"クリップボード検出", NotifyKind::Warning);

    const auto records = WaitFor(SpeechDone);
    ASSERT_EQ(records.spoken.size(), 1u);
    EXPECT_EQ(Utf8(records.spoken[0].text), Utf8(L"タイトル、クリップボード検出。本文、「社外秘」が含まれています"));
    EXPECT_EQ(Utf8(records.spoken[0].voiceName), Utf8(L"Microsoft Haruka Desktop - Japanese（春香）"));
    ASSERT_EQ(records.volumes.size(), 1u);
    EXPECT_DOUBLE_EQ(records.volumes[0], 0.42);
    EXPECT_EQ(records.speechCalls, (std::vector<std::wstring>{L"SetVolume", L"Speak", L"WaitUntilFinished"}));
}

INSTANTIATE_TEST_SUITE_P(Modes2To4, SpokenModes, ::testing::Values(L"2", L"3", L"4"));

TEST_F(NotificationDispatcherTest, EmptyTitleStillSpeaksBothFixedPieces) {
    SetMode(L"2");
    AttachSpeech();
    dispatcher.Notify(L"本文です", L"", NotifyKind::Info);

    const auto records = WaitFor(SpeechDone);
    ASSERT_EQ(records.spoken.size(), 1u);
    EXPECT_EQ(Utf8(records.spoken[0].text), Utf8(L"タイトル、。本文、本文です"));
    EXPECT_EQ(records.spoken[0].voiceName, L"");
}

TEST_F(NotificationDispatcherTest, DefaultVolumeIsSixtyPercentAndStoredVolumeIsClamped) {
    SetMode(L"2");
    AttachSpeech();
    dispatcher.Notify(L"一", L"", NotifyKind::Info);
    ASSERT_TRUE(recorder->WaitUntil([](const NotificationRecords& r) { return r.volumes.size() == 1; }));
    Store(L"VoiceVolume", L"250");
    dispatcher.Notify(L"二", L"", NotifyKind::Info);
    ASSERT_TRUE(recorder->WaitUntil([](const NotificationRecords& r) { return r.volumes.size() == 2; }));
    Store(L"VoiceVolume", L"-3");
    dispatcher.Notify(L"三", L"", NotifyKind::Info);
    ASSERT_TRUE(recorder->WaitUntil([](const NotificationRecords& r) { return r.volumes.size() == 3; }));

    const auto volumes = recorder->Snapshot().volumes;
    EXPECT_DOUBLE_EQ(volumes[0], 0.6);
    EXPECT_DOUBLE_EQ(volumes[1], 1.0);
    EXPECT_DOUBLE_EQ(volumes[2], 0.0);
}

TEST_F(NotificationDispatcherTest, ClosingTheBoxSilencesTheVoiceInMode4) {
    SetMode(L"4");
    AttachSpeech();
    recorder->HoldBoxes();
    dispatcher.Notify(L"本文", L"題名", NotifyKind::Info);

    ASSERT_TRUE(recorder->WaitUntil([](const NotificationRecords& r) { return !r.boxes.empty() && SpeechDone(r); }));
    EXPECT_FALSE(HasCall(recorder->Snapshot(), L"Stop")) << "speech stopped while the box was still open";

    recorder->ReleaseBoxes();
    EXPECT_TRUE(recorder->WaitUntil([](const NotificationRecords& r) { return HasCall(r, L"Stop"); }));
}

TEST_F(NotificationDispatcherTest, ClosingABoxStopsSpeechAlsoInMode1) {
    SetMode(L"1");
    AttachSpeech();
    dispatcher.Notify(L"本文", L"題名", NotifyKind::Info);

    const auto records = WaitFor([](const NotificationRecords& r) { return HasCall(r, L"Stop"); });
    EXPECT_EQ(records.speechCalls, std::vector<std::wstring>{L"Stop"});
}

// ---- Balloon ----

TEST_F(NotificationDispatcherTest, LongBodyIsCutInBalloonButWholeInBoxAndSpeech) {
    std::wstring body;
    for (int i = 0; i < 300; ++i) body += static_cast<wchar_t>(L'あ' + i % 40);

    dispatcher.Notify(body, L"題名", NotifyKind::Info);
    EXPECT_EQ(Utf8(OnlyBalloon().szInfo), Utf8(body.substr(0, 255)));

    SetMode(L"4");
    AttachSpeech();
    dispatcher.Notify(body, L"題名", NotifyKind::Info);
    EXPECT_EQ(Utf8(WaitForOneBox().text), Utf8(body));
    const auto records = WaitFor(SpeechDone);
    ASSERT_EQ(records.spoken.size(), 1u);
    EXPECT_EQ(Utf8(records.spoken[0].text), Utf8(L"タイトル、題名。本文、" + body));
}

TEST_F(NotificationDispatcherTest, LongTitleIsCutInBalloonCaptionButWholeInBox) {
    const std::wstring title(60, L'題');
    const std::wstring caption = title + L" - Veltrano";

    dispatcher.Notify(L"本文", title, NotifyKind::Info);
    EXPECT_EQ(Utf8(OnlyBalloon().szInfoTitle), Utf8(caption.substr(0, 63)));

    SetMode(L"1");
    dispatcher.Notify(L"本文", title, NotifyKind::Info);
    EXPECT_EQ(Utf8(WaitForOneBox().caption), Utf8(caption));
}

TEST_F(NotificationDispatcherTest, EmptyTitleGivesProductNameAsCaption) {
    dispatcher.Notify(L"本文", L"", NotifyKind::Info);
    EXPECT_EQ(std::wstring(OnlyBalloon().szInfoTitle), L"Veltrano");

    SetMode(L"1");
    dispatcher.Notify(L"本文", L"", NotifyKind::Info);
    EXPECT_EQ(WaitForOneBox().caption, L"Veltrano");
}

TEST_F(NotificationDispatcherTest, BalloonCutNeverSplitsASurrogatePair) {
    // U+20BB7 takes units 255 and 256; half of it would show as a broken character.
    const std::wstring body = std::wstring(254, L'あ') + L"\U00020BB7" + L"残り";
    dispatcher.Notify(body, L"題名", NotifyKind::Info);
    EXPECT_EQ(Utf8(OnlyBalloon().szInfo), Utf8(std::wstring(254, L'あ')));
}

// ---- Kinds ----

struct KindCase {
    int kind;
    DWORD balloonFlag;
    UINT boxIcon;
};

void PrintTo(const KindCase& c, std::ostream* out) { *out << "kind " << c.kind; }

class NotifyKinds : public NotificationDispatcherTest, public ::testing::WithParamInterface<KindCase> {};

TEST_P(NotifyKinds, ChooseBalloonFlagAndBoxIcon) {
    const KindCase& c = GetParam();
    dispatcher.Notify(L"本文", L"題名", static_cast<NotifyKind>(c.kind));
    EXPECT_EQ(OnlyBalloon().dwInfoFlags, c.balloonFlag);

    SetMode(L"1");
    dispatcher.Notify(L"本文", L"題名", static_cast<NotifyKind>(c.kind));
    EXPECT_EQ(WaitForOneBox().icon, c.boxIcon);
}

INSTANTIATE_TEST_SUITE_P(AllKinds, NotifyKinds,
                         ::testing::Values(KindCase{0, NIIF_INFO, MB_ICONINFORMATION},
                                           KindCase{1, NIIF_WARNING, MB_ICONWARNING},
                                           KindCase{2, NIIF_ERROR, MB_ICONERROR},
                                           KindCase{5, NIIF_INFO, MB_ICONINFORMATION},
                                           KindCase{-1, NIIF_INFO, MB_ICONINFORMATION}));

// ---- Message boxes ----

TEST_F(NotificationDispatcherTest, BoxHasNoOwnerBeforeWindowIsAttached) {
    SetMode(L"1");
    dispatcher.Notify(L"本文", L"題名", NotifyKind::Error);
    const test::ShownBox box = WaitForOneBox();
    EXPECT_EQ(box.owner, nullptr);
    EXPECT_EQ(Utf8(box.caption), Utf8(L"題名 - Veltrano"));
    EXPECT_EQ(box.icon, static_cast<UINT>(MB_ICONERROR));
}

TEST_F(NotificationDispatcherTest, TwoNotificationsInMode1GiveTwoBoxesOpenAtOnce) {
    SetMode(L"1");
    recorder->HoldBoxes();
    dispatcher.Notify(L"一つ目", L"題名", NotifyKind::Info);
    dispatcher.Notify(L"二つ目", L"題名", NotifyKind::Warning);

    // Both are recorded while neither has been closed.
    ASSERT_TRUE(recorder->WaitUntil([](const NotificationRecords& r) { return r.boxes.size() == 2; }));
    std::vector<std::wstring> texts;
    for (const auto& box : recorder->Snapshot().boxes) texts.push_back(box.text);
    std::sort(texts.begin(), texts.end());
    EXPECT_EQ(texts, (std::vector<std::wstring>{L"一つ目", L"二つ目"}));
}

// ---- Through NotifyUtf8 ----

TEST_F(NotificationDispatcherTest, NotifyUtf8ReachesTheBalloon) {
    dispatcher.NotifyUtf8("暗号化を有効にしました", "設定変更", NotifyKind::Info);
    const NOTIFYICONDATAW balloon = OnlyBalloon();
    EXPECT_EQ(Utf8(balloon.szInfo), Utf8(L"暗号化を有効にしました"));
    EXPECT_EQ(Utf8(balloon.szInfoTitle), Utf8(L"設定変更 - Veltrano"));
}

}  // namespace
}  // namespace veltrano
