#pragma once
// Delegates we hand to the Windows Runtime, and a blocking wait for an asynchronous operation.
// For worker threads in the multi-threaded apartment: the wait does not pump messages.
#include <windows.h>
#include <objidl.h>

#include <atomic>

#include "base/com_ptr.h"
#include "base/unique_any.h"
#include "notify/speech/winrt_abi.h"
#include "notify/speech/winrt_runtime.h"

namespace veltrano {

// Reference counting and identity of a delegate. Delegates are agile: the runtime may call them
// on any thread, and the caller's release may come after ours.
template <typename Interface>
class Delegate : public Interface {
public:
    Delegate(const Delegate&) = delete;
    Delegate& operator=(const Delegate&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (!object) return E_POINTER;
        if (iid == __uuidof(Interface) || iid == __uuidof(IUnknown) || iid == __uuidof(IAgileObject)) {
            *object = static_cast<Interface*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --references_;
        if (left == 0) delete this;
        return left;
    }

protected:
    Delegate() = default;
    virtual ~Delegate() = default;

private:
    std::atomic<ULONG> references_{1};
};

// The completed handler of one operation: records the final status and sets its own event, so
// it stays valid however late the runtime calls or releases it. Never blocks inside Invoke.
template <typename T>
class CompletedSignal final : public Delegate<winrt_abi::IAsyncOperationCompletedHandler<T>> {
public:
    CompletedSignal() : finished_(::CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
        if (!finished_) ThrowHresult(HRESULT_FROM_WIN32(::GetLastError()), "creating an event");
    }

    HRESULT STDMETHODCALLTYPE Invoke(winrt_abi::IAsyncOperation<T>*, AsyncStatus status) override {
        status_ = status;
        ::SetEvent(finished_.Get());
        return S_OK;
    }

    AsyncStatus Wait() const {
        ::WaitForSingleObject(finished_.Get(), INFINITE);
        return status_;
    }

private:
    UniqueHandle finished_;
    std::atomic<AsyncStatus> status_{AsyncStatus::Started};
};

// Blocks until `operation` has finished and stores its results; throws std::system_error with
// the operation's own error code when it failed or was cancelled.
template <typename T>
void AwaitResults(winrt_abi::IAsyncOperation<T>* operation, T* results, std::string_view step) {
    ComPtr<IAsyncInfo> info;
    CheckHresult(operation->QueryInterface(__uuidof(IAsyncInfo), info.PutVoid()), step);
    AsyncStatus status = AsyncStatus::Started;
    CheckHresult(info->get_Status(&status), step);
    if (status == AsyncStatus::Started) {
        // Completed may run before put_Completed returns, on this very thread.
        auto signal = ComPtr<CompletedSignal<T>>::Adopt(new CompletedSignal<T>());
        CheckHresult(operation->put_Completed(signal.Get()), step);
        status = signal->Wait();
    }
    if (status == AsyncStatus::Canceled) ThrowHresult(HRESULT_FROM_WIN32(ERROR_CANCELLED), step);
    if (status == AsyncStatus::Error) {
        HRESULT error = E_FAIL;
        if (FAILED(info->get_ErrorCode(&error)) || SUCCEEDED(error)) error = E_FAIL;
        ThrowHresult(error, step);
    }
    CheckHresult(operation->GetResults(results), step);
}

}  // namespace veltrano
