#pragma once
// A synthesizer and an audio output that only record, for the speech player's rules. A clip
// is the text it was made from; the test plays the platform by calling Ended().
#include <condition_variable>
#include <functional>
#include <mutex>
#include <stdexcept>
#include <string>
#include <vector>

#include "notify/speech/speech_backends.h"

namespace veltrano::test {

struct TextClip final : AudioClip {
    explicit TextClip(std::wstring text) : text(std::move(text)) {}
    std::wstring text;
};

// Shared by the fakes, so a test keeps hold of it after the player took the fakes over.
struct SpeechRecords {
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<InstalledVoice> voices{{L"Haruka", L"ja-JP"}};
    std::vector<std::wstring> synthesized;  // "text|voice index or -"
    std::vector<std::wstring> played;       // the clips' texts
    std::vector<double> volumes;
    int stops = 0;
    std::function<void()> ended;
    std::function<void()> duringStop;  // runs inside Stop, as a platform that takes its time
    // A text containing this throws from Synthesize; one containing `holdMarker` waits for Release().
    std::wstring failMarker = L"失敗";
    std::wstring holdMarker = L"待機";
    bool holding = false;  // a synthesis waits now
    bool released = false;

    void Ended() {
        std::function<void()> handler;
        {
            const std::lock_guard lock(mutex);
            handler = ended;
        }
        if (handler) handler();
    }
    void WaitUntilPlayed() {
        std::unique_lock lock(mutex);
        changed.wait(lock, [&] { return !played.empty(); });
    }
    void WaitUntilHolding() {
        std::unique_lock lock(mutex);
        changed.wait(lock, [&] { return holding; });
    }
    void Release() {
        const std::lock_guard lock(mutex);
        released = true;
        changed.notify_all();
    }
};

class FakeSynthesizer final : public SpeechSynthesizerBackend {
public:
    explicit FakeSynthesizer(SpeechRecords& records) : records_(records) {}
    std::vector<InstalledVoice> AllVoices() override { return records_.voices; }
    std::unique_ptr<AudioClip> Synthesize(const std::wstring& text, std::optional<std::size_t> voice) override {
        std::unique_lock lock(records_.mutex);
        records_.synthesized.push_back(text + L"|" + (voice ? std::to_wstring(*voice) : L"-"));
        if (text.find(records_.failMarker) != std::wstring::npos) throw std::runtime_error("synthesis failed");
        if (text.find(records_.holdMarker) != std::wstring::npos) {
            records_.holding = true;
            records_.changed.notify_all();
            records_.changed.wait(lock, [&] { return records_.released; });
        }
        return std::make_unique<TextClip>(text);
    }

private:
    SpeechRecords& records_;
};

class FakeAudioOutput final : public AudioOutput {
public:
    explicit FakeAudioOutput(SpeechRecords& records) : records_(records) {}
    void SetEndedHandler(std::function<void()> ended) override {
        const std::lock_guard lock(records_.mutex);
        records_.ended = std::move(ended);
    }
    void SetVolume(double volume) override {
        const std::lock_guard lock(records_.mutex);
        records_.volumes.push_back(volume);
    }
    std::unique_ptr<AudioClip> ClipFromWav(const std::vector<std::uint8_t>& wav) override {
        return std::make_unique<TextClip>(L"WAV " + std::to_wstring(wav.size()) + L" bytes");
    }
    void Play(std::unique_ptr<AudioClip> clip) override {
        const std::lock_guard lock(records_.mutex);
        records_.played.push_back(dynamic_cast<TextClip&>(*clip).text);
        records_.changed.notify_all();
    }
    void Stop() noexcept override {
        std::function<void()> during;
        {
            const std::lock_guard lock(records_.mutex);
            ++records_.stops;
            during = records_.duringStop;
        }
        if (during) during();
    }

private:
    SpeechRecords& records_;
};

}  // namespace veltrano::test
