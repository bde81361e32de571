#pragma once
// One owner type for every Windows handle: non-copyable, movable, released exactly once. Its
// methods are named like ComPtr's (com_ptr.h).
#include <windows.h>

#include <utility>

namespace veltrano {

// Traits: `type`, `Invalid()` and `Close(type)`.
template <typename Traits>
class UniqueAny {
public:
    using Type = typename Traits::type;

    UniqueAny() noexcept = default;
    explicit UniqueAny(Type value) noexcept : value_(value) {}
    ~UniqueAny() { Reset(); }

    UniqueAny(const UniqueAny&) = delete;
    UniqueAny& operator=(const UniqueAny&) = delete;
    UniqueAny(UniqueAny&& other) noexcept : value_(other.Detach()) {}
    UniqueAny& operator=(UniqueAny&& other) noexcept {
        if (this != &other) Reset(other.Detach());
        return *this;
    }

    Type Get() const noexcept { return value_; }
    explicit operator bool() const noexcept { return value_ != Traits::Invalid(); }

    // For a function that hands out a new handle through a pointer; whatever was held is closed first.
    Type* Put() noexcept {
        Reset();
        return &value_;
    }
    Type Detach() noexcept { return std::exchange(value_, Traits::Invalid()); }
    // Taking over the value held already closes nothing: a registration made again under the same
    // window and id is the one to keep.
    void Reset(Type value = Traits::Invalid()) noexcept {
        Type old = std::exchange(value_, value);
        if (old != Traits::Invalid() && old != value) Traits::Close(old);
    }

private:
    Type value_ = Traits::Invalid();
};

template <typename T, auto CloseFn>
struct NullInvalidTraits {
    using type = T;
    static constexpr T Invalid() noexcept { return nullptr; }
    static void Close(T value) noexcept { CloseFn(value); }
};

namespace detail {
inline void CloseKernelHandle(HANDLE h) noexcept { ::CloseHandle(h); }
inline void DestroyMenuHandle(HMENU h) noexcept { ::DestroyMenu(h); }
inline void DeleteGdiObject(HGDIOBJ h) noexcept { ::DeleteObject(h); }
inline void DeleteDcHandle(HDC h) noexcept { ::DeleteDC(h); }
inline void DestroyIconHandle(HICON h) noexcept { ::DestroyIcon(h); }
inline void FreeGlobal(HGLOBAL h) noexcept { ::GlobalFree(h); }
inline void FreeLocal(HLOCAL h) noexcept { ::LocalFree(h); }

// CreateFileW reports failure as INVALID_HANDLE_VALUE, not null.
struct FileHandleTraits {
    using type = HANDLE;
    static type Invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(type h) noexcept { ::CloseHandle(h); }
};
}  // namespace detail

using UniqueHandle = UniqueAny<NullInvalidTraits<HANDLE, detail::CloseKernelHandle>>;
using UniqueFileHandle = UniqueAny<detail::FileHandleTraits>;
using UniqueHmenu = UniqueAny<NullInvalidTraits<HMENU, detail::DestroyMenuHandle>>;
using UniqueHfont = UniqueAny<NullInvalidTraits<HFONT, detail::DeleteGdiObject>>;
using UniqueHbitmap = UniqueAny<NullInvalidTraits<HBITMAP, detail::DeleteGdiObject>>;
using UniqueHbrush = UniqueAny<NullInvalidTraits<HBRUSH, detail::DeleteGdiObject>>;
using UniqueHdc = UniqueAny<NullInvalidTraits<HDC, detail::DeleteDcHandle>>;
using UniqueHicon = UniqueAny<NullInvalidTraits<HICON, detail::DestroyIconHandle>>;
using UniqueHglobal = UniqueAny<NullInvalidTraits<HGLOBAL, detail::FreeGlobal>>;
using UniqueHlocal = UniqueAny<NullInvalidTraits<HLOCAL, detail::FreeLocal>>;

}  // namespace veltrano
