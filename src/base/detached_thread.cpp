#include "base/detached_thread.h"

#include <process.h>
#include <windows.h>

#include <cerrno>
#include <memory>
#include <system_error>

#include "base/unique_any.h"

namespace veltrano {
namespace {

unsigned __stdcall RunWorker(void* parameter) {
    const std::unique_ptr<std::function<void()>> work(static_cast<std::function<void()>*>(parameter));
    try {
        (*work)();
    } catch (...) {
        ::OutputDebugStringW(L"Veltrano: a worker failed\n");
    }
    return 0;
}

}  // namespace

void StartDetachedThread(std::function<void()> work) {
    auto parameter = std::make_unique<std::function<void()>>(std::move(work));
    const uintptr_t thread = ::_beginthreadex(nullptr, 0, &RunWorker, parameter.get(), 0, nullptr);
    if (thread == 0) throw std::system_error(errno, std::generic_category(), "a worker thread could not start");
    parameter.release();  // the worker owns it now
    const UniqueHandle handle(reinterpret_cast<HANDLE>(thread));  // closing it leaves the thread running
}

}  // namespace veltrano
