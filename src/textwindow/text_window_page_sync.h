#pragma once
// The open settings page of the clipboard text window: while it is open, moving, sizing or
// fading the window with the mouse shows the new values in its fields at once, without
// counting as the user's edits.
namespace veltrano {

class TextWindowPageSync {
public:
    virtual ~TextWindowPageSync() = default;
    virtual void ShowPosition(int x, int y) = 0;
    virtual void ShowSize(int width, int height) = 0;
    virtual void ShowOpacity(int opacity) = 0;
};

}  // namespace veltrano
