#include "settings/tray_clicks.h"

#include <shellapi.h>

#include <gtest/gtest.h>

namespace veltrano {
namespace {

// Feeds the messages the way the shell sends them and runs each decided action at once.
class TrayClicks : public ::testing::Test {
protected:
    std::optional<TrayButton> Send(UINT message, bool leftDown, bool rightDown) {
        const TrayClickDecision decision = decoder.OnMouseMessage(message, leftDown, rightDown);
        if (decision.stopSpeech) ++speechStops;
        if (decision.button) {
            actions.push_back(*decision.button);
            decoder.AfterAction(*decision.button);
        }
        return decision.button;
    }
    TrayClickDecoder decoder;
    std::vector<TrayButton> actions;
    int speechStops = 0;
};

TEST_F(TrayClicks, SingleButtonsRunTheirOwnClick) {
    Send(WM_LBUTTONDOWN, true, false);
    Send(WM_LBUTTONUP, false, false);
    Send(WM_RBUTTONDOWN, false, true);
    Send(WM_RBUTTONUP, false, false);
    Send(WM_MBUTTONDOWN, false, false);
    Send(WM_MBUTTONUP, false, false);
    EXPECT_EQ(actions, (std::vector{TrayButton::Left, TrayButton::Right, TrayButton::Middle}));
    EXPECT_EQ(speechStops, 3) << "every button release stops the voice";
}

TEST_F(TrayClicks, ChordInEitherOrderRunsOneLeftRightClick) {
    Send(WM_LBUTTONDOWN, true, false);
    Send(WM_RBUTTONDOWN, true, true);
    Send(WM_LBUTTONUP, false, true);
    Send(WM_RBUTTONUP, false, false);
    EXPECT_EQ(actions, (std::vector{TrayButton::LeftRight}));

    actions.clear();
    Send(WM_RBUTTONDOWN, false, true);
    Send(WM_LBUTTONDOWN, true, true);
    Send(WM_RBUTTONUP, true, false);
    Send(WM_LBUTTONUP, false, false);
    EXPECT_EQ(actions, (std::vector{TrayButton::LeftRight}));
    EXPECT_EQ(speechStops, 4) << "the swallowed release still stops the voice";

    actions.clear();
    Send(WM_RBUTTONDOWN, false, true);
    Send(WM_RBUTTONUP, false, false);
    EXPECT_EQ(actions, (std::vector{TrayButton::Right})) << "a new press clears the swallow";
}

TEST_F(TrayClicks, DoubleClicksMovesAndBalloonEventsRunNothing) {
    for (UINT message : {UINT(WM_LBUTTONDBLCLK), UINT(WM_RBUTTONDBLCLK), UINT(WM_MOUSEMOVE), UINT(WM_MBUTTONDOWN),
                         UINT(NIN_BALLOONUSERCLICK)}) {
        Send(message, false, false);
    }
    EXPECT_TRUE(actions.empty());
    EXPECT_EQ(speechStops, 0);
}

}  // namespace
}  // namespace veltrano
