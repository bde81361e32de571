#include <windows.h>

#include <gtest/gtest.h>

#include <stdexcept>

#include "base/clipboard_guards.h"
#include "base/scope_exit.h"
#include "base/unique_any.h"

namespace veltrano {
namespace {

bool IsOpenHandle(HANDLE handle) {
    DWORD flags = 0;
    return ::GetHandleInformation(handle, &flags) != FALSE;
}

TEST(UniqueHandle, ClosesExactlyOnceAcrossMoves) {
    HANDLE raw = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    {
        UniqueHandle first(raw);
        UniqueHandle second(std::move(first));
        EXPECT_FALSE(first);
        EXPECT_EQ(second.Get(), raw);
        UniqueHandle third;
        third = std::move(second);
        EXPECT_TRUE(IsOpenHandle(raw));
    }
    EXPECT_FALSE(IsOpenHandle(raw));

    HANDLE kept = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    UniqueHandle owner(kept);
    EXPECT_EQ(owner.Detach(), kept);
    owner.Reset();
    EXPECT_TRUE(IsOpenHandle(kept)) << "a released handle belongs to the caller";
    ::CloseHandle(kept);
}

TEST(UniqueFileHandle, TreatsInvalidHandleValueAsEmpty) {
    UniqueFileHandle missing(::CreateFileW(L"C:\\no\\such\\file", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    EXPECT_FALSE(missing);
    EXPECT_EQ(missing.Get(), INVALID_HANDLE_VALUE);
}

TEST(GlobalLockGuard, UnlocksOnScopeEnd) {
    UniqueHglobal memory(::GlobalAlloc(GMEM_MOVEABLE, 16));
    {
        GlobalLockGuard<wchar_t> lock(memory.Get());
        ASSERT_TRUE(lock);
        lock.Get()[0] = L'x';
        EXPECT_EQ(::GlobalFlags(memory.Get()) & GMEM_LOCKCOUNT, 1u);
    }
    EXPECT_EQ(::GlobalFlags(memory.Get()) & GMEM_LOCKCOUNT, 0u);
    EXPECT_FALSE(GlobalLockGuard<wchar_t>(nullptr));
}

TEST(ScopeExit, RunsOnExceptionsUnlessDismissed) {
    int runs = 0;
    try {
        ScopeExit count([&] { ++runs; });
        throw std::runtime_error("leaving");
    } catch (const std::runtime_error&) {
    }
    {
        ScopeExit skipped([&] { ++runs; });
        skipped.Dismiss();
    }
    EXPECT_EQ(runs, 1);
}

}  // namespace
}  // namespace veltrano
