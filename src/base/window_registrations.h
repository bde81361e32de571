#pragma once
// Owners of what a window registers with the system and must take back before it goes: its
// clipboard listener, its session notifications, its timers. Each is a UniqueAny, so a window
// whose creation fails half-way leaves nothing registered, and a destroyed owner nothing behind.
#include <windows.h>

#include <wtsapi32.h>

#include "base/unique_any.h"

namespace veltrano {

// One timer of one window.
struct WindowTimerId {
    HWND window = nullptr;
    UINT_PTR id = 0;
    bool operator==(const WindowTimerId&) const = default;
};

namespace detail {
inline void RemoveClipboardListener(HWND window) noexcept { ::RemoveClipboardFormatListener(window); }
inline void UnregisterSessionNotification(HWND window) noexcept { ::WTSUnRegisterSessionNotification(window); }

struct WindowTimerTraits {
    using type = WindowTimerId;
    static constexpr type Invalid() noexcept { return {}; }
    static void Close(type timer) noexcept { ::KillTimer(timer.window, timer.id); }
};
}  // namespace detail

using ClipboardListener = UniqueAny<NullInvalidTraits<HWND, detail::RemoveClipboardListener>>;
using SessionNotification = UniqueAny<NullInvalidTraits<HWND, detail::UnregisterSessionNotification>>;
using WindowTimer = UniqueAny<detail::WindowTimerTraits>;

// Empty owners when the system refuses.
inline ClipboardListener ListenToClipboard(HWND window) {
    return ClipboardListener(::AddClipboardFormatListener(window) ? window : nullptr);
}
inline SessionNotification NotifySessionChanges(HWND window) {
    return SessionNotification(::WTSRegisterSessionNotification(window, NOTIFY_FOR_THIS_SESSION) ? window : nullptr);
}
// The timer `id` of `window` every `intervalMs`; started again, an owned timer only changes its interval.
inline WindowTimer StartWindowTimer(HWND window, UINT_PTR id, UINT intervalMs) {
    return WindowTimer(::SetTimer(window, id, intervalMs, nullptr) ? WindowTimerId{window, id} : WindowTimerId{});
}

}  // namespace veltrano
