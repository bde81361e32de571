#pragma once
// Owner of one reference to a COM or Windows Runtime interface: movable, not copyable, released
// exactly once. The interface identifier comes from __uuidof, so every interface used here needs
// a uuid declaration (MinGW's headers have them; our own declarations add them).
#include <unknwn.h>

#include <cstddef>
#include <utility>

namespace veltrano {

template <typename T>
class ComPtr {
public:
    ComPtr() noexcept = default;
    ComPtr(std::nullptr_t) noexcept {}
    ~ComPtr() { Reset(); }

    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ComPtr(ComPtr&& other) noexcept : pointer_(other.Detach()) {}
    ComPtr& operator=(ComPtr&& other) noexcept {
        if (this != &other) Attach(other.Detach());
        return *this;
    }

    // Takes over a reference the caller already owns.
    static ComPtr Adopt(T* pointer) noexcept {
        ComPtr owner;
        owner.pointer_ = pointer;
        return owner;
    }
    // Takes a reference of its own to a borrowed pointer.
    static ComPtr Retain(T* pointer) noexcept {
        if (pointer) pointer->AddRef();
        return Adopt(pointer);
    }

    T* Get() const noexcept { return pointer_; }
    T* operator->() const noexcept { return pointer_; }
    explicit operator bool() const noexcept { return pointer_ != nullptr; }

    // For a function that hands out a new reference; whatever was held is released first.
    T** Put() noexcept {
        Reset();
        return &pointer_;
    }
    void** PutVoid() noexcept { return reinterpret_cast<void**>(Put()); }

    T* Detach() noexcept { return std::exchange(pointer_, nullptr); }
    void Attach(T* pointer) noexcept {
        T* old = std::exchange(pointer_, pointer);
        if (old) old->Release();
    }
    void Reset() noexcept { Attach(nullptr); }

    // QueryInterface for another interface of the same object.
    template <typename U>
    HRESULT As(ComPtr<U>& other) const noexcept {
        if (!pointer_) return E_POINTER;
        return pointer_->QueryInterface(__uuidof(U), other.PutVoid());
    }

private:
    T* pointer_ = nullptr;
};

}  // namespace veltrano
