#pragma once
// Replaces a file so that it holds either its old content or the new one, never a mix.
#include <initializer_list>
#include <string>
#include <string_view>

namespace veltrano {

struct FileChunk {
    std::string_view bytes;
    const char* errorMessage;  // raised with the target path appended when this chunk cannot be written
};

// Writes the chunks to a temporary file beside `path`, flushes it and moves it over `path`.
// Throws std::runtime_error "Failed to open file for writing: <path>" when the temporary file
// cannot be created or cannot replace the target; the temporary file never survives a failure.
void ReplaceFileAtomically(const std::wstring& path, std::initializer_list<FileChunk> chunks);

// The temporary file's name for one attempt: short, in the target's folder. A name in use
// (another thread's, or one a crashed process left) is passed over, up to this many times.
inline constexpr unsigned kTemporaryNameAttempts = 100;
std::wstring TemporaryPathBeside(const std::wstring& path, unsigned attempt);

// "<message><path in UTF-8>", the form of every file error.
std::string FileErrorMessage(const char* message, const std::wstring& path);

}  // namespace veltrano
