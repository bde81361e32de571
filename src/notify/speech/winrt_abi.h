#pragma once
// The few Windows Runtime interfaces the speech backends call, declared at the ABI level.
// MinGW's own headers for these namespaces do not compile with g++ 12 or do not exist.
// Every interface lists all its slots up to the last one we call, in metadata order; a slot we
// never call keeps its name but a placeholder parameter.
// Where MinGW's headers carry an interface's C form (windows.foundation.h,
// windows.media.speechsynthesis.h), a unit test calls our declaration through the header's C
// vtable and compares identifiers; the others say below where their slot order comes from.
#include <windows.h>
#include <asyncinfo.h>
#include <eventtoken.h>
#include <inspectable.h>

namespace veltrano::winrt_abi {

static_assert(sizeof(AsyncStatus) == 4);
static_assert(sizeof(EventRegistrationToken) == 8);
static_assert(sizeof(HSTRING) == sizeof(void*));

// Windows.Foundation ---------------------------------------------------------------------------

template <typename T>
struct IAsyncOperation;

// Delegates are plain IUnknown: Invoke is slot 3.
template <typename T>
struct IAsyncOperationCompletedHandler : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Invoke(IAsyncOperation<T>* operation, AsyncStatus status) = 0;
};

// Windows.Foundation.IAsyncOperation`1: Completed (put, get), GetResults. The UINT32 instance's
// identifier is derived from the signature "pinterface({9fc2b0bb-e446-44e2-aa61-9cab8f636af2};u4)".
template <typename T>
struct IAsyncOperation : IInspectable {
    virtual HRESULT STDMETHODCALLTYPE put_Completed(IAsyncOperationCompletedHandler<T>* handler) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Completed(IAsyncOperationCompletedHandler<T>** handler) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetResults(T* results) = 0;
};

template <typename T>
struct IVectorView : IInspectable {
    virtual HRESULT STDMETHODCALLTYPE GetAt(UINT32 index, T* item) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Size(UINT32* size) = 0;
};

struct IClosable : IInspectable {
    virtual HRESULT STDMETHODCALLTYPE Close() = 0;
};

// Windows.Storage.Streams ----------------------------------------------------------------------

// Windows.Storage.Streams.IOutputStream: only passed on, no slot called.
struct IOutputStream : IInspectable {};

// Windows.Storage.Streams.IRandomAccessStream, metadata order: Size (get, put), GetInputStreamAt,
// GetOutputStreamAt, Position (get), Seek, CloneStream, CanRead, CanWrite (the last three unused).
struct IRandomAccessStream : IInspectable {
    virtual HRESULT STDMETHODCALLTYPE get_Size(UINT64* size) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Size(UINT64 size) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetInputStreamAt(UINT64 position, void** stream) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetOutputStreamAt(UINT64 position, IOutputStream** stream) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Position(UINT64* position) = 0;
    virtual HRESULT STDMETHODCALLTYPE Seek(UINT64 position) = 0;
};

// Windows.Storage.Streams.IContentTypeProvider: ContentType (get), its only member.
struct IContentTypeProvider : IInspectable {
    virtual HRESULT STDMETHODCALLTYPE get_ContentType(HSTRING* contentType) = 0;
};

// Windows.Storage.Streams.IDataWriter, metadata order: UnstoredBufferLength (get), UnicodeEncoding
// and ByteOrder (get, put), the Write methods from WriteByte to WriteTimeSpan, WriteString,
// MeasureString, StoreAsync, FlushAsync, DetachBuffer, DetachStream: all its members.
struct IDataWriter : IInspectable {
    virtual HRESULT STDMETHODCALLTYPE get_UnstoredBufferLength(UINT32* length) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_UnicodeEncoding(void* encoding) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_UnicodeEncoding(INT32 encoding) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_ByteOrder(void* order) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_ByteOrder(INT32 order) = 0;
    virtual HRESULT STDMETHODCALLTYPE WriteByte(BYTE value) = 0;
    // The array is only read; const is the same ABI.
    virtual HRESULT STDMETHODCALLTYPE WriteBytes(UINT32 length, const BYTE* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE WriteBuffer(void* buffer) = 0;
    virtual HRESULT STDMETHODCALLTYPE WriteBufferRange(void* buffer, UINT32 start, UINT32 count) = 0;
    virtual HRESULT STDMETHODCALLTYPE WriteBoolean(BYTE value) = 0;
    virtual HRESULT STDMETHODCALLTYPE WriteGuid(GUID value) = 0;
    virtual HRESULT STDMETHODCALLTYPE WriteInt16(INT16 value) = 0;
    virtual HRESULT STDMETHODCALLTYPE WriteInt32(INT32 value) = 0;
    virtual HRESULT STDMETHODCALLTYPE WriteInt64(INT64 value) = 0;
    virtual HRESULT STDMETHODCALLTYPE WriteUInt16(UINT16 value) = 0;
    virtual HRESULT STDMETHODCALLTYPE WriteUInt32(UINT32 value) = 0;
    virtual HRESULT STDMETHODCALLTYPE WriteUInt64(UINT64 value) = 0;
    virtual HRESULT STDMETHODCALLTYPE WriteSingle(FLOAT value) = 0;
    virtual HRESULT STDMETHODCALLTYPE WriteDouble(DOUBLE value) = 0;
    virtual HRESULT STDMETHODCALLTYPE WriteDateTime(INT64 value) = 0;
    virtual HRESULT STDMETHODCALLTYPE WriteTimeSpan(INT64 value) = 0;
    virtual HRESULT STDMETHODCALLTYPE WriteString(HSTRING value, UINT32* codeUnitCount) = 0;
    virtual HRESULT STDMETHODCALLTYPE MeasureString(HSTRING value, UINT32* codeUnitCount) = 0;
    virtual HRESULT STDMETHODCALLTYPE StoreAsync(IAsyncOperation<UINT32>** operation) = 0;
    virtual HRESULT STDMETHODCALLTYPE FlushAsync(void** operation) = 0;
    virtual HRESULT STDMETHODCALLTYPE DetachBuffer(void** buffer) = 0;
    virtual HRESULT STDMETHODCALLTYPE DetachStream(IOutputStream** stream) = 0;
};

// Windows.Storage.Streams.IDataWriterFactory: CreateDataWriter, its only member.
struct IDataWriterFactory : IInspectable {
    virtual HRESULT STDMETHODCALLTYPE CreateDataWriter(IOutputStream* stream, IDataWriter** writer) = 0;
};

// Windows.Media.SpeechSynthesis ----------------------------------------------------------------

struct IVoiceInformation : IInspectable {
    virtual HRESULT STDMETHODCALLTYPE get_DisplayName(HSTRING* name) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Id(HSTRING* id) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Language(HSTRING* language) = 0;
};

struct IInstalledVoicesStatic : IInspectable {
    virtual HRESULT STDMETHODCALLTYPE get_AllVoices(IVectorView<IVoiceInformation*>** voices) = 0;
};

// The stream also answers IRandomAccessStream and IContentTypeProvider.
struct ISpeechSynthesisStream : IInspectable {};

struct ISpeechSynthesizer : IInspectable {
    virtual HRESULT STDMETHODCALLTYPE SynthesizeTextToStreamAsync(
        HSTRING text, IAsyncOperation<ISpeechSynthesisStream*>** operation) = 0;
    virtual HRESULT STDMETHODCALLTYPE SynthesizeSsmlToStreamAsync(HSTRING ssml, void** operation) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Voice(IVoiceInformation* voice) = 0;
};

// Windows.Media.Core and Windows.Media.Playback ------------------------------------------------

// Windows.Media.Playback.IMediaPlaybackSource and Windows.Media.Core.IMediaSource2: no members
// called; their identifiers are asked for.
struct IMediaPlaybackSource : IInspectable {};
struct IMediaSource2 : IInspectable {};

// Windows.Media.Core.IMediaSourceStatics, metadata order (the Windows SDK's
// windows.media.core.idl lists the same): CreateFromAdaptiveMediaSource,
// CreateFromMediaStreamSource, CreateFromMseStreamSource, CreateFromIMediaSource,
// CreateFromStorageFile, CreateFromStream, then CreateFromStreamReference and CreateFromUri (unused).
struct IMediaSourceStatics : IInspectable {
    virtual HRESULT STDMETHODCALLTYPE CreateFromAdaptiveMediaSource(void* source, void** result) = 0;
    virtual HRESULT STDMETHODCALLTYPE CreateFromMediaStreamSource(void* source, void** result) = 0;
    virtual HRESULT STDMETHODCALLTYPE CreateFromMseStreamSource(void* source, void** result) = 0;
    virtual HRESULT STDMETHODCALLTYPE CreateFromIMediaSource(void* source, void** result) = 0;
    virtual HRESULT STDMETHODCALLTYPE CreateFromStorageFile(void* file, void** result) = 0;
    virtual HRESULT STDMETHODCALLTYPE CreateFromStream(IRandomAccessStream* stream, HSTRING contentType,
                                                       IMediaSource2** result) = 0;
};

struct IMediaPlayer;

// Windows.Foundation.TypedEventHandler`2<MediaPlayer, Object>: Invoke; the identifier is derived
// from its parameterized signature.
struct IMediaPlayerEventHandler : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Invoke(IMediaPlayer* sender, IInspectable* args) = 0;
};

// Windows.Media.Playback.IMediaPlayer, metadata order (the Windows SDK's
// windows.media.playback.idl lists the same): the properties from AutoPlay to
// PlaybackMediaMarkers, the ten events (add, remove) from MediaOpened to BufferingEnded, Play,
// Pause, then SetUriSource (unused).
struct IMediaPlayer : IInspectable {
    virtual HRESULT STDMETHODCALLTYPE get_AutoPlay(boolean* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_AutoPlay(boolean value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_NaturalDuration(INT64* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Position(INT64* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Position(INT64 value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_BufferingProgress(DOUBLE* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_CurrentState(INT32* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_CanSeek(boolean* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_CanPause(boolean* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_IsLoopingEnabled(boolean* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_IsLoopingEnabled(boolean value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_IsProtected(boolean* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_IsMuted(boolean* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_IsMuted(boolean value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_PlaybackRate(DOUBLE* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_PlaybackRate(DOUBLE value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Volume(DOUBLE* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Volume(DOUBLE value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_PlaybackMediaMarkers(void** value) = 0;
    virtual HRESULT STDMETHODCALLTYPE add_MediaOpened(void* handler, EventRegistrationToken* token) = 0;
    virtual HRESULT STDMETHODCALLTYPE remove_MediaOpened(EventRegistrationToken token) = 0;
    virtual HRESULT STDMETHODCALLTYPE add_MediaEnded(IMediaPlayerEventHandler* handler,
                                                     EventRegistrationToken* token) = 0;
    virtual HRESULT STDMETHODCALLTYPE remove_MediaEnded(EventRegistrationToken token) = 0;
    virtual HRESULT STDMETHODCALLTYPE add_MediaFailed(void* handler, EventRegistrationToken* token) = 0;
    virtual HRESULT STDMETHODCALLTYPE remove_MediaFailed(EventRegistrationToken token) = 0;
    virtual HRESULT STDMETHODCALLTYPE add_CurrentStateChanged(void* handler, EventRegistrationToken* token) = 0;
    virtual HRESULT STDMETHODCALLTYPE remove_CurrentStateChanged(EventRegistrationToken token) = 0;
    virtual HRESULT STDMETHODCALLTYPE add_PlaybackMediaMarkerReached(void* handler, EventRegistrationToken* token) = 0;
    virtual HRESULT STDMETHODCALLTYPE remove_PlaybackMediaMarkerReached(EventRegistrationToken token) = 0;
    virtual HRESULT STDMETHODCALLTYPE add_MediaPlayerRateChanged(void* handler, EventRegistrationToken* token) = 0;
    virtual HRESULT STDMETHODCALLTYPE remove_MediaPlayerRateChanged(EventRegistrationToken token) = 0;
    virtual HRESULT STDMETHODCALLTYPE add_VolumeChanged(void* handler, EventRegistrationToken* token) = 0;
    virtual HRESULT STDMETHODCALLTYPE remove_VolumeChanged(EventRegistrationToken token) = 0;
    virtual HRESULT STDMETHODCALLTYPE add_SeekCompleted(void* handler, EventRegistrationToken* token) = 0;
    virtual HRESULT STDMETHODCALLTYPE remove_SeekCompleted(EventRegistrationToken token) = 0;
    virtual HRESULT STDMETHODCALLTYPE add_BufferingStarted(void* handler, EventRegistrationToken* token) = 0;
    virtual HRESULT STDMETHODCALLTYPE remove_BufferingStarted(EventRegistrationToken token) = 0;
    virtual HRESULT STDMETHODCALLTYPE add_BufferingEnded(void* handler, EventRegistrationToken* token) = 0;
    virtual HRESULT STDMETHODCALLTYPE remove_BufferingEnded(EventRegistrationToken token) = 0;
    virtual HRESULT STDMETHODCALLTYPE Play() = 0;
    virtual HRESULT STDMETHODCALLTYPE Pause() = 0;
};

// Windows.Media.Playback.IMediaPlayerSource2: Source (get, put), its only members.
struct IMediaPlayerSource2 : IInspectable {
    virtual HRESULT STDMETHODCALLTYPE get_Source(IMediaPlaybackSource** source) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Source(IMediaPlaybackSource* source) = 0;
};

// The generic instances in use; each has an identifier of its own.
using IStreamOperation = IAsyncOperation<ISpeechSynthesisStream*>;
using IStreamCompletedHandler = IAsyncOperationCompletedHandler<ISpeechSynthesisStream*>;
using IUInt32Operation = IAsyncOperation<UINT32>;
using IUInt32CompletedHandler = IAsyncOperationCompletedHandler<UINT32>;
using IVoiceInformationVectorView = IVectorView<IVoiceInformation*>;

}  // namespace veltrano::winrt_abi

// Interface identifiers for __uuidof (MinGW's mechanism; it lives in the global namespace).

__CRT_UUID_DECL(veltrano::winrt_abi::IStreamOperation, 0xdf9d48ad, 0x9cea, 0x560c, 0x9e, 0xdc, 0xcb, 0x88, 0x52, 0xcb, 0x55, 0xe3)
__CRT_UUID_DECL(veltrano::winrt_abi::IStreamCompletedHandler, 0xc972b996, 0x6165, 0x50d4, 0xaf, 0x60, 0xa8, 0xc3, 0xdf, 0x51, 0xd0, 0x92)
__CRT_UUID_DECL(veltrano::winrt_abi::IUInt32Operation, 0xef60385f, 0xbe78, 0x584b, 0xaa, 0xef, 0x78, 0x29, 0xad, 0xa2, 0xb0, 0xde)
__CRT_UUID_DECL(veltrano::winrt_abi::IUInt32CompletedHandler, 0x9343b6e7, 0xe3d2, 0x5e4a, 0xab, 0x2d, 0x2b, 0xce, 0x49, 0x19, 0xa6, 0xa4)
__CRT_UUID_DECL(veltrano::winrt_abi::IVoiceInformationVectorView, 0xee8d63ce, 0x51ac, 0x5984, 0x89, 0x1b, 0xd2, 0x32, 0xfa, 0x7f, 0x64, 0x53)
__CRT_UUID_DECL(veltrano::winrt_abi::IClosable, 0x30d5a829, 0x7fa4, 0x4026, 0x83, 0xbb, 0xd7, 0x5b, 0xae, 0x4e, 0xa9, 0x9e)
__CRT_UUID_DECL(veltrano::winrt_abi::IOutputStream, 0x905a0fe6, 0xbc53, 0x11df, 0x8c, 0x49, 0x00, 0x1e, 0x4f, 0xc6, 0x86, 0xda)
__CRT_UUID_DECL(veltrano::winrt_abi::IRandomAccessStream, 0x905a0fe1, 0xbc53, 0x11df, 0x8c, 0x49, 0x00, 0x1e, 0x4f, 0xc6, 0x86, 0xda)
__CRT_UUID_DECL(veltrano::winrt_abi::IContentTypeProvider, 0x97d098a5, 0x3b99, 0x4de9, 0x88, 0xa5, 0xe1, 0x1d, 0x2f, 0x50, 0xc7, 0x95)
__CRT_UUID_DECL(veltrano::winrt_abi::IDataWriter, 0x64b89265, 0xd341, 0x4922, 0xb3, 0x8a, 0xdd, 0x4a, 0xf8, 0x80, 0x8c, 0x4e)
__CRT_UUID_DECL(veltrano::winrt_abi::IDataWriterFactory, 0x338c67c2, 0x8b84, 0x4c2b, 0x9c, 0x50, 0x7b, 0x87, 0x67, 0x84, 0x7a, 0x1f)
__CRT_UUID_DECL(veltrano::winrt_abi::IVoiceInformation, 0xb127d6a4, 0x1291, 0x4604, 0xaa, 0x9c, 0x83, 0x13, 0x40, 0x83, 0x35, 0x2c)
__CRT_UUID_DECL(veltrano::winrt_abi::IInstalledVoicesStatic, 0x7d526ecc, 0x7533, 0x4c3f, 0x85, 0xbe, 0x88, 0x8c, 0x2b, 0xae, 0xeb, 0xdc)
__CRT_UUID_DECL(veltrano::winrt_abi::ISpeechSynthesisStream, 0x83e46e93, 0x244c, 0x4622, 0xba, 0x0b, 0x62, 0x29, 0xc4, 0xd0, 0xd6, 0x5d)
__CRT_UUID_DECL(veltrano::winrt_abi::ISpeechSynthesizer, 0xce9f7c76, 0x97f4, 0x4ced, 0xad, 0x68, 0xd5, 0x1c, 0x45, 0x8e, 0x45, 0xc6)
__CRT_UUID_DECL(veltrano::winrt_abi::IMediaPlaybackSource, 0xef9dc2bc, 0x9317, 0x4696, 0xb0, 0x51, 0x2b, 0xad, 0x64, 0x31, 0x77, 0xb5)
__CRT_UUID_DECL(veltrano::winrt_abi::IMediaSource2, 0x2eb61048, 0x655f, 0x4c37, 0xb8, 0x13, 0xb4, 0xe4, 0x5d, 0xfa, 0x0a, 0xbe)
__CRT_UUID_DECL(veltrano::winrt_abi::IMediaSourceStatics, 0xf77d6fa4, 0x4652, 0x410e, 0xb1, 0xd8, 0xe9, 0xa5, 0xe2, 0x45, 0xa4, 0x5c)
__CRT_UUID_DECL(veltrano::winrt_abi::IMediaPlayerEventHandler, 0xf1a6a51e, 0xd078, 0x5c40, 0xba, 0x3f, 0x34, 0x88, 0x70, 0xba, 0x5c, 0x87)
__CRT_UUID_DECL(veltrano::winrt_abi::IMediaPlayer, 0x381a83cb, 0x6fff, 0x499b, 0x8d, 0x64, 0x28, 0x85, 0xdf, 0xc1, 0x24, 0x9e)
__CRT_UUID_DECL(veltrano::winrt_abi::IMediaPlayerSource2, 0x82449b9f, 0x7322, 0x4c0b, 0xb0, 0x3b, 0x3e, 0x69, 0xa4, 0x82, 0x60, 0xc5)
