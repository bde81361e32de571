// The window binding and the registration owners, on real windows, the real clipboard and timers.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "base/window_binding.h"
#include "base/window_registrations.h"
#include "guard/clipboard.h"

namespace veltrano {
namespace {

struct Probe {
    HWND window = nullptr;
    std::vector<UINT> handled;

    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (auto* self = WindowObject(window, message, lParam, &Probe::window)) self->handled.push_back(message);
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
};

HWND CreateProbeWindow(Probe& probe) {
    static const ATOM windowClass = [] {
        WNDCLASSW description{};
        description.lpfnWndProc = &Probe::Proc;
        description.lpszClassName = L"VeltranoProbe";
        return ::RegisterClassW(&description);
    }();
    return ::CreateWindowExW(0, MAKEINTATOM(windowClass), L"", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, &probe);
}

// Whether the window handles `message` while its queue is pumped for up to `ms`.
bool Arrives(Probe& probe, UINT message, DWORD ms) {
    probe.handled.clear();
    for (const ULONGLONG end = ::GetTickCount64() + ms; ::GetTickCount64() < end;) {
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        MSG queued;
        while (::PeekMessageW(&queued, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&queued);
        if (std::ranges::count(probe.handled, message) > 0) return true;
    }
    return false;
}

TEST(WindowBinding, BindsAtCreationAndLetsGoAtTheLastMessage) {
    Probe probe;
    const HWND window = CreateProbeWindow(probe);
    ASSERT_TRUE(window);
    EXPECT_EQ(probe.window, window);
    EXPECT_EQ(probe.handled.front(), static_cast<UINT>(WM_NCCREATE));
    ::DestroyWindow(window);
    EXPECT_EQ(probe.window, nullptr);
    EXPECT_EQ(probe.handled.back(), static_cast<UINT>(WM_DESTROY)) << "WM_NCDESTROY reached the object";
}

TEST(WindowRegistrations, EndWithTheirOwnersAndSurviveBeingMadeAgain) {
    Probe probe;
    const HWND window = CreateProbeWindow(probe);
    ASSERT_TRUE(window);

    ClipboardListener listener = ListenToClipboard(window);
    ASSERT_TRUE(listener);
    ASSERT_TRUE(WriteClipboardText(L"heard", nullptr));
    EXPECT_TRUE(Arrives(probe, WM_CLIPBOARDUPDATE, 5000));
    listener.Reset();
    ASSERT_TRUE(WriteClipboardText(L"not heard", nullptr));
    EXPECT_FALSE(Arrives(probe, WM_CLIPBOARDUPDATE, 300));

    WindowTimer timer = StartWindowTimer(window, 7, 10);
    timer = StartWindowTimer(window, 7, 10);  // the owner takes over the same timer
    EXPECT_TRUE(Arrives(probe, WM_TIMER, 5000));
    {
        const WindowTimer ending = std::move(timer);
    }
    EXPECT_FALSE(Arrives(probe, WM_TIMER, 300));
    ::DestroyWindow(window);
}

}  // namespace
}  // namespace veltrano
