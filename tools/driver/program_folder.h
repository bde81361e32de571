#pragma once
// A throw-away program folder under a Japanese-named folder in %TEMP%, and the files in it,
// so every run exercises non-ASCII paths the way users' folders do.
#include <string>
#include <string_view>

namespace veltrano::driver {

class TemporaryProgramFolder {
public:
    // Creates %TEMP%\ヴェルトラーノ試験-<unique>; throws on failure.
    static TemporaryProgramFolder Create();

    ~TemporaryProgramFolder();
    TemporaryProgramFolder(TemporaryProgramFolder&& other) noexcept;
    TemporaryProgramFolder& operator=(TemporaryProgramFolder&&) = delete;
    TemporaryProgramFolder(const TemporaryProgramFolder&) = delete;
    TemporaryProgramFolder& operator=(const TemporaryProgramFolder&) = delete;

    const std::wstring& Path() const noexcept { return path_; }
    std::wstring PathOf(std::wstring_view name) const;

    // Copies a file in under its own name and gives the new path.
    std::wstring CopyIn(const std::wstring& source) const;

    // Leaves the folder in place (for scripts that remove it later themselves).
    std::wstring Release() noexcept;

private:
    explicit TemporaryProgramFolder(std::wstring path) : path_(std::move(path)) {}
    std::wstring path_;
};

// Removes a folder and all it holds, retrying while a just-ended program still holds a file;
// throws when it stays.
void RemoveFolderTree(const std::wstring& path);

bool FileExists(const std::wstring& path);
bool FolderExists(const std::wstring& path);

// Whole files as raw bytes; both throw with the path in the message.
std::string ReadFileBytes(const std::wstring& path);
void WriteFileBytes(const std::wstring& path, std::string_view bytes);

// UTF-16LE with byte order mark: the form in which the profile functions keep Unicode.
void WriteUtf16File(const std::wstring& path, std::wstring_view text);

// A host path such as "/tmp/x" as Wine sees it through drive Z:; Windows paths stay as they are.
std::wstring WindowsPathFromHost(std::wstring_view path);

}  // namespace veltrano::driver
