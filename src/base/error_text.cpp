#include "base/error_text.h"

#include <exception>
#include <stdexcept>

#include "base/text_encoding.h"
#include "base/unique_any.h"

namespace veltrano {

std::optional<std::wstring> CurrentErrorMessage() {
    try {
        throw;
    } catch (const std::exception& error) {
        try {
            std::wstring text = Utf8ToWide(error.what());
            if (!text.empty()) return text;
        } catch (...) {
            // Not UTF-8: no message to show.
        }
    } catch (...) {
        // Not a std::exception: no message at all.
    }
    return std::nullopt;
}

std::wstring CurrentErrorText() {
    return CurrentErrorMessage().value_or(L"原因不明のエラー");
}

std::wstring SystemErrorText(DWORD error) {
    UniqueHlocal buffer;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0,
        reinterpret_cast<wchar_t*>(buffer.Put()), 0, nullptr);
    std::wstring text =
        length ? std::wstring(static_cast<const wchar_t*>(buffer.Get()), length) : L"error " + std::to_wstring(error);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ')) text.pop_back();
    return text;
}

}  // namespace veltrano
