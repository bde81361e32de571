#pragma once
// Byte-exact file access for checking what the program wrote, independent of the code under test.
#include <windows.h>

#include <fstream>
#include <iterator>
#include <string>

#include "base/unique_any.h"

namespace veltrano::test {

inline std::string ReadBytes(const std::wstring& path) {
    std::ifstream in(path.c_str(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteBytes(const std::wstring& path, const std::string& bytes) {
    std::ofstream out(path.c_str(), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// Another program holding the file open, sharing it only as `share` allows.
inline UniqueFileHandle HoldFile(const std::wstring& path, DWORD share) {
    return UniqueFileHandle(
        ::CreateFileW(path.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}

// As an editor or a read-only medium does: reads still work, every write fails.
inline UniqueFileHandle HoldAgainstWriting(const std::wstring& path) { return HoldFile(path, FILE_SHARE_READ); }

}  // namespace veltrano::test
