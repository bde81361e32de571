#include "base/error_text.h"

#include <exception>
#include <stdexcept>

#include "base/text_encoding.h"

namespace veltrano {

std::wstring CurrentErrorText() {
    const std::wstring unknown = L"原因不明のエラー";
    try {
        throw;
    } catch (const std::exception& error) {
        try {
            const std::wstring text = Utf8ToWide(error.what());
            return text.empty() ? unknown : text;
        } catch (...) {
            return unknown;
        }
    } catch (...) {
        return unknown;
    }
}

}  // namespace veltrano
