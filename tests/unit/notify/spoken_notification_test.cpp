// The dispatcher with the real speech player on recording backends: a notification is spoken
// in full, and closing its box silences it and lets the speech worker end.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "dispatcher_fixture.h"
#include "notify/speech/speech_player.h"
#include "support/fake_speech_backends.h"

namespace veltrano {
namespace {

class SpokenNotification : public test::NotificationDispatcherTest {
protected:
    // The player's fakes write into `speech` until the player is gone (its destructor stops the
    // output), so the player must go with `player`, before `speech`, not with the dispatcher.
    ~SpokenNotification() override { dispatcher.AttachSpeech(nullptr); }

    // True once only this test and the dispatcher hold the player: every worker that used it has ended.
    bool WorkersEnded() {
        for (int i = 0; i < 500 && player.use_count() > 2; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(20));
        return player.use_count() == 2;
    }

    test::SpeechRecords speech;
    std::shared_ptr<SpeechPlayer> player = std::make_shared<SpeechPlayer>(
        std::make_unique<test::FakeAudioOutput>(speech), std::make_unique<test::FakeSynthesizer>(speech), nullptr);
};

TEST_F(SpokenNotification, ClosingTheBoxOfVoiceAndBoxModeStopsTheVoice) {
    SetMode(L"4");
    Store(L"VoiceVolume", L"40");
    recorder->HoldBoxes();
    dispatcher.AttachSpeech(player);

    dispatcher.Notify(L"本文", L"題名", NotifyKind::Info);
    WaitForOneBox();
    speech.WaitUntilPlayed();
    EXPECT_EQ(speech.played, std::vector<std::wstring>{L"タイトル、題名。本文、本文"});
    EXPECT_EQ(speech.volumes, std::vector<double>{0.4});
    EXPECT_EQ(speech.stops, 0);

    recorder->ReleaseBoxes();
    EXPECT_TRUE(WorkersEnded()) << "the speech worker still waits after the box was closed";
    EXPECT_EQ(speech.stops, 1);
}

TEST_F(SpokenNotification, VoiceOnlyWorkerEndsWithThePlayback) {
    SetMode(L"2");
    dispatcher.AttachSpeech(player);
    dispatcher.Notify(L"本文", L"題名", NotifyKind::Info);
    speech.WaitUntilPlayed();
    speech.Ended();
    EXPECT_TRUE(WorkersEnded());
    EXPECT_EQ(speech.stops, 0);
}

}  // namespace
}  // namespace veltrano
