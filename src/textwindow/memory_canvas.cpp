#include "textwindow/memory_canvas.h"

namespace veltrano {

std::optional<MemoryCanvas> MemoryCanvas::Create(HDC compatibleWith, SIZE size) {
    if (size.cx <= 0 || size.cy <= 0) return std::nullopt;
    MemoryCanvas canvas;
    canvas.dc_.Reset(::CreateCompatibleDC(compatibleWith));
    canvas.bitmap_.Reset(::CreateCompatibleBitmap(compatibleWith, size.cx, size.cy));
    if (!canvas.dc_ || !canvas.bitmap_) return std::nullopt;
    ::SelectObject(canvas.dc_.Get(), canvas.bitmap_.Get());
    canvas.size_ = size;
    ::PatBlt(canvas.dc_.Get(), 0, 0, size.cx, size.cy, WHITENESS);
    return canvas;
}

}  // namespace veltrano
