// Our hand-declared Windows Runtime interfaces, called through the C vtables of MinGW's own
// headers where those carry them: the method that runs must be the one the header names in that
// slot, with the arguments passed, and the interface identifiers must be the headers' own.
#include <windows.h>
#include <bcrypt.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "base/com_ptr.h"
#include "notify/speech/winrt_abi.h"
#include "notify/speech/winrt_async.h"
#include "winrt_c_twins.h"

namespace veltrano {
namespace {

using namespace winrt_abi;

struct Call {
    std::string method;
    std::vector<const void*> arguments;
    bool operator==(const Call&) const = default;
};

// A fake on the test's stack that records its last call.
template <typename Interface>
struct Recording : Interface {
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** object) override {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE GetIids(ULONG*, IID**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetRuntimeClassName(HSTRING*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetTrustLevel(TrustLevel*) override { return E_NOTIMPL; }

    HRESULT Ran(const char* method, std::initializer_list<const void*> arguments) {
        last = {method, arguments};
        return S_OK;
    }
    Interface* Self() { return this; }
    Call last;
};

const void* Number(UINT32 value) { return reinterpret_cast<const void*>(static_cast<uintptr_t>(value)); }

struct FakeSynthesizer final : Recording<ISpeechSynthesizer> {
    HRESULT STDMETHODCALLTYPE SynthesizeTextToStreamAsync(HSTRING text, IStreamOperation** operation) override {
        return Ran("SynthesizeTextToStreamAsync", {text, operation});
    }
    HRESULT STDMETHODCALLTYPE SynthesizeSsmlToStreamAsync(HSTRING ssml, void** operation) override {
        return Ran("SynthesizeSsmlToStreamAsync", {ssml, operation});
    }
    HRESULT STDMETHODCALLTYPE put_Voice(IVoiceInformation* voice) override { return Ran("put_Voice", {voice}); }
};

struct FakeInstalledVoices final : Recording<IInstalledVoicesStatic> {
    HRESULT STDMETHODCALLTYPE get_AllVoices(IVoiceInformationVectorView** voices) override {
        return Ran("get_AllVoices", {voices});
    }
};

struct FakeVoice final : Recording<IVoiceInformation> {
    HRESULT STDMETHODCALLTYPE get_DisplayName(HSTRING* name) override { return Ran("get_DisplayName", {name}); }
    HRESULT STDMETHODCALLTYPE get_Id(HSTRING* id) override { return Ran("get_Id", {id}); }
    HRESULT STDMETHODCALLTYPE get_Language(HSTRING* language) override { return Ran("get_Language", {language}); }
};

struct FakeVoices final : Recording<IVoiceInformationVectorView> {
    HRESULT STDMETHODCALLTYPE GetAt(UINT32 index, IVoiceInformation** item) override {
        return Ran("GetAt", {Number(index), item});
    }
    HRESULT STDMETHODCALLTYPE get_Size(UINT32* size) override { return Ran("get_Size", {size}); }
};

struct FakeStreamOperation final : Recording<IStreamOperation> {
    HRESULT STDMETHODCALLTYPE put_Completed(IStreamCompletedHandler* handler) override {
        return Ran("put_Completed", {handler});
    }
    HRESULT STDMETHODCALLTYPE get_Completed(IStreamCompletedHandler** handler) override {
        return Ran("get_Completed", {handler});
    }
    HRESULT STDMETHODCALLTYPE GetResults(ISpeechSynthesisStream** results) override {
        return Ran("GetResults", {results});
    }
};

struct FakeClosable final : Recording<IClosable> {
    HRESULT STDMETHODCALLTYPE Close() override { return Ran("Close", {}); }
};

TEST(WinRtAbiTwins, EveryMethodWeCallRunsFromItsHeaderSlotWithItsArguments) {
    int marker = 0;
    void* const text = &marker;  // stands for any HSTRING or object: only passed on
    void* out = nullptr;

    FakeSynthesizer synthesizer;
    EXPECT_EQ(TwinSynthesizeTextToStreamAsync(synthesizer.Self(), text, &out), S_OK);
    EXPECT_EQ(synthesizer.last, (Call{"SynthesizeTextToStreamAsync", {text, &out}}));
    FakeVoice voice;
    EXPECT_EQ(TwinPutVoice(synthesizer.Self(), voice.Self()), S_OK);
    EXPECT_EQ(synthesizer.last, (Call{"put_Voice", {voice.Self()}}));

    FakeInstalledVoices installed;
    EXPECT_EQ(TwinGetAllVoices(installed.Self(), &out), S_OK);
    EXPECT_EQ(installed.last, (Call{"get_AllVoices", {&out}}));

    EXPECT_EQ(TwinGetDisplayName(voice.Self(), &out), S_OK);
    EXPECT_EQ(voice.last, (Call{"get_DisplayName", {&out}}));
    EXPECT_EQ(TwinGetLanguage(voice.Self(), &out), S_OK);
    EXPECT_EQ(voice.last, (Call{"get_Language", {&out}}));

    FakeVoices voices;
    UINT32 size = 0;
    EXPECT_EQ(TwinVoicesGetSize(voices.Self(), &size), S_OK);
    EXPECT_EQ(voices.last, (Call{"get_Size", {&size}}));
    EXPECT_EQ(TwinVoicesGetAt(voices.Self(), 7, &out), S_OK);
    EXPECT_EQ(voices.last, (Call{"GetAt", {Number(7), &out}}));

    FakeStreamOperation operation;
    EXPECT_EQ(TwinStreamOperationPutCompleted(operation.Self(), text), S_OK);
    EXPECT_EQ(operation.last, (Call{"put_Completed", {text}}));
    EXPECT_EQ(TwinStreamOperationGetResults(operation.Self(), &out), S_OK);
    EXPECT_EQ(operation.last, (Call{"GetResults", {&out}}));

    FakeClosable closable;
    EXPECT_EQ(TwinClose(closable.Self()), S_OK);
    EXPECT_EQ(closable.last, (Call{"Close", {}}));
}

// The runtime calls our completed handler: through the header's slot, with the header's identifier.
TEST(WinRtAbiTwins, OurCompletedHandlerAnswersTheHeadersIdentifierAndSlot) {
    auto signal = ComPtr<CompletedSignal<ISpeechSynthesisStream*>>::Adopt(new CompletedSignal<ISpeechSynthesisStream*>());
    IStreamCompletedHandler* const handler = signal.Get();
    const TwinIid* const headerIid = std::find_if(kTwinIids, kTwinIids + kTwinIidCount, [](const TwinIid& entry) {
        return std::string(entry.name) == "IStreamCompletedHandler";
    });
    ASSERT_NE(headerIid, kTwinIids + kTwinIidCount);
    void* object = nullptr;
    ASSERT_EQ(TwinQueryInterface(handler, headerIid->iid, &object), S_OK);
    EXPECT_EQ(object, handler);
    handler->Release();

    EXPECT_EQ(TwinStreamCompletedInvoke(handler, nullptr, static_cast<int>(AsyncStatus::Completed)), S_OK);
    EXPECT_EQ(signal->Wait(), AsyncStatus::Completed);
}

TEST(WinRtAbiTwins, InterfaceIdentifiersAreTheHeaders) {
    const struct {
        const char* name;
        IID iid;
    } ours[] = {
        {"IStreamOperation", __uuidof(IStreamOperation)},
        {"IStreamCompletedHandler", __uuidof(IStreamCompletedHandler)},
        {"IVoiceInformationVectorView", __uuidof(IVoiceInformationVectorView)},
        {"IClosable", __uuidof(IClosable)},
        {"IVoiceInformation", __uuidof(IVoiceInformation)},
        {"IInstalledVoicesStatic", __uuidof(IInstalledVoicesStatic)},
        {"ISpeechSynthesisStream", __uuidof(ISpeechSynthesisStream)},
        {"ISpeechSynthesizer", __uuidof(ISpeechSynthesizer)},
    };
    ASSERT_EQ(kTwinIidCount, std::size(ours));
    for (size_t i = 0; i < kTwinIidCount; ++i) {
        EXPECT_EQ(std::string(kTwinIids[i].name), ours[i].name);
        EXPECT_TRUE(IsEqualGUID(*kTwinIids[i].iid, ours[i].iid)) << ours[i].name;
    }
}

// The identifier Windows gives an instance of a generic interface: the name-based (SHA-1) UUID of
// its signature in the Windows Runtime's namespace 11f47ad5-7b73-42c0-abae-878b1e16adee.
GUID GenericInstanceIid(std::string_view signature) {
    std::vector<BYTE> data{0x11, 0xf4, 0x7a, 0xd5, 0x7b, 0x73, 0x42, 0xc0,
                           0xab, 0xae, 0x87, 0x8b, 0x1e, 0x16, 0xad, 0xee};
    data.insert(data.end(), signature.begin(), signature.end());
    BYTE hash[20] = {};
    BCRYPT_ALG_HANDLE algorithm = nullptr;
    BCRYPT_HASH_HANDLE hashing = nullptr;
    EXPECT_EQ(::BCryptOpenAlgorithmProvider(&algorithm, BCRYPT_SHA1_ALGORITHM, nullptr, 0), 0);
    EXPECT_EQ(::BCryptCreateHash(algorithm, &hashing, nullptr, 0, nullptr, 0, 0), 0);
    EXPECT_EQ(::BCryptHashData(hashing, data.data(), static_cast<ULONG>(data.size()), 0), 0);
    EXPECT_EQ(::BCryptFinishHash(hashing, hash, sizeof hash, 0), 0);
    ::BCryptDestroyHash(hashing);
    ::BCryptCloseAlgorithmProvider(algorithm, 0);
    hash[6] = static_cast<BYTE>((hash[6] & 0x0f) | 0x50);
    hash[8] = static_cast<BYTE>((hash[8] & 0x3f) | 0x80);
    GUID iid{};
    iid.Data1 = (DWORD{hash[0]} << 24) | (DWORD{hash[1]} << 16) | (DWORD{hash[2]} << 8) | hash[3];
    iid.Data2 = static_cast<WORD>((hash[4] << 8) | hash[5]);
    iid.Data3 = static_cast<WORD>((hash[6] << 8) | hash[7]);
    std::copy(hash + 8, hash + 16, iid.Data4);
    return iid;
}

// The generic instances' identifiers derived from their signatures; the three MinGW carries prove
// the derivation, the others (no header has them) are proved by it.
TEST(WinRtAbiTwins, GenericInstanceIdentifiersAreDerivedFromTheirSignatures) {
    constexpr char kAsyncOperation[] = "pinterface({9fc2b0bb-e446-44e2-aa61-9cab8f636af2};";
    constexpr char kCompletedHandler[] = "pinterface({fcdcf02c-e5d8-4478-915a-4d90b74b83a5};";
    constexpr char kStream[] = "rc(Windows.Media.SpeechSynthesis.SpeechSynthesisStream;{83e46e93-244c-4622-ba0b-6229c4d0d65d}))";
    const struct {
        const char* name;
        std::string signature;
        IID iid;
    } instances[] = {
        {"IStreamOperation", kAsyncOperation + std::string(kStream), __uuidof(IStreamOperation)},
        {"IStreamCompletedHandler", kCompletedHandler + std::string(kStream), __uuidof(IStreamCompletedHandler)},
        {"IVoiceInformationVectorView",
         "pinterface({bbe1fa4c-b0e3-4583-baef-1f1b2e483e56};"
         "rc(Windows.Media.SpeechSynthesis.VoiceInformation;{b127d6a4-1291-4604-aa9c-83134083352c}))",
         __uuidof(IVoiceInformationVectorView)},
        {"IUInt32Operation", kAsyncOperation + std::string("u4)"), __uuidof(IUInt32Operation)},
        {"IUInt32CompletedHandler", kCompletedHandler + std::string("u4)"), __uuidof(IUInt32CompletedHandler)},
        {"IMediaPlayerEventHandler",
         "pinterface({9de1c534-6ae1-11e0-84e1-18a905bcc53f};"
         "rc(Windows.Media.Playback.MediaPlayer;{381a83cb-6fff-499b-8d64-2885dfc1249e});cinterface(IInspectable))",
         __uuidof(IMediaPlayerEventHandler)},
    };
    for (const auto& instance : instances) {
        EXPECT_TRUE(IsEqualGUID(GenericInstanceIid(instance.signature), instance.iid)) << instance.name;
    }
}

}  // namespace
}  // namespace veltrano
