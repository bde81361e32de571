#include "driver/history_files.h"

#include <algorithm>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <mutex>
#include <thread>
#include <vector>

#include "storage/text_files.h"

namespace veltrano::driver {
namespace {

// Every old entry's name starts with it; the program names its files by today's date.
constexpr wchar_t kOldYear[] = L"2020";

}  // namespace

std::wstring OldHistoryEntryName(int index) {
    wchar_t name[32];
    std::swprintf(name, std::size(name), L"%ls0101_%02d%02d%02d_000.bin", kOldYear, index / 3600, index / 60 % 60, index % 60);
    return name;
}

HistoryFileCounts CountHistoryFiles(const std::wstring& folder) {
    HistoryFileCounts counts;
    std::error_code error;
    for (const auto& file : std::filesystem::directory_iterator(folder, error)) {
        ++counts.all;
        counts.recorded += !file.path().filename().wstring().starts_with(kOldYear);
    }
    return counts;
}

void SealOldHistoryEntries(const std::wstring& folder, int count) {
    std::filesystem::create_directories(folder);
    const int threads = static_cast<int>(std::max(2u, std::thread::hardware_concurrency()));
    std::exception_ptr failure;
    std::mutex failureMutex;
    {
        std::vector<std::jthread> sealers;
        for (int first = 0; first < threads; ++first) {
            sealers.emplace_back([&, first] {
                try {
                    for (int i = first; i < count; i += threads) {
                        WriteEncryptedFile(folder + L"\\" + OldHistoryEntryName(i), "old entry " + std::to_string(i));
                    }
                } catch (...) {
                    const std::lock_guard lock(failureMutex);
                    failure = std::current_exception();
                }
            });
        }
    }
    if (failure) std::rethrow_exception(failure);
}

}  // namespace veltrano::driver
