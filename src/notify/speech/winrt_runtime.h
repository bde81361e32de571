#pragma once
// Plumbing shared by the Windows Runtime backends: HRESULT failures as exceptions, an owner for
// HSTRING, and activation of runtime classes by name.
#include <windows.h>
#include <inspectable.h>
#include <winstring.h>

#include <string>
#include <string_view>
#include <system_error>

#include "base/com_ptr.h"
#include "base/unique_any.h"

namespace veltrano {

// Error codes of this category are HRESULTs; their message is "HRESULT 0x8XXXXXXX".
const std::error_category& HresultCategory() noexcept;

// std::system_error whose what() is "<step>: HRESULT 0x...".
[[noreturn]] void ThrowHresult(HRESULT result, std::string_view step);
inline void CheckHresult(HRESULT result, std::string_view step) {
    if (FAILED(result)) ThrowHresult(result, step);
}

namespace detail {
inline void DeleteHstring(HSTRING text) noexcept { ::WindowsDeleteString(text); }
}  // namespace detail

// The empty string is the null HSTRING, so an empty owner is valid text too.
using UniqueHstring = UniqueAny<NullInvalidTraits<HSTRING, detail::DeleteHstring>>;

UniqueHstring MakeHstring(std::wstring_view text);
std::wstring HstringText(HSTRING text);

// Calls a getter that hands out an HSTRING and returns a copy of the text.
template <typename Interface>
std::wstring ReadHstring(Interface* object, HRESULT (STDMETHODCALLTYPE Interface::*getter)(HSTRING*),
                         std::string_view step) {
    HSTRING raw = nullptr;
    const HRESULT result = (object->*getter)(&raw);
    const UniqueHstring owner(raw);
    CheckHresult(result, step);
    return HstringText(raw);
}

// A new instance of a runtime class through its default constructor, as `iid`.
void ActivateRuntimeClass(const wchar_t* className, REFIID iid, void** instance);
// The activation factory or statics interface `iid` of a runtime class.
void GetRuntimeClassFactory(const wchar_t* className, REFIID iid, void** factory);

template <typename Interface>
ComPtr<Interface> ActivateAs(const wchar_t* className) {
    ComPtr<Interface> instance;
    ActivateRuntimeClass(className, __uuidof(Interface), instance.PutVoid());
    return instance;
}

template <typename Interface>
ComPtr<Interface> RuntimeClassFactory(const wchar_t* className) {
    ComPtr<Interface> factory;
    GetRuntimeClassFactory(className, __uuidof(Interface), factory.PutVoid());
    return factory;
}

}  // namespace veltrano
