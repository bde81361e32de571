#include <mutex>
#include <stdexcept>

#include "notify/speech/winrt_async.h"
#include "notify/speech/winrt_audio_clip.h"
#include "notify/speech/winrt_speech.h"

namespace veltrano {
namespace {

using namespace winrt_abi;

constexpr wchar_t kSynthesizerClass[] = L"Windows.Media.SpeechSynthesis.SpeechSynthesizer";

class WindowsSpeechSynthesizer final : public SpeechSynthesizerBackend {
public:
    WindowsSpeechSynthesizer()
        : synthesizer_(ActivateAs<ISpeechSynthesizer>(kSynthesizerClass)),
          installed_(RuntimeClassFactory<IInstalledVoicesStatic>(kSynthesizerClass)) {}

    std::vector<InstalledVoice> AllVoices() override {
        const std::lock_guard lock(mutex_);
        return ReadVoices();
    }

    std::unique_ptr<AudioClip> Synthesize(const std::wstring& text, std::optional<std::size_t> voice) override {
        // One synthesis at a time: the chosen voice is state of the shared synthesizer.
        const std::lock_guard lock(mutex_);
        if (voice) {
            if (*voice >= voices_.size()) ReadVoices();  // not listed yet in this instance
            if (*voice >= voices_.size()) throw std::out_of_range("no installed voice has this index");
            CheckHresult(synthesizer_->put_Voice(voices_[*voice].Get()), "choosing the speech voice");
        }
        const UniqueHstring words = MakeHstring(text);
        ComPtr<IStreamOperation> operation;
        CheckHresult(synthesizer_->SynthesizeTextToStreamAsync(words.Get(), operation.Put()), "starting speech synthesis");
        ComPtr<ISpeechSynthesisStream> speech;
        AwaitResults(operation.Get(), speech.Put(), "speech synthesis");

        auto clip = std::make_unique<WinRtAudioClip>();
        ComPtr<IContentTypeProvider> typed;
        CheckHresult(speech.As(typed), "asking the speech stream for its content type");
        clip->contentType = ReadHstring(typed.Get(), &IContentTypeProvider::get_ContentType, "reading the speech's content type");
        CheckHresult(speech.As(clip->stream), "asking the speech stream for random access");
        return clip;
    }

private:
    // Keeps the voice objects, so that an index from the list picks the same voice.
    std::vector<InstalledVoice> ReadVoices() {
        ComPtr<IVoiceInformationVectorView> all;
        CheckHresult(installed_->get_AllVoices(all.Put()), "listing the installed voices");
        UINT32 count = 0;
        CheckHresult(all->get_Size(&count), "counting the installed voices");
        std::vector<ComPtr<IVoiceInformation>> voices;
        std::vector<InstalledVoice> described;
        for (UINT32 index = 0; index < count; ++index) {
            ComPtr<IVoiceInformation> voice;
            CheckHresult(all->GetAt(index, voice.Put()), "reading an installed voice");
            described.push_back({ReadHstring(voice.Get(), &IVoiceInformation::get_DisplayName, "reading a voice's name"),
                                 ReadHstring(voice.Get(), &IVoiceInformation::get_Language, "reading a voice's language")});
            voices.push_back(std::move(voice));
        }
        voices_ = std::move(voices);
        return described;
    }

    std::mutex mutex_;
    ComPtr<ISpeechSynthesizer> synthesizer_;
    ComPtr<IInstalledVoicesStatic> installed_;
    std::vector<ComPtr<IVoiceInformation>> voices_;
};

}  // namespace

std::unique_ptr<SpeechSynthesizerBackend> CreateWindowsSpeechSynthesizer() {
    return std::make_unique<WindowsSpeechSynthesizer>();
}

}  // namespace veltrano
