#pragma once
// Scoped clipboard access: the clipboard is closed and global memory unlocked on every path.
#include <windows.h>

namespace veltrano {

class ClipboardOpenGuard {
public:
    explicit ClipboardOpenGuard(HWND owner) noexcept : open_(::OpenClipboard(owner) != FALSE) {}
    ~ClipboardOpenGuard() {
        if (open_) ::CloseClipboard();
    }
    ClipboardOpenGuard(const ClipboardOpenGuard&) = delete;
    ClipboardOpenGuard& operator=(const ClipboardOpenGuard&) = delete;

    bool IsOpen() const noexcept { return open_; }

private:
    bool open_;
};

template <typename T>
class GlobalLockGuard {
public:
    explicit GlobalLockGuard(HGLOBAL memory) noexcept
        : memory_(memory), data_(memory ? static_cast<T*>(::GlobalLock(memory)) : nullptr) {}
    ~GlobalLockGuard() {
        if (data_) ::GlobalUnlock(memory_);
    }
    GlobalLockGuard(const GlobalLockGuard&) = delete;
    GlobalLockGuard& operator=(const GlobalLockGuard&) = delete;

    T* Get() const noexcept { return data_; }
    explicit operator bool() const noexcept { return data_ != nullptr; }

private:
    HGLOBAL memory_;
    T* data_;
};

}  // namespace veltrano
