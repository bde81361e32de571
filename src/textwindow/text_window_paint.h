#pragma once
// Paints the clipboard text window: white, the scaled text image inside the inset, the frame
// over it. Drawn off-screen first so that the window never flickers.
#include <windows.h>

#include "textwindow/text_image.h"
#include "textwindow/text_window_layout.h"

namespace veltrano {

// `image` null: a plain white area without frame.
void PaintTextWindow(HDC target, SIZE client, const TextImage* image, const FrameBands& bands);

}  // namespace veltrano
