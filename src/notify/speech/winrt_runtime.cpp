#include "notify/speech/winrt_runtime.h"

#include <roapi.h>

#include <cstdio>
#include <limits>
#include <stdexcept>

#include "base/text_encoding.h"

namespace veltrano {
namespace {

class HresultErrorCategory final : public std::error_category {
public:
    const char* name() const noexcept override { return "HRESULT"; }
    std::string message(int code) const override {
        char text[32];
        std::snprintf(text, sizeof text, "HRESULT 0x%08lX", static_cast<unsigned long>(static_cast<DWORD>(code)));
        return text;
    }
};

std::string ClassStep(const char* action, const wchar_t* className) {
    return std::string(action) + " " + WideToUtf8(className);
}

}  // namespace

const std::error_category& HresultCategory() noexcept {
    static const HresultErrorCategory category;
    return category;
}

void ThrowHresult(HRESULT result, std::string_view step) {
    throw std::system_error(static_cast<int>(result), HresultCategory(), std::string(step));
}

UniqueHstring MakeHstring(std::wstring_view text) {
    if (text.size() > std::numeric_limits<UINT32>::max()) throw std::length_error("text too long for an HSTRING");
    HSTRING raw = nullptr;
    CheckHresult(::WindowsCreateString(text.data(), static_cast<UINT32>(text.size()), &raw), "creating a string");
    return UniqueHstring(raw);
}

std::wstring HstringText(HSTRING text) {
    UINT32 length = 0;
    const wchar_t* buffer = ::WindowsGetStringRawBuffer(text, &length);
    return std::wstring(buffer, length);
}

void ActivateRuntimeClass(const wchar_t* className, REFIID iid, void** instance) {
    const UniqueHstring name = MakeHstring(className);
    ComPtr<IInspectable> inspectable;
    CheckHresult(::RoActivateInstance(name.Get(), inspectable.Put()), ClassStep("activating", className));
    CheckHresult(inspectable->QueryInterface(iid, instance), ClassStep("asking for an interface of", className));
}

void GetRuntimeClassFactory(const wchar_t* className, REFIID iid, void** factory) {
    const UniqueHstring name = MakeHstring(className);
    CheckHresult(::RoGetActivationFactory(name.Get(), iid, factory), ClassStep("getting the factory of", className));
}

}  // namespace veltrano
