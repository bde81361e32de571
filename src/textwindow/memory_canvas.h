#pragma once
// An off-screen bitmap with a drawing context selected on it, filled white.
#include <windows.h>

#include <optional>

#include "base/unique_any.h"

namespace veltrano {

class MemoryCanvas {
public:
    // None when the system cannot give a bitmap of that size (a huge text, say).
    static std::optional<MemoryCanvas> Create(HDC compatibleWith, SIZE size);

    HDC Dc() const noexcept { return dc_.Get(); }
    SIZE Size() const noexcept { return size_; }

private:
    MemoryCanvas() = default;

    // The context goes first, so the bitmap is no longer selected when it is deleted.
    UniqueHbitmap bitmap_;
    UniqueHdc dc_;
    SIZE size_{};
};

}  // namespace veltrano
