#include <windows.h>

#include <gtest/gtest.h>

#include <stdexcept>
#include <thread>

#include "base/clipboard_guards.h"
#include "base/com_apartment.h"
#include "base/dc_owners.h"
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

    UniqueHandle filled(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    const HANDLE old = filled.Get();
    HANDLE* slot = filled.Put();
    EXPECT_FALSE(IsOpenHandle(old)) << "Put closes what was held before it is filled again";
    *slot = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    EXPECT_TRUE(filled);
}

TEST(SelectedObject, PutsThePreviousObjectBack) {
    const UniqueHdc dc(::CreateCompatibleDC(nullptr));
    const HGDIOBJ before = ::GetCurrentObject(dc.Get(), OBJ_FONT);
    const HGDIOBJ font = ::GetStockObject(SYSTEM_FIXED_FONT);
    ASSERT_NE(before, font);
    {
        const SelectedObject selected(dc.Get(), font);
        EXPECT_EQ(::GetCurrentObject(dc.Get(), OBJ_FONT), font);
    }
    EXPECT_EQ(::GetCurrentObject(dc.Get(), OBJ_FONT), before);
}

TEST(ComApartment, LeavesOnlyWhatItJoined) {
    // On a thread of its own: the test runner's thread may be in an apartment already.
    std::thread([] {
        {
            const ComApartment outer(COINIT_MULTITHREADED);
            const ComApartment inner(COINIT_MULTITHREADED);
            const ComApartment other(COINIT_APARTMENTTHREADED);
            EXPECT_EQ(outer.Result(), S_OK);
            EXPECT_EQ(inner.Result(), S_FALSE);
            EXPECT_EQ(other.Result(), RPC_E_CHANGED_MODE);
            EXPECT_TRUE(other.Usable());
        }
        // Each successful join was left once: the thread is in no apartment now.
        const ComApartment again(COINIT_APARTMENTTHREADED);
        EXPECT_EQ(again.Result(), S_OK);
    }).join();
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
