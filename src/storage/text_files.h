#pragma once
// The two forms of every user data file: UTF-8 text with byte order mark, and a DPAPI blob
// (current user) sealing the same bytes. Content is passed in and out without the mark.
// Every failure throws std::runtime_error with a UTF-8 message.
#include <string>
#include <string_view>

namespace veltrano {

// A file's bytes as they are.
std::string ReadWholeFile(const std::wstring& path);

std::string ReadUtf8TextFile(const std::wstring& path);
void WriteUtf8TextFile(const std::wstring& path, std::string_view bytes);

std::string ReadEncryptedFile(const std::wstring& path);
void WriteEncryptedFile(const std::wstring& path, std::string_view bytes);
// WriteEncryptedFile of the text's UTF-8, converted straight into the buffer that is sealed. The
// text is taken, and freed once converted: a giant one is not held while it is sealed.
void WriteEncryptedText(const std::wstring& path, std::wstring text);

}  // namespace veltrano
