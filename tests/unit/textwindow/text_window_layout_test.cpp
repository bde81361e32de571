#include "textwindow/text_window_layout.h"

#include <gtest/gtest.h>

#include "settings/settings.h"
#include "support/temp_folder.h"
#include "textwindow/text_image.h"

namespace veltrano {
namespace {

bool SameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

TEST(TextWindowFrame, BandsFollowTheStoredBorderWidthInMovableModeOnly) {
    test::TempFolder folder;
    Settings settings(folder / L"taro_Veltrano.ini");
    ASSERT_TRUE(settings.Ini().WriteString(section::kClipboardTextWindow, L"ClipboardTextWindowBorderWidth", L"5000"));
    const FrameBands widest = FrameBandsFor(settings.ClipboardTextWindowBorderWidth(), true);
    EXPECT_EQ(widest.inset, 999);
    EXPECT_EQ(widest.outer + widest.inner, 100) << "the frame is at most 100 pixels thick";

    const FrameBands six = FrameBandsFor(6, true);
    EXPECT_EQ(six.inset, 6);
    EXPECT_EQ(six.outer, 3);
    EXPECT_EQ(six.inner, 3);
    const FrameBands one = FrameBandsFor(1, true);
    EXPECT_EQ(one.outer, 0) << "an odd thickness gives the extra pixel to the red band";
    EXPECT_EQ(one.inner, 1);
    const FrameBands seven = FrameBandsFor(7, true);
    EXPECT_EQ(seven.outer, 3);
    EXPECT_EQ(seven.inner, 4);

    for (const FrameBands none : {FrameBandsFor(0, true), FrameBandsFor(-4, true), FrameBandsFor(6, false)}) {
        EXPECT_EQ(none.inset, 0);
        EXPECT_EQ(none.outer, 0);
        EXPECT_EQ(none.inner, 0);
    }
}

// A giant copy is drawn by its head: after the last line end in the second half of the limit,
// else at the limit, never between the halves of a surrogate pair.
TEST(TextWindowShownText, TheHeadOfALongTextAtALineEndOrTheLimit) {
    const size_t limit = kMaxShownTextUnits;
    const std::wstring line(limit / 4 - 2, L'あ');
    const std::wstring lines = line + L"\r\n" + line + L"\r\n" + line + L"\r\n" + line + L"\r\n" + L"tail";
    const std::wstring pairAtTheLimit = std::wstring(limit - 1, L'x') + L"\xD83D\xDE00" + L"more";
    const std::wstring lineEndEarly = L"title\n" + std::wstring(2 * limit, L'x');
    struct Row {
        std::wstring text;
        size_t shown;
    };
    const Row rows[] = {
        {L"short\r\ntext", 11},
        {std::wstring(limit, L'x'), limit},
        {lines, limit},  // the limit falls just after the fourth line end
        {lines.substr(0, limit - 1) + L"ab", 3 * (limit / 4)},
        {pairAtTheLimit, limit - 1},
        {lineEndEarly, limit},
    };
    for (const Row& row : rows) EXPECT_EQ(ShownText(row.text), std::wstring_view(row.text).substr(0, row.shown));
}

TEST(TextWindowImagePlacement, ScalesUniformlyToTheTighterSideAndTruncates) {
    // Width-bound: 388 / 1000 < 188 / 100.
    const std::optional<RECT> wide = PlaceImage({400, 200}, 6, {1000, 100});
    ASSERT_TRUE(wide);
    EXPECT_TRUE(SameRect(*wide, RECT{6, 6, 6 + 388, 6 + 38})) << wide->right << "," << wide->bottom;
    // Height-bound and enlarged: 3 * 188 / 100 would be wider than the window otherwise.
    const std::optional<RECT> tall = PlaceImage({400, 200}, 6, {30, 100});
    ASSERT_TRUE(tall);
    EXPECT_TRUE(SameRect(*tall, RECT{6, 6, 6 + 56, 6 + 188})) << tall->right << "," << tall->bottom;
    // A long single line wrapped only at 2000 pixels is shown reduced to the window's width.
    const std::optional<RECT> line = PlaceImage({400, 200}, 0, {2000, 24});
    ASSERT_TRUE(line);
    EXPECT_EQ(line->right, 400);
    EXPECT_EQ(line->bottom, 4);  // 24 * 0.2 = 4.8, truncated

    EXPECT_FALSE(PlaceImage({12, 200}, 6, {10, 10})) << "no room left inside the inset";
    EXPECT_FALSE(PlaceImage({400, 12}, 6, {10, 10}));
    EXPECT_TRUE(PlaceImage({13, 13}, 6, {10, 10}));
}

TEST(TextWindowHitTest, CornersWinOverEdgesAndTheGripIgnoresTheBorderWidth) {
    const SIZE client{400, 200};
    const SIZE grip{8, 6};
    const auto at = [&](LONG x, LONG y) { return HitTestRegion({x, y}, client, grip); };
    EXPECT_EQ(at(0, 0), HTTOPLEFT);
    EXPECT_EQ(at(399, 5), HTTOPRIGHT);
    EXPECT_EQ(at(7, 199), HTBOTTOMLEFT);
    EXPECT_EQ(at(392, 194), HTBOTTOMRIGHT);
    EXPECT_EQ(at(7, 100), HTLEFT);
    EXPECT_EQ(at(8, 100), HTCLIENT);
    EXPECT_EQ(at(392, 100), HTRIGHT);
    EXPECT_EQ(at(391, 100), HTCLIENT);
    EXPECT_EQ(at(200, 5), HTTOP);
    EXPECT_EQ(at(200, 6), HTCLIENT);
    EXPECT_EQ(at(200, 194), HTBOTTOM);
    EXPECT_EQ(at(200, 193), HTCLIENT);
}

TEST(TextWindowMoveToCursor, CentresTheWindowWithHalvesTruncatedTowardZero) {
    const POINT topLeft = CenteredOnCursor({500, 300}, RECT{10, 20, 411, 221});  // 401 x 201
    EXPECT_EQ(topLeft.x, 300);
    EXPECT_EQ(topLeft.y, 200);
    const POINT offScreen = CenteredOnCursor({-5, -7}, RECT{0, 0, 32, 32});
    EXPECT_EQ(offScreen.x, -21);
    EXPECT_EQ(offScreen.y, -23);
}

TEST(TextWindowWheel, WholeNotchesChangeOpacityBy15WithinItsRange) {
    OpacityWheel wheel;
    EXPECT_EQ(wheel.Turn(360, 250), 255) << "three notches up from 250 stop at 255";
    EXPECT_EQ(wheel.Turn(60, 200), std::nullopt) << "half a notch changes nothing yet";
    EXPECT_EQ(wheel.Turn(60, 200), 215) << "the second half completes the notch";
    EXPECT_EQ(wheel.Turn(-240, 30), 8) << "two notches down from 30 stop at 8";

    OpacityWheel fine;  // a high-resolution wheel: a remainder keeps its sign
    EXPECT_EQ(fine.Turn(-100, 100), std::nullopt);
    EXPECT_EQ(fine.Turn(30, 100), std::nullopt) << "-70 left over, not a step";
    EXPECT_EQ(fine.Turn(-50, 100), 85);
}

}  // namespace
}  // namespace veltrano
