#include <activation.h>

#include <functional>
#include <limits>
#include <stdexcept>
#include <utility>

#include "notify/speech/winrt_async.h"
#include "notify/speech/winrt_audio_clip.h"
#include "notify/speech/winrt_speech.h"

namespace veltrano {
namespace {

using namespace winrt_abi;

constexpr wchar_t kMediaPlayerClass[] = L"Windows.Media.Playback.MediaPlayer";
constexpr wchar_t kMediaSourceClass[] = L"Windows.Media.Core.MediaSource";
constexpr wchar_t kMemoryStreamClass[] = L"Windows.Storage.Streams.InMemoryRandomAccessStream";
constexpr wchar_t kDataWriterClass[] = L"Windows.Storage.Streams.DataWriter";

class EndedHandler final : public Delegate<IMediaPlayerEventHandler> {
public:
    explicit EndedHandler(std::function<void()> ended) : ended_(std::move(ended)) {}

    HRESULT STDMETHODCALLTYPE Invoke(IMediaPlayer*, IInspectable*) override {
        // Nothing may cross into the runtime; the callback reports its own failures.
        try {
            ended_();
            return S_OK;
        } catch (...) {
            return E_UNEXPECTED;
        }
    }

private:
    const std::function<void()> ended_;
};

class MediaPlayerOutput final : public AudioOutput {
public:
    // Every class is looked up now, so a system without them fails here and not at the first clip.
    MediaPlayerOutput()
        : player_(ActivateAs<IMediaPlayer>(kMediaPlayerClass)),
          sources_(RuntimeClassFactory<IMediaSourceStatics>(kMediaSourceClass)),
          memoryStreams_(RuntimeClassFactory<IActivationFactory>(kMemoryStreamClass)),
          writers_(RuntimeClassFactory<IDataWriterFactory>(kDataWriterClass)) {
        CheckHresult(player_.As(playerSource_), "asking the media player for its source");
    }

    ~MediaPlayerOutput() override {
        RemoveEndedHandler();
        Stop();
        ComPtr<IClosable> closable;
        if (SUCCEEDED(player_.As(closable))) closable->Close();
    }

    MediaPlayerOutput(const MediaPlayerOutput&) = delete;
    MediaPlayerOutput& operator=(const MediaPlayerOutput&) = delete;

    void SetEndedHandler(std::function<void()> ended) override {
        RemoveEndedHandler();
        if (!ended) return;
        const auto handler = ComPtr<EndedHandler>::Adopt(new EndedHandler(std::move(ended)));
        CheckHresult(player_->add_MediaEnded(handler.Get(), &endedToken_), "registering for the end of playback");
        endedRegistered_ = true;
    }

    void SetVolume(double volume) override { CheckHresult(player_->put_Volume(volume), "setting the volume"); }

    std::unique_ptr<AudioClip> ClipFromWav(const std::vector<std::uint8_t>& wav) override {
        if (wav.empty() || wav.size() > std::numeric_limits<UINT32>::max())
            throw std::invalid_argument("a WAV file must have between 1 byte and 4 GiB");
        auto clip = std::make_unique<WinRtAudioClip>();
        clip->contentType = L"audio/wav";
        ComPtr<IInspectable> memory;
        CheckHresult(memoryStreams_->ActivateInstance(memory.Put()), "creating a memory stream");
        CheckHresult(memory.As(clip->stream), "asking the memory stream for random access");

        ComPtr<IOutputStream> output;
        CheckHresult(clip->stream->GetOutputStreamAt(0, output.Put()), "opening the memory stream for writing");
        ComPtr<IDataWriter> writer;
        CheckHresult(writers_->CreateDataWriter(output.Get(), writer.Put()), "creating a data writer");
        const auto size = static_cast<UINT32>(wav.size());
        CheckHresult(writer->WriteBytes(size, wav.data()), "writing the WAV bytes");
        ComPtr<IUInt32Operation> store;
        CheckHresult(writer->StoreAsync(store.Put()), "starting to store the WAV bytes");
        UINT32 stored = 0;
        AwaitResults(store.Get(), &stored, "storing the WAV bytes");
        if (stored != size) ThrowHresult(E_UNEXPECTED, "storing the WAV bytes (stored too few)");
        // Detached, the stream outlives the writer; otherwise releasing the writer closes it.
        ComPtr<IOutputStream> detached;
        CheckHresult(writer->DetachStream(detached.Put()), "detaching the memory stream");
        CheckHresult(clip->stream->Seek(0), "rewinding the memory stream");
        return clip;
    }

    void Play(std::unique_ptr<AudioClip> clip) override {
        const auto* ours = dynamic_cast<const WinRtAudioClip*>(clip.get());
        if (!ours || !ours->stream) throw std::invalid_argument("the clip was not made for the media player");
        const UniqueHstring contentType = MakeHstring(ours->contentType);
        ComPtr<IMediaSource2> source;
        CheckHresult(sources_->CreateFromStream(ours->stream.Get(), contentType.Get(), source.Put()),
                     "creating a media source");
        ComPtr<IMediaPlaybackSource> playback;
        CheckHresult(source.As(playback), "asking the media source for playback");
        // The source keeps the stream; the clip itself may go.
        CheckHresult(playerSource_->put_Source(playback.Get()), "handing the clip to the media player");
        CheckHresult(player_->Play(), "starting playback");
    }

    void Stop() noexcept override {
        // Either call may fail on a player with nothing loaded; stopping must still go on.
        player_->Pause();
        playerSource_->put_Source(nullptr);
    }

private:
    void RemoveEndedHandler() noexcept {
        if (std::exchange(endedRegistered_, false)) player_->remove_MediaEnded(endedToken_);
    }

    ComPtr<IMediaPlayer> player_;
    ComPtr<IMediaSourceStatics> sources_;
    ComPtr<IActivationFactory> memoryStreams_;
    ComPtr<IDataWriterFactory> writers_;
    ComPtr<IMediaPlayerSource2> playerSource_;
    EventRegistrationToken endedToken_{};
    bool endedRegistered_ = false;
};

}  // namespace

std::unique_ptr<AudioOutput> CreateMediaPlayerOutput() { return std::make_unique<MediaPlayerOutput>(); }

}  // namespace veltrano
