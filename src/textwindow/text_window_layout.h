#pragma once
// The arithmetic of the clipboard text window: frame bands, image placement, edge grips, the
// move to the cursor and the opacity wheel. No window needed.
#include <windows.h>

#include <optional>

namespace veltrano {

// In movable mode the text keeps clear of the edges by the inset; the frame drawn over it is
// a green outer band and a red inner band.
struct FrameBands {
    int inset = 0;
    int outer = 0;  // green, along the window's edges
    int inner = 0;  // red, just inside the green band
};
FrameBands FrameBandsFor(int borderWidth, bool movable);

// Where the rendered image goes: scaled uniformly to fit inside the inset, never distorted.
// None when nothing fits.
std::optional<RECT> PlaceImage(SIZE client, int inset, SIZE image);

// Which edge or corner a client point grips in movable mode; HTCLIENT in the middle.
LRESULT HitTestRegion(POINT clientPoint, SIZE client, SIZE grip);

// The top-left corner that centres a window of this rectangle's size on the cursor.
POINT CenteredOnCursor(POINT cursor, const RECT& window);

// Turns wheel rotation into opacity steps of 15 per notch; a partial notch is kept for the next turn.
class OpacityWheel {
public:
    // The new opacity, or none while the rotation has not yet made a whole notch.
    std::optional<int> Turn(int wheelDelta, int opacity);

private:
    int accumulated_ = 0;
};

}  // namespace veltrano
