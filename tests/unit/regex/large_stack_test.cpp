#include "regex/large_stack.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <stdexcept>
#include <utility>

namespace veltrano {
namespace {

size_t StackReserveOfThisThread() {
    ULONG_PTR low = 0;
    ULONG_PTR high = 0;
    ::GetCurrentThreadStackLimits(&low, &high);
    return high - low;
}

TEST(RunOnLargeStack, RunsOnAThreadWithTheLargeReserveAndReturnsTheResult) {
    const DWORD caller = ::GetCurrentThreadId();
    const auto [reserve, thread] =
        RunOnLargeStack([] { return std::pair(StackReserveOfThisThread(), ::GetCurrentThreadId()); });
    EXPECT_GE(reserve, kLargeStackReserve);
    EXPECT_NE(thread, caller);
}

TEST(RunOnLargeStack, RethrowsTheExceptionInTheCaller) {
    try {
        RunOnLargeStack([] { throw std::invalid_argument("from the matching thread"); });
        FAIL() << "nothing thrown";
    } catch (const std::invalid_argument& error) {
        EXPECT_STREQ(error.what(), "from the matching thread");
    }
}

TEST(RunWithStackReserve, UsesTheGivenReserve) {
    size_t reserve = 0;
    RunWithStackReserve(1024 * 1024, [&] { reserve = StackReserveOfThisThread(); });
    EXPECT_GE(reserve, size_t{1024 * 1024});
    EXPECT_LT(reserve, size_t{4 * 1024 * 1024});
}

}  // namespace
}  // namespace veltrano
