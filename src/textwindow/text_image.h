#pragma once
// The clipboard text drawn once in large bold type, black on white, wrapped at 2000 pixels;
// the window only scales it, so a resize never redraws the text.
#include <windows.h>

#include <optional>
#include <string>

#include "textwindow/memory_canvas.h"

namespace veltrano {

// Draws `text` into a new image; none for an empty text or when drawing fails.
std::optional<MemoryCanvas> RenderTextImage(const std::wstring& text);

}  // namespace veltrano
