#pragma once
// The clipboard text drawn once in large bold type, black on white, wrapped at 2000 pixels;
// the window only scales it, so a resize never redraws the text.
#include <windows.h>

#include <optional>
#include <string_view>

#include "textwindow/memory_canvas.h"

namespace veltrano {

// An image of more pixels than this is drawn at a reduced resolution. Such a text (thousands
// of lines) is shown so small that nothing is lost, while a full-size image would cost
// gigabytes and seconds for a megabyte of text.
inline constexpr long long kMaxTextImagePixels = 4096LL * 4096LL;

struct TextImage {
    SIZE size{};          // the text's measured size, which its placement in the window follows
    MemoryCanvas pixels;  // the drawing: `size` itself, or reduced to fit the pixel budget
};

// The window shows a long text shrunk to fit, so beyond a few thousand characters nothing more
// can be read: only the head is drawn, which keeps drawing a giant copy within milliseconds.
inline constexpr size_t kMaxShownTextUnits = 4096;

// The head of `text` that is drawn: all of it up to kMaxShownTextUnits, else cut after the last
// line end within that many units, or at the limit when there is none in the second half of
// them, never inside a surrogate pair.
std::wstring_view ShownText(std::wstring_view text);

// Draws ShownText(text) into a new image; none for an empty text or when drawing fails.
std::optional<TextImage> RenderTextImage(std::wstring_view text);

}  // namespace veltrano
