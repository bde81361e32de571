#pragma once
#include <windows.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace veltrano::driver {

// Memory inside another process, for messages whose pointers Wine passes through unchanged.
class RemoteBuffer {
public:
    RemoteBuffer(HANDLE process, size_t size)
        : process_(process), address_(::VirtualAllocEx(process, nullptr, size, MEM_COMMIT, PAGE_READWRITE)) {
        if (!address_) throw std::runtime_error("VirtualAllocEx failed in the other process");
    }
    ~RemoteBuffer() { ::VirtualFreeEx(process_, address_, 0, MEM_RELEASE); }
    RemoteBuffer(const RemoteBuffer&) = delete;
    RemoteBuffer& operator=(const RemoteBuffer&) = delete;

    BYTE* Address() const noexcept { return static_cast<BYTE*>(address_); }
    void Write(size_t offset, const void* data, size_t size) const {
        if (!::WriteProcessMemory(process_, Address() + offset, data, size, nullptr)) {
            throw std::runtime_error("WriteProcessMemory failed in the other process");
        }
    }
    void Read(size_t offset, void* data, size_t size) const {
        if (!::ReadProcessMemory(process_, Address() + offset, data, size, nullptr)) {
            throw std::runtime_error("ReadProcessMemory failed in the other process");
        }
    }
    // `length` units at `offset`, up to the first terminator; the last unit always ends the text.
    std::wstring ReadText(size_t offset, size_t length) const {
        std::vector<wchar_t> text(length);
        Read(offset, text.data(), length * sizeof(wchar_t));
        text.back() = L'\0';
        return text.data();
    }

private:
    HANDLE process_;
    void* address_;
};

}  // namespace veltrano::driver
