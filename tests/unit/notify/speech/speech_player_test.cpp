#include "notify/speech/speech_player.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "support/fake_speech_backends.h"
#include "support/raw_files.h"
#include "support/voicevox_engine_folder.h"

namespace veltrano {
namespace {

class SpeechPlayerTest : public ::testing::Test {
protected:
    SpeechPlayer& Player() {
        if (!player) {
            player = std::make_unique<SpeechPlayer>(std::make_unique<test::FakeAudioOutput>(records),
                                                    std::make_unique<test::FakeSynthesizer>(records), nullptr);
        }
        return *player;
    }
    std::vector<std::wstring> Played() {
        const std::lock_guard lock(records.mutex);
        return records.played;
    }
    std::vector<std::wstring> Synthesized() {
        const std::lock_guard lock(records.mutex);
        return records.synthesized;
    }

    test::SpeechRecords records;
    std::unique_ptr<SpeechPlayer> player;
};

TEST_F(SpeechPlayerTest, ListsOnlyJapaneseVoicesInOrderAndTheFirstOfTwoNamesSpeaks) {
    records.voices = {{L"Haruka", L"ja-JP"}, {L"Zira", L"en-US"}, {L"Ayumi", L"ja-jp"},
                      {L"Ichiro", L"ja-JP"}, {L"Haruka", L"ja-JP"}};
    EXPECT_EQ(Player().VoiceNames(), (std::vector<std::wstring>{L"Haruka", L"Ichiro", L"Haruka"}));

    Player().Speak(L"一", L"Haruka");
    Player().Speak(L"二", L"Ichiro");
    Player().Speak(L"三", L"");
    Player().Speak(L"四", L"Ayumi");  // not listed: the voice the synthesizer has
    EXPECT_EQ(Synthesized(), (std::vector<std::wstring>{L"一|0", L"二|3", L"三|-", L"四|-"}));
}

TEST_F(SpeechPlayerTest, WithoutAJapaneseVoiceSpeakingFails) {
    records.voices = {{L"Zira", L"en-US"}};
    EXPECT_THROW(Player().Speak(L"本文", L""), std::runtime_error);
    EXPECT_TRUE(Synthesized().empty()) << "another language's voice would read Japanese as noise";
}

TEST_F(SpeechPlayerTest, SpeechEndsWithThePlaybackAndVolumeIsKeptInRange) {
    Player().SetVolume(0.6);
    Player().SetVolume(3.0);
    EXPECT_EQ(records.volumes, (std::vector{0.6, 1.0}));

    const SpeechOutput::Ticket speech = Player().Speak(L"本文", L"");
    EXPECT_EQ(Played(), std::vector<std::wstring>{L"本文"});
    std::atomic<bool> ended{false};
    std::thread worker([&] {
        Player().WaitUntilFinished(speech);
        EXPECT_TRUE(ended) << "the wait ended before the playback did";
    });
    ended = true;
    records.Ended();
    worker.join();
}

TEST_F(SpeechPlayerTest, StopDuringSynthesisPlaysNothingAndReleasesTheWorker) {
    Player();
    std::thread worker([&] { Player().WaitUntilFinished(Player().Speak(L"待機して", L"")); });
    records.WaitUntilHolding();
    Player().Stop();
    records.Release();
    worker.join();
    EXPECT_TRUE(Played().empty()) << "a stopped text must not be heard afterwards";
    EXPECT_EQ(records.stops, 1);

    // A synthesis that finishes while the output is being stopped is not heard either.
    records.holding = records.released = false;
    std::thread racing([&] { Player().WaitUntilFinished(Player().Speak(L"待機して", L"")); });
    records.WaitUntilHolding();
    records.duringStop = [&] {
        records.Release();
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    };
    Player().Stop();
    racing.join();
    EXPECT_TRUE(Played().empty());
}

TEST_F(SpeechPlayerTest, NewerSpeechCutsOffTheOlderAndOnlyItsOwnEndFinishesIt) {
    const SpeechOutput::Ticket first = Player().Speak(L"一つ目", L"");
    const SpeechOutput::Ticket second = Player().Speak(L"二つ目", L"");
    EXPECT_EQ(Played(), (std::vector<std::wstring>{L"一つ目", L"二つ目"}));
    Player().WaitUntilFinished(first);  // cut off: returns at once

    // A later speech that fails ends only itself: the second still plays until its end.
    EXPECT_THROW(Player().Speak(L"失敗する", L""), std::runtime_error);
    std::atomic<bool> ended{false};
    std::thread worker([&] {
        Player().WaitUntilFinished(second);
        EXPECT_TRUE(ended) << "a failure of another speech ended this one";
    });
    ended = true;
    records.Ended();
    worker.join();
    EXPECT_EQ(Played().size(), 2u);
}

TEST_F(SpeechPlayerTest, OlderTextFinishingSynthesisLateIsNotPlayedOverTheNewer) {
    Player();
    std::thread older([&] { Player().WaitUntilFinished(Player().Speak(L"待機する古い方", L"")); });
    records.WaitUntilHolding();
    const SpeechOutput::Ticket newer = Player().Speak(L"新しい方", L"");
    records.Release();
    older.join();
    EXPECT_EQ(Played(), std::vector<std::wstring>{L"新しい方"});

    std::thread waiter([&] { Player().WaitUntilFinished(newer); });
    Player().Stop();
    waiter.join();
}

TEST_F(SpeechPlayerTest, StopReleasesEveryWaiterAndAfterDestructionNoEndArrives) {
    const SpeechOutput::Ticket first = Player().Speak(L"一", L"");
    const SpeechOutput::Ticket second = Player().Speak(L"二", L"");
    std::thread a([&] { Player().WaitUntilFinished(first); });
    std::thread b([&] { Player().WaitUntilFinished(second); });
    Player().Stop();
    a.join();
    b.join();

    const std::function<void()> running = records.ended;  // a call already on a platform thread
    player.reset();
    EXPECT_FALSE(records.ended) << "the end-of-playback handler outlived the player";
    running();  // finds the state it needs still there
}

// The VOICEVOX styles through the real binding on the stand-in library.
class SpeechPlayerWithVoicevox : public SpeechPlayerTest {
protected:
    // The engine is released while its library is still loaded from the folder.
    void TearDown() override { player.reset(); }
    void Start() {
        player = std::make_unique<SpeechPlayer>(std::make_unique<test::FakeAudioOutput>(records),
                                                std::make_unique<test::FakeSynthesizer>(records),
                                                std::make_unique<VoicevoxEngine>(folder.Path()));
    }
    std::vector<std::string> SynthesisCalls() const {
        std::vector<std::string> calls;
        for (const std::string& call : folder.Calls())
            if (call.starts_with("voicevox_synthesizer_tts")) calls.push_back(call);
        return calls;
    }
    static constexpr wchar_t kStyle[] = L"VOICEVOX: A(X)";

    test::EngineFolder folder;
};

TEST_F(SpeechPlayerWithVoicevox, StylesFollowTheWindowsVoicesAndTheFirstOfTwoNamesSpeaks) {
    records.voices = {{L"Haruka", L"ja-JP"}};
    folder.WriteModel(L"a.vvm", R"([{"name":"A","styles":[{"id":3,"name":"X"},{"id":8,"name":"Y"}]},)"
                                R"({"name":"A","styles":[{"id":5,"name":"X"}]}])");
    Start();
    EXPECT_EQ(Player().VoiceNames(),
              (std::vector<std::wstring>{L"Haruka", kStyle, L"VOICEVOX: A(Y)", kStyle}));

    Player().Speak(L"こんにちは", kStyle);
    ASSERT_EQ(SynthesisCalls().size(), 1u);
    EXPECT_TRUE(SynthesisCalls()[0].starts_with("voicevox_synthesizer_tts synth#1 3 ")) << SynthesisCalls()[0];
    ASSERT_EQ(Played().size(), 1u);
    EXPECT_TRUE(Played()[0].starts_with(L"WAV ")) << "VOICEVOX audio is played from its WAV bytes";
    EXPECT_TRUE(Synthesized().empty()) << "the Windows synthesizer was not asked";
}

TEST_F(SpeechPlayerWithVoicevox, RefusedSynthesisIsAFailedSpeech) {
    folder.WriteModel(L"a.vvm", R"([{"name":"A","styles":[{"id":3,"name":"X"}]}])");
    Start();
    EXPECT_THROW(Player().Speak(L"失敗します", kStyle), std::runtime_error);
    EXPECT_TRUE(Played().empty());
}

TEST_F(SpeechPlayerWithVoicevox, StopDuringSynthesisIsNotPlayedAfterwards) {
    folder.WriteModel(L"a.vvm", R"([{"name":"A","styles":[{"id":3,"name":"X"}]}])");
    Start();
    std::thread worker([&] { Player().WaitUntilFinished(Player().Speak(L"待機します", kStyle)); });
    ASSERT_TRUE(folder.AwaitFile(L"waiting"));
    Player().Stop();
    test::WriteBytes(folder.Path(L"release"), "");
    worker.join();
    EXPECT_TRUE(Played().empty());
}

TEST_F(SpeechPlayerWithVoicevox, EngineWithoutItsFilesLeavesOnlyTheWindowsVoices) {
    records.voices = {{L"Haruka", L"ja-JP"}};
    std::filesystem::remove(folder.Path(test::kDictionary));
    folder.WriteModel(L"a.vvm", R"([{"name":"A","styles":[{"id":3,"name":"X"}]}])");
    Start();
    EXPECT_EQ(Player().VoiceNames(), std::vector<std::wstring>{L"Haruka"});
    Player().Speak(L"本文", kStyle);  // a style no longer there: the Windows voice speaks
    EXPECT_EQ(Synthesized(), std::vector<std::wstring>{L"本文|-"});
}

}  // namespace
}  // namespace veltrano
