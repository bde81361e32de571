// Compiled as C: MinGW's headers give the C form of these interfaces, slot by slot, only there.
#include <initguid.h>

#include <windows.h>
#include <windows.foundation.h>
#include <windows.media.speechsynthesis.h>

#include "winrt_c_twins.h"

typedef __x_ABI_CWindows_CMedia_CSpeechSynthesis_CISpeechSynthesizer Synthesizer;
typedef __x_ABI_CWindows_CMedia_CSpeechSynthesis_CIInstalledVoicesStatic InstalledVoicesStatic;
typedef __x_ABI_CWindows_CMedia_CSpeechSynthesis_CIVoiceInformation VoiceInformation;
typedef __x_ABI_CWindows_CMedia_CSpeechSynthesis_CISpeechSynthesisStream SpeechSynthesisStream;
typedef __FIVectorView_1_Windows__CMedia__CSpeechSynthesis__CVoiceInformation VoiceVector;
typedef __FIAsyncOperation_1_Windows__CMedia__CSpeechSynthesis__CSpeechSynthesisStream StreamOperation;
typedef __FIAsyncOperationCompletedHandler_1_Windows__CMedia__CSpeechSynthesis__CSpeechSynthesisStream StreamCompleted;
typedef __x_ABI_CWindows_CFoundation_CIClosable Closable;

HRESULT TwinSynthesizeTextToStreamAsync(void* synthesizer, void* text, void** operation) {
    Synthesizer* self = synthesizer;
    return self->lpVtbl->SynthesizeTextToStreamAsync(self, text, (StreamOperation**)operation);
}

HRESULT TwinPutVoice(void* synthesizer, void* voice) {
    Synthesizer* self = synthesizer;
    return self->lpVtbl->put_Voice(self, voice);
}

HRESULT TwinGetAllVoices(void* installedVoicesStatic, void** voices) {
    InstalledVoicesStatic* self = installedVoicesStatic;
    return self->lpVtbl->get_AllVoices(self, (VoiceVector**)voices);
}

HRESULT TwinGetDisplayName(void* voice, void** name) {
    VoiceInformation* self = voice;
    return self->lpVtbl->get_DisplayName(self, (HSTRING*)name);
}

HRESULT TwinGetLanguage(void* voice, void** language) {
    VoiceInformation* self = voice;
    return self->lpVtbl->get_Language(self, (HSTRING*)language);
}

HRESULT TwinVoicesGetSize(void* voices, UINT32* size) {
    VoiceVector* self = voices;
    return self->lpVtbl->get_Size(self, size);
}

HRESULT TwinVoicesGetAt(void* voices, UINT32 index, void** voice) {
    VoiceVector* self = voices;
    return self->lpVtbl->GetAt(self, index, (VoiceInformation**)voice);
}

HRESULT TwinStreamOperationPutCompleted(void* operation, void* handler) {
    StreamOperation* self = operation;
    return self->lpVtbl->put_Completed(self, handler);
}

HRESULT TwinStreamOperationGetResults(void* operation, void** stream) {
    StreamOperation* self = operation;
    // The header declares one pointer level too many here; the slot takes where to put the stream.
    return self->lpVtbl->GetResults(self, (SpeechSynthesisStream***)stream);
}

HRESULT TwinStreamCompletedInvoke(void* handler, void* operation, int status) {
    StreamCompleted* self = handler;
    return self->lpVtbl->Invoke(self, operation, (AsyncStatus)status);
}

HRESULT TwinClose(void* closable) {
    Closable* self = closable;
    return self->lpVtbl->Close(self);
}

HRESULT TwinQueryInterface(void* object, const GUID* iid, void** result) {
    IUnknown* self = object;
    return self->lpVtbl->QueryInterface(self, iid, result);
}

const TwinIid kTwinIids[] = {
    {"IStreamOperation", &IID___FIAsyncOperation_1_Windows__CMedia__CSpeechSynthesis__CSpeechSynthesisStream},
    {"IStreamCompletedHandler",
     &IID___FIAsyncOperationCompletedHandler_1_Windows__CMedia__CSpeechSynthesis__CSpeechSynthesisStream},
    {"IVoiceInformationVectorView", &IID___FIVectorView_1_Windows__CMedia__CSpeechSynthesis__CVoiceInformation},
    {"IClosable", &IID___x_ABI_CWindows_CFoundation_CIClosable},
    {"IVoiceInformation", &IID___x_ABI_CWindows_CMedia_CSpeechSynthesis_CIVoiceInformation},
    {"IInstalledVoicesStatic", &IID___x_ABI_CWindows_CMedia_CSpeechSynthesis_CIInstalledVoicesStatic},
    {"ISpeechSynthesisStream", &IID___x_ABI_CWindows_CMedia_CSpeechSynthesis_CISpeechSynthesisStream},
    {"ISpeechSynthesizer", &IID___x_ABI_CWindows_CMedia_CSpeechSynthesis_CISpeechSynthesizer},
};
const size_t kTwinIidCount = sizeof kTwinIids / sizeof kTwinIids[0];
