#pragma once
// Calls through the C vtables of MinGW's own Windows Runtime headers, which carry the C form of
// some interfaces we declare by hand; objects and strings pass as opaque pointers.
#include <windows.h>

#ifdef __cplusplus
extern "C" {
#endif

HRESULT TwinSynthesizeTextToStreamAsync(void* synthesizer, void* text, void** operation);
HRESULT TwinPutVoice(void* synthesizer, void* voice);
HRESULT TwinGetAllVoices(void* installedVoicesStatic, void** voices);
HRESULT TwinGetDisplayName(void* voice, void** name);
HRESULT TwinGetLanguage(void* voice, void** language);
HRESULT TwinVoicesGetSize(void* voices, UINT32* size);
HRESULT TwinVoicesGetAt(void* voices, UINT32 index, void** voice);
HRESULT TwinStreamOperationPutCompleted(void* operation, void* handler);
HRESULT TwinStreamOperationGetResults(void* operation, void** stream);
HRESULT TwinStreamCompletedInvoke(void* handler, void* operation, int status);
HRESULT TwinClose(void* closable);
HRESULT TwinQueryInterface(void* object, const GUID* iid, void** result);

// The interface identifiers of the headers, by our interface names.
typedef struct {
    const char* name;
    const GUID* iid;
} TwinIid;
extern const TwinIid kTwinIids[];
extern const size_t kTwinIidCount;

#ifdef __cplusplus
}
#endif
