#pragma once
// The object behind a window or dialog procedure. The creation message hands it over; it is kept
// in the window's own slot so the static procedure can call its handlers, and let go at
// WM_NCDESTROY, the window's last message, with the object's handle emptied: a late message to a
// dying window never reaches an object that may be gone.
#include <windows.h>

#include <prsht.h>

namespace veltrano {
namespace detail {

template <typename T>
T* BoundObject(HWND window, UINT message, int slot, T* created, HWND T::*handle) {
    if (created) {
        if (handle) created->*handle = window;
        ::SetWindowLongPtrW(window, slot, reinterpret_cast<LONG_PTR>(created));
        return created;
    }
    auto* self = reinterpret_cast<T*>(::GetWindowLongPtrW(window, slot));
    if (self && message == WM_NCDESTROY) {
        ::SetWindowLongPtrW(window, slot, 0);
        if (handle && self->*handle == window) self->*handle = nullptr;
        return nullptr;
    }
    return self;
}

}  // namespace detail

// For a window procedure: the object given to CreateWindowEx as its parameter. Null before
// WM_NCCREATE and from WM_NCDESTROY on; then the message goes to DefWindowProc.
template <typename T>
T* WindowObject(HWND window, UINT message, LPARAM lParam, HWND T::*handle) {
    T* created = message == WM_NCCREATE ? static_cast<T*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams)
                                        : nullptr;
    return detail::BoundObject(window, message, GWLP_USERDATA, created, handle);
}

// For a dialog procedure: the object given to DialogBoxParam as its parameter. Null before
// WM_INITDIALOG and from WM_NCDESTROY on; `handle` may be null when the object keeps none.
template <typename T>
T* DialogObject(HWND dialog, UINT message, LPARAM lParam, HWND T::*handle = nullptr) {
    T* created = message == WM_INITDIALOG ? reinterpret_cast<T*>(lParam) : nullptr;
    return detail::BoundObject(dialog, message, DWLP_USER, created, handle);
}

// For a property sheet page's procedure: the object in its PROPSHEETPAGE's lParam.
template <typename T>
T* PropertyPageObject(HWND page, UINT message, LPARAM lParam, HWND T::*handle) {
    T* created = message == WM_INITDIALOG
                     ? reinterpret_cast<T*>(reinterpret_cast<const PROPSHEETPAGEW*>(lParam)->lParam)
                     : nullptr;
    return detail::BoundObject(page, message, DWLP_USER, created, handle);
}

}  // namespace veltrano
