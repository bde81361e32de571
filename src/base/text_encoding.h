#pragma once
// The only two conversions between the program's wide text and UTF-8 bytes.
#include <string>
#include <string_view>

namespace veltrano {

// Strict: any invalid UTF-8 sequence throws std::runtime_error.
std::wstring Utf8ToWide(std::string_view bytes);

// Lenient: unpaired surrogates become U+FFFD; never throws, gives empty bytes on failure.
std::string WideToUtf8(std::wstring_view text);

}  // namespace veltrano
