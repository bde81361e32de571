#pragma once
// This thread's membership of a COM apartment for the owner's lifetime: CoInitializeEx, and
// CoUninitialize only when that call joined one.
#include <objbase.h>

namespace veltrano {

class ComApartment {
public:
    explicit ComApartment(DWORD model) noexcept : result_(::CoInitializeEx(nullptr, model)) {}
    ~ComApartment() {
        if (SUCCEEDED(result_)) ::CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

    HRESULT Result() const noexcept { return result_; }
    // COM can be used on this thread: joined now, or already in an apartment of the other model.
    bool Usable() const noexcept { return SUCCEEDED(result_) || result_ == RPC_E_CHANGED_MODE; }

private:
    HRESULT result_;
};

}  // namespace veltrano
