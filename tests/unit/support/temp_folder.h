#pragma once
// A fresh folder with a Japanese name under the temporary folder, removed with everything in it.
#include <windows.h>

#include <atomic>
#include <filesystem>
#include <stdexcept>
#include <string>

namespace veltrano::test {

class TempFolder {
public:
    TempFolder() {
        static std::atomic<unsigned> counter{0};
        wchar_t base[MAX_PATH];
        ::GetTempPathW(MAX_PATH, base);
        // Wine reuses process ids, and a folder an earlier run could not remove may still be
        // there: take the next name until one is new.
        for (;;) {
            path_ = std::wstring(base) + L"ヴェルトラーノ単体試験-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
                    std::to_wstring(counter++);
            if (::CreateDirectoryW(path_.c_str(), nullptr)) break;
            if (::GetLastError() != ERROR_ALREADY_EXISTS) throw std::runtime_error("cannot create a temporary folder");
        }
    }
    ~TempFolder() {
        // The long form removes paths beyond MAX_PATH that tests may have made.
        std::error_code ignored;
        std::filesystem::remove_all(L"\\\\?\\" + path_, ignored);
        std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::wstring& Path() const { return path_; }
    std::wstring operator/(const std::wstring& name) const { return path_ + L"\\" + name; }

private:
    std::wstring path_;
};

}  // namespace veltrano::test
