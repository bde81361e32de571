#include <windows.h>
#include <roapi.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <system_error>
#include <thread>

#include "base/com_ptr.h"
#include "notify/speech/winrt_abi.h"
#include "notify/speech/winrt_async.h"
#include "notify/speech/winrt_runtime.h"
#include "notify/speech/winrt_speech.h"

namespace veltrano {
namespace {

using namespace winrt_abi;

std::string HexHresult(HRESULT result) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08lX", static_cast<unsigned long>(static_cast<DWORD>(result)));
    return text;
}

// An object on the test's stack that counts its references instead of deleting itself.
class CountedObject final : public IAgileObject {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (iid == __uuidof(IUnknown) || iid == __uuidof(IAgileObject)) {
            *object = static_cast<IAgileObject*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
    ULONG STDMETHODCALLTYPE Release() override { return --references; }

    ULONG references = 1;  // the test's own
};

TEST(ComPtr, ReleasesOnceAcrossMoves) {
    CountedObject object;
    {
        auto first = ComPtr<IAgileObject>::Retain(&object);
        EXPECT_EQ(object.references, 2u);
        ComPtr<IAgileObject> second(std::move(first));
        EXPECT_FALSE(first);
        EXPECT_EQ(second.Get(), &object);
        ComPtr<IAgileObject> third;
        third = std::move(second);
        EXPECT_EQ(object.references, 2u) << "moving takes no reference";
    }
    EXPECT_EQ(object.references, 1u);
}

TEST(ComPtr, OutReleasesWhatWasHeldAndDetachHandsOver) {
    CountedObject object;
    auto owner = ComPtr<IAgileObject>::Retain(&object);
    *owner.Put() = nullptr;
    EXPECT_EQ(object.references, 1u);
    object.AddRef();
    owner.Attach(&object);
    EXPECT_EQ(owner.Detach(), &object);
    EXPECT_FALSE(owner);
    EXPECT_EQ(object.references, 2u) << "a detached reference belongs to the caller";
    object.Release();
}

TEST(ComPtr, AsAsksTheObjectForAnotherInterface) {
    CountedObject object;
    auto agile = ComPtr<IAgileObject>::Retain(&object);
    ComPtr<IUnknown> unknown;
    EXPECT_EQ(agile.As(unknown), S_OK);
    EXPECT_EQ(unknown.Get(), static_cast<IUnknown*>(&object));
    ComPtr<IInspectable> inspectable;
    EXPECT_EQ(agile.As(inspectable), E_NOINTERFACE);
    EXPECT_FALSE(inspectable);
    unknown.Reset();
    agile.Reset();
    EXPECT_EQ(object.references, 1u);
    ComPtr<IUnknown> empty;
    EXPECT_EQ(agile.As(empty), E_POINTER);
}

// Reads the vtable slot out of a pointer to a virtual member (g++: 1 + byte offset), so the
// hand-written declarations are checked against the runtime's metadata order.
template <typename Class, typename Method>
std::size_t SlotOf(Method Class::*method) {
    struct {
        std::uintptr_t function;
        std::ptrdiff_t adjustment;
    } raw{};
    static_assert(sizeof method == sizeof raw);
    std::memcpy(&raw, &method, sizeof raw);
    EXPECT_EQ(raw.function & 1u, 1u) << "not a virtual member";
    return raw.function / sizeof(void*);
}

TEST(WinRtAbi, SlotsFollowTheMetadataOrder) {
    EXPECT_EQ(SlotOf(&ISpeechSynthesizer::SynthesizeTextToStreamAsync), 6u);
    EXPECT_EQ(SlotOf(&ISpeechSynthesizer::put_Voice), 8u);
    EXPECT_EQ(SlotOf(&IInstalledVoicesStatic::get_AllVoices), 6u);
    EXPECT_EQ(SlotOf(&IVoiceInformation::get_DisplayName), 6u);
    EXPECT_EQ(SlotOf(&IVoiceInformation::get_Language), 8u);
    EXPECT_EQ(SlotOf(&IVoiceInformationVectorView::GetAt), 6u);
    EXPECT_EQ(SlotOf(&IVoiceInformationVectorView::get_Size), 7u);
    EXPECT_EQ(SlotOf(&IStreamOperation::put_Completed), 6u);
    EXPECT_EQ(SlotOf(&IStreamOperation::GetResults), 8u);
    EXPECT_EQ(SlotOf(&IStreamCompletedHandler::Invoke), 3u);
    EXPECT_EQ(SlotOf(&IUInt32Operation::GetResults), 8u);
    EXPECT_EQ(SlotOf(&IUInt32CompletedHandler::Invoke), 3u);
    EXPECT_EQ(SlotOf(&IContentTypeProvider::get_ContentType), 6u);
    EXPECT_EQ(SlotOf(&IClosable::Close), 6u);
    EXPECT_EQ(SlotOf(&IRandomAccessStream::GetOutputStreamAt), 9u);
    EXPECT_EQ(SlotOf(&IRandomAccessStream::Seek), 11u);
    EXPECT_EQ(SlotOf(&IDataWriterFactory::CreateDataWriter), 6u);
    EXPECT_EQ(SlotOf(&IDataWriter::WriteBytes), 12u);
    EXPECT_EQ(SlotOf(&IDataWriter::StoreAsync), 29u);
    EXPECT_EQ(SlotOf(&IDataWriter::DetachStream), 32u);
    EXPECT_EQ(SlotOf(&IMediaSourceStatics::CreateFromStream), 11u);
    EXPECT_EQ(SlotOf(&IMediaPlayerSource2::put_Source), 7u);
    EXPECT_EQ(SlotOf(&IMediaPlayerEventHandler::Invoke), 3u);
    EXPECT_EQ(SlotOf(&IMediaPlayer::put_Volume), 23u);
    EXPECT_EQ(SlotOf(&IMediaPlayer::add_MediaEnded), 27u);
    EXPECT_EQ(SlotOf(&IMediaPlayer::remove_MediaEnded), 28u);
    EXPECT_EQ(SlotOf(&IMediaPlayer::Play), 45u);
    EXPECT_EQ(SlotOf(&IMediaPlayer::Pause), 46u);
}

TEST(WinRtDelegate, AnswersItsOwnInterfaceIUnknownAndIAgileObjectOnly) {
    auto signal = ComPtr<CompletedSignal<UINT32>>::Adopt(new CompletedSignal<UINT32>());
    IUInt32CompletedHandler* const handler = signal.Get();
    for (const IID& iid : {__uuidof(IUInt32CompletedHandler), __uuidof(IUnknown), __uuidof(IAgileObject)}) {
        void* object = nullptr;
        EXPECT_EQ(handler->QueryInterface(iid, &object), S_OK);
        EXPECT_EQ(object, handler);
        if (object) handler->Release();
    }
    for (const IID& iid : {__uuidof(IInspectable), __uuidof(IStreamCompletedHandler), __uuidof(IAsyncInfo),
                           __uuidof(IMarshal)}) {
        void* object = &signal;
        EXPECT_EQ(handler->QueryInterface(iid, &object), E_NOINTERFACE);
        EXPECT_EQ(object, nullptr);
    }
    EXPECT_EQ(handler->QueryInterface(__uuidof(IUnknown), nullptr), E_POINTER);
}

class ProbeDelegate final : public Delegate<IMediaPlayerEventHandler> {
public:
    explicit ProbeDelegate(bool& destroyed) : destroyed_(destroyed) {}
    ~ProbeDelegate() override { destroyed_ = true; }
    HRESULT STDMETHODCALLTYPE Invoke(IMediaPlayer*, IInspectable*) override { return S_OK; }

private:
    bool& destroyed_;
};

TEST(WinRtDelegate, CountsReferencesAndDeletesItselfAtZero) {
    bool destroyed = false;
    IMediaPlayerEventHandler* const handler = new ProbeDelegate(destroyed);
    EXPECT_EQ(handler->AddRef(), 2u);
    IUnknown* unknown = nullptr;
    ASSERT_EQ(handler->QueryInterface(__uuidof(IUnknown), reinterpret_cast<void**>(&unknown)), S_OK);
    EXPECT_EQ(unknown->Release(), 2u);
    EXPECT_EQ(handler->Release(), 1u);
    EXPECT_FALSE(destroyed);
    EXPECT_EQ(handler->Release(), 0u);
    EXPECT_TRUE(destroyed);
}

enum class Finish { BeforeTheWait, InsidePutCompleted, LaterOnAnotherThread };

// An IAsyncOperation<UINT32> (and its IAsyncInfo) that finishes the way a test asks. It lives on
// the test's stack; its worker keeps the handler a while after completing, as the runtime may.
class FakeUInt32Operation final : public IUInt32Operation, public IAsyncInfo {
public:
    FakeUInt32Operation(Finish finish, AsyncStatus outcome, HRESULT error = S_OK)
        : finish_(finish), outcome_(outcome), error_(error) {
        if (finish == Finish::BeforeTheWait) status_ = outcome;
    }
    ~FakeUInt32Operation() {
        if (worker_.joinable()) worker_.join();
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (iid == __uuidof(IUnknown) || iid == __uuidof(IInspectable) || iid == __uuidof(IUInt32Operation)) {
            *object = static_cast<IUInt32Operation*>(this);
        } else if (iid == __uuidof(IAsyncInfo)) {
            *object = static_cast<IAsyncInfo*>(this);
        } else {
            *object = nullptr;
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override { return --references_; }
    HRESULT STDMETHODCALLTYPE GetIids(ULONG*, IID**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetRuntimeClassName(HSTRING*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetTrustLevel(TrustLevel*) override { return E_NOTIMPL; }

    HRESULT STDMETHODCALLTYPE put_Completed(IUInt32CompletedHandler* handler) override {
        ++putCompletedCalls;
        auto kept = ComPtr<IUInt32CompletedHandler>::Retain(handler);
        if (finish_ == Finish::InsidePutCompleted) {
            Complete(kept.Get());
            return S_OK;
        }
        worker_ = std::thread([this, kept = std::move(kept)]() mutable {
            ::Sleep(50);
            Complete(kept.Get());
            ::Sleep(50);
            kept.Reset();
        });
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_Completed(IUInt32CompletedHandler**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetResults(UINT32* results) override {
        ++getResultsCalls;
        if (status_ != AsyncStatus::Completed) return E_UNEXPECTED;
        *results = 42;
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE get_Id(UINT32* id) override {
        *id = 1;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_Status(AsyncStatus* status) override {
        *status = status_;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_ErrorCode(HRESULT* error) override {
        *error = error_;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Cancel() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Close() override { return S_OK; }

    int putCompletedCalls = 0;
    int getResultsCalls = 0;

private:
    void Complete(IUInt32CompletedHandler* handler) {
        status_ = outcome_;
        handler->Invoke(this, outcome_);
    }

    const Finish finish_;
    const AsyncStatus outcome_;
    const HRESULT error_;
    std::atomic<AsyncStatus> status_{AsyncStatus::Started};
    std::atomic<ULONG> references_{1};
    std::thread worker_;
};

TEST(WinRtAwait, CompletionInsidePutCompletedOnTheSameThread) {
    FakeUInt32Operation operation(Finish::InsidePutCompleted, AsyncStatus::Completed);
    UINT32 result = 0;
    AwaitResults<UINT32>(&operation, &result, "storing");
    EXPECT_EQ(result, 42u);
    EXPECT_EQ(operation.putCompletedCalls, 1);
}

TEST(WinRtAwait, CompletionLaterOnAnotherThread) {
    FakeUInt32Operation operation(Finish::LaterOnAnotherThread, AsyncStatus::Completed);
    UINT32 result = 0;
    AwaitResults<UINT32>(&operation, &result, "storing");
    EXPECT_EQ(result, 42u);
    EXPECT_EQ(operation.putCompletedCalls, 1);
}

TEST(WinRtAwait, FinishedOperationNeedsNoHandler) {
    FakeUInt32Operation operation(Finish::BeforeTheWait, AsyncStatus::Completed);
    UINT32 result = 0;
    AwaitResults<UINT32>(&operation, &result, "storing");
    EXPECT_EQ(result, 42u);
    EXPECT_EQ(operation.putCompletedCalls, 0);
}

TEST(WinRtAwait, ErrorThrowsTheOperationsErrorCode) {
    for (const Finish finish : {Finish::InsidePutCompleted, Finish::LaterOnAnotherThread, Finish::BeforeTheWait}) {
        FakeUInt32Operation operation(finish, AsyncStatus::Error, E_ACCESSDENIED);
        UINT32 result = 0;
        try {
            AwaitResults<UINT32>(&operation, &result, "storing the bytes");
            ADD_FAILURE() << "no exception";
        } catch (const std::system_error& error) {
            EXPECT_EQ(error.code().value(), E_ACCESSDENIED);
            EXPECT_EQ(&error.code().category(), &HresultCategory());
            EXPECT_EQ(std::string(error.what()), "storing the bytes: HRESULT 0x80070005");
        }
        EXPECT_EQ(operation.getResultsCalls, 0);
    }
}

TEST(WinRtAwait, CancelledThrows) {
    FakeUInt32Operation operation(Finish::LaterOnAnotherThread, AsyncStatus::Canceled);
    UINT32 result = 0;
    try {
        AwaitResults<UINT32>(&operation, &result, "storing");
        ADD_FAILURE() << "no exception";
    } catch (const std::system_error& error) {
        EXPECT_EQ(error.code().value(), HRESULT_FROM_WIN32(ERROR_CANCELLED));
    }
    EXPECT_EQ(operation.getResultsCalls, 0);
}

TEST(WinRtHstring, KeepsTheTextWholeAndEmptyIsNull) {
    const std::wstring text(L"タイトル、見出し。本文、\0終わり", 16);
    const UniqueHstring owned = MakeHstring(text);
    EXPECT_EQ(HstringText(owned.Get()), text);
    const UniqueHstring empty = MakeHstring(L"");
    EXPECT_FALSE(empty);
    EXPECT_EQ(HstringText(empty.Get()), L"");
}

// The real classes: the test thread joins the multi-threaded apartment as a speech worker does.
class WinRtSpeech : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(SUCCEEDED(apartment_)) << HexHresult(apartment_); }
    void TearDown() override {
        if (SUCCEEDED(apartment_)) ::RoUninitialize();
    }

private:
    const HRESULT apartment_ = ::RoInitialize(RO_INIT_MULTITHREADED);
};

// Wine registers no media player: the output must refuse to exist and say which step failed.
TEST_F(WinRtSpeech, MediaPlayerOutputCannotBeCreatedHereAndSaysWhy) {
    try {
        CreateMediaPlayerOutput();
        ADD_FAILURE() << "the media player output was created";
    } catch (const std::system_error& error) {
        const std::string message = error.what();
        EXPECT_TRUE(FAILED(error.code().value())) << message;
        EXPECT_NE(message.find("Windows.Media.Playback.MediaPlayer"), std::string::npos) << message;
        EXPECT_NE(message.find("HRESULT " + HexHresult(error.code().value())), std::string::npos) << message;
    }
}

TEST_F(WinRtSpeech, SynthesizerActivatesAndListsItsVoices) {
    std::unique_ptr<SpeechSynthesizerBackend> synthesizer;
    ASSERT_NO_THROW(synthesizer = CreateWindowsSpeechSynthesizer());
    std::vector<InstalledVoice> voices;
    ASSERT_NO_THROW(voices = synthesizer->AllVoices());
    for (const InstalledVoice& voice : voices) EXPECT_FALSE(voice.displayName.empty());
    // Under Wine the list is empty; a voice index beyond it is refused before any synthesis.
    EXPECT_THROW(synthesizer->Synthesize(L"テスト", voices.size()), std::out_of_range);
}

}  // namespace
}  // namespace veltrano
