#pragma once
// The object behind a window procedure: handed over as the creation parameter and kept in the
// window's user data from WM_NCCREATE on, so the static procedure can call its handlers.
#include <windows.h>

namespace veltrano {

// The object this window serves, or null before WM_NCCREATE; binds it at WM_NCCREATE and
// stores the handle in `T::*handle` then.
template <typename T>
T* WindowObject(HWND window, UINT message, LPARAM lParam, HWND T::*handle) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<T*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->*handle = window;
        ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        return self;
    }
    return reinterpret_cast<T*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
}

}  // namespace veltrano
