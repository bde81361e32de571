#pragma once
// Runs work on a fresh thread with a large reserved stack, so deep regex recursion gets room
// that the UI thread's stack does not have. Only the touched pages are committed, and the
// thread is created per call so they are released afterwards (about 1 ms per call).
#include <cstddef>
#include <functional>
#include <optional>
#include <type_traits>
#include <utility>

namespace veltrano {

// A guarded ".*" takes about 370 bytes per character: lines of some 700,000 characters fit.
inline constexpr size_t kLargeStackReserve = size_t{256} * 1024 * 1024;

// Runs `work` on a new thread whose stack reserve is `reserveBytes` and waits for it.
// An exception from `work` is rethrown here; std::runtime_error when no thread can start,
// std::invalid_argument for a reserve of 4 GiB or more.
void RunWithStackReserve(size_t reserveBytes, const std::function<void()>& work);

template <typename F>
auto RunOnLargeStack(F&& work) -> std::invoke_result_t<F&> {
    using Result = std::invoke_result_t<F&>;
    if constexpr (std::is_void_v<Result>) {
        RunWithStackReserve(kLargeStackReserve, [&] { work(); });
    } else {
        std::optional<Result> result;
        RunWithStackReserve(kLargeStackReserve, [&] { result.emplace(work()); });
        return std::move(*result);
    }
}

}  // namespace veltrano
