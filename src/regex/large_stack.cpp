#include "regex/large_stack.h"

#include <windows.h>
#include <process.h>

#include <climits>
#include <cstdint>
#include <exception>
#include <stdexcept>

#include "base/unique_any.h"

namespace veltrano {
namespace {

struct ThreadWork {
    const std::function<void()>* work;
    std::exception_ptr error;
};

unsigned __stdcall RunThreadWork(void* argument) {
    auto* context = static_cast<ThreadWork*>(argument);
    // Nothing may escape a thread: hand the exception to the waiting caller.
    try {
        (*context->work)();
    } catch (...) {
        context->error = std::current_exception();
    }
    return 0;
}

}  // namespace

void RunWithStackReserve(size_t reserveBytes, const std::function<void()>& work) {
    if (reserveBytes > UINT_MAX) throw std::invalid_argument("RunWithStackReserve: stack reserve too large");
    ThreadWork context{&work, nullptr};
    // _beginthreadex (not CreateThread) so the C runtime's per-thread data is freed at exit;
    // STACK_SIZE_PARAM_IS_A_RESERVATION makes the size a reserve, not a commit.
    const uintptr_t raw = ::_beginthreadex(nullptr, static_cast<unsigned>(reserveBytes), &RunThreadWork, &context,
                                           STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
    if (raw == 0) throw std::runtime_error("Failed to start a thread for matching");
    const UniqueHandle thread(reinterpret_cast<HANDLE>(raw));
    ::WaitForSingleObject(thread.Get(), INFINITE);
    if (context.error) std::rethrow_exception(context.error);
}

}  // namespace veltrano
