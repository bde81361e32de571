#include "textwindow/text_window_mouse.h"

#include <gtest/gtest.h>

#include <vector>

namespace veltrano {
namespace {

// Feeds messages as the window receives them and runs each click's action at once.
class TextWindowMouseTest : public ::testing::Test {
protected:
    TextWindowMouseResponse Send(UINT message, POINT cursor = {}, bool leftDown = false, bool rightDown = false) {
        const TextWindowMouseResponse response = mouse.OnMessage(message, movable, cursor, leftDown, rightDown);
        if (response.stopSpeech) ++speechStops;
        if (response.moveBy) moved.push_back(*response.moveBy);
        if (response.click) {
            clicks.push_back(*response.click);
            mouse.AfterAction(*response.click);
        }
        return response;
    }
    // Press at `from`, move to `to`, release.
    TextWindowMouseResponse Drag(POINT from, POINT to) {
        EXPECT_TRUE(Send(WM_LBUTTONDOWN, from, true).captureMouse == movable);
        Send(WM_MOUSEMOVE, to, true);
        return Send(WM_LBUTTONUP, to);
    }

    TextWindowMouse mouse;
    bool movable = true;
    std::vector<TrayButton> clicks;
    std::vector<POINT> moved;
    int speechStops = 0;
};

TEST_F(TextWindowMouseTest, SmallDragStaysPutAndIsAPlainLeftClickWhichRunsNothing) {
    const TextWindowMouseResponse release = Drag({100, 100}, {102, 98});
    EXPECT_TRUE(release.releaseMouse);
    ASSERT_EQ(moved.size(), 1u) << "the window follows the pointer even within the click slop";
    EXPECT_TRUE(clicks.empty()) << "a plain left click is no action";
    EXPECT_EQ(speechStops, 1);
}

TEST_F(TextWindowMouseTest, DragOfThreePixelsMovesTheWindowAndRunsNoActionEvenWithRightHeld) {
    Send(WM_LBUTTONDOWN, {100, 100}, true);
    Send(WM_MOUSEMOVE, {103, 100}, true);
    Send(WM_MOUSEMOVE, {110, 95}, true);
    Send(WM_MOUSEMOVE, {110, 95}, true);  // no change, no move
    const TextWindowMouseResponse release = Send(WM_LBUTTONUP, {110, 95}, false, true);
    ASSERT_EQ(moved.size(), 2u);
    EXPECT_EQ(moved[0].x, 3);
    EXPECT_EQ(moved[1].x, 7);
    EXPECT_EQ(moved[1].y, -5);
    EXPECT_TRUE(release.releaseMouse);
    EXPECT_TRUE(clicks.empty()) << "a moved drag ends without any click";
    EXPECT_EQ(speechStops, 1);
}

TEST_F(TextWindowMouseTest, FixedModeNeitherCapturesNorMoves) {
    movable = false;
    const TextWindowMouseResponse release = Drag({100, 100}, {150, 150});
    EXPECT_FALSE(release.releaseMouse);
    EXPECT_TRUE(moved.empty());
    EXPECT_TRUE(clicks.empty());
}

TEST_F(TextWindowMouseTest, DoubleClickRightMiddleRunTheirClicks) {
    Send(WM_LBUTTONDOWN, {}, true);
    Send(WM_LBUTTONUP);
    Send(WM_LBUTTONDBLCLK, {}, true);
    Send(WM_LBUTTONUP);
    Send(WM_RBUTTONDOWN, {}, false, true);
    Send(WM_RBUTTONUP);
    Send(WM_MBUTTONUP);
    EXPECT_EQ(clicks, (std::vector{TrayButton::Left, TrayButton::Right, TrayButton::Middle}));
    EXPECT_EQ(speechStops, 4) << "every left, right and middle release silences the voice";
}

TEST_F(TextWindowMouseTest, ChordRunsLeftRightOnceInEitherOrder) {
    // Right, then left, then both released: the left release while right is held is the chord.
    Send(WM_RBUTTONDOWN, {}, false, true);
    Send(WM_LBUTTONDOWN, {5, 5}, true, true);
    Send(WM_LBUTTONUP, {5, 5}, false, true);
    Send(WM_RBUTTONUP);
    EXPECT_EQ(clicks, (std::vector{TrayButton::LeftRight}));

    clicks.clear();
    Send(WM_LBUTTONDOWN, {5, 5}, true);
    Send(WM_RBUTTONDOWN, {}, true, true);
    Send(WM_RBUTTONUP, {}, true, false);
    Send(WM_LBUTTONUP, {5, 5});
    EXPECT_EQ(clicks, (std::vector{TrayButton::LeftRight}));

    clicks.clear();
    Send(WM_RBUTTONDOWN, {}, false, true);
    Send(WM_RBUTTONUP);
    EXPECT_EQ(clicks, (std::vector{TrayButton::Right})) << "a new press forgets the finished chord";
}

TEST_F(TextWindowMouseTest, LostCaptureEndsTheDrag) {
    Send(WM_LBUTTONDOWN, {100, 100}, true);
    mouse.OnCaptureLost();
    Send(WM_MOUSEMOVE, {150, 150}, true);
    EXPECT_TRUE(moved.empty());
    EXPECT_FALSE(Send(WM_LBUTTONUP, {150, 150}).releaseMouse);
}

}  // namespace
}  // namespace veltrano
