// Rendering and painting of the clipboard text window, checked pixel by pixel off-screen.
#include "textwindow/text_window_paint.h"

#include <gtest/gtest.h>

#include "textwindow/text_image.h"

namespace veltrano {
namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kGreen = RGB(0, 255, 0);
constexpr COLORREF kRed = RGB(255, 0, 0);

// Paints a 120 x 80 window into a canvas of its own and gives that canvas.
MemoryCanvas PaintWindow(const TextImage* image, const FrameBands& bands) {
    const HDC screen = ::GetDC(nullptr);
    std::optional<MemoryCanvas> target = MemoryCanvas::Create(screen, {120, 80});
    ::ReleaseDC(nullptr, screen);
    if (!target) throw std::runtime_error("no canvas");
    ::PatBlt(target->Dc(), 0, 0, 120, 80, BLACKNESS);  // so that an unpainted pixel shows
    PaintTextWindow(target->Dc(), {120, 80}, image, bands);
    return std::move(*target);
}

// The colours from the left edge inwards along the middle row.
std::vector<COLORREF> RowFromLeft(const MemoryCanvas& canvas, int count) {
    std::vector<COLORREF> row;
    for (int x = 0; x < count; ++x) row.push_back(::GetPixel(canvas.Dc(), x, 40));
    return row;
}

TEST(TextImage, EmptyTextHasNoImageAndLongLinesWrapAt2000Pixels) {
    EXPECT_FALSE(RenderTextImage(L""));

    const std::optional<TextImage> word = RenderTextImage(L"機密");
    ASSERT_TRUE(word);
    EXPECT_GT(word->size.cx, 0);
    const int lineHeight = word->size.cy;
    EXPECT_GE(lineHeight, 18) << "18-point type";

    std::wstring longLine;
    for (int i = 0; i < 400; ++i) longLine += L"word ";
    const std::optional<TextImage> wrapped = RenderTextImage(longLine);
    ASSERT_TRUE(wrapped);
    EXPECT_LE(wrapped->size.cx, 2000);
    EXPECT_GT(wrapped->size.cx, 1500);
    EXPECT_GE(wrapped->size.cy, 2 * lineHeight);

    // A token without spaces cannot wrap: the image is as wide as the token, and drawn to its end.
    const std::optional<TextImage> token = RenderTextImage(std::wstring(400, L'M'));
    ASSERT_TRUE(token);
    ASSERT_GT(token->size.cx, 2100);
    int glyphBeyondWrap = 0;
    for (int y = 0; y < token->size.cy; ++y)
        for (int x = 2000; x < token->size.cx; ++x) glyphBeyondWrap += ::GetPixel(token->pixels.Dc(), x, y) != kWhite;
    EXPECT_GT(glyphBeyondWrap, 0);
}

TEST(TextImage, RenderedTextIsBlackOnWhite) {
    const std::optional<TextImage> image = RenderTextImage(L"■■■■");
    ASSERT_TRUE(image);
    EXPECT_EQ(image->pixels.Size().cx, image->size.cx) << "a small text is drawn at full size";
    EXPECT_EQ(image->pixels.Size().cy, image->size.cy);
    int black = 0;
    int white = 0;
    for (int y = 0; y < image->size.cy; ++y) {
        for (int x = 0; x < image->size.cx; ++x) {
            const COLORREF pixel = ::GetPixel(image->pixels.Dc(), x, y);
            black += pixel == RGB(0, 0, 0);
            white += pixel == kWhite;
        }
    }
    EXPECT_GT(black, 0);
    EXPECT_GT(white, 0);
}

// A long text is drawn by its head; an image of more pixels than the budget (a wide line over
// thousands of short ones) is drawn whole at a reduced resolution.
TEST(TextImage, AHugeTextIsDrawnByItsHeadAndATallOneAtAReducedResolution) {
    std::wstring huge;
    for (int line = 0; line < 20000; ++line) huge += L"■■■■■■■■■■■■■■■■■■■■ " + std::to_wstring(line) + L"\r\n";
    const std::optional<TextImage> whole = RenderTextImage(huge);
    const std::optional<TextImage> head = RenderTextImage(ShownText(huge));
    ASSERT_TRUE(whole && head);
    EXPECT_EQ(whole->size.cx, head->size.cx);
    EXPECT_EQ(whole->size.cy, head->size.cy);

    std::wstring tall = std::wstring(100, L'■') + L"\r\n";
    while (tall.size() + 2 <= kMaxShownTextUnits) tall += L"■\n";
    ASSERT_EQ(ShownText(tall).size(), tall.size());
    const std::optional<TextImage> image = RenderTextImage(tall);
    ASSERT_TRUE(image);
    const SIZE pixels = image->pixels.Size();
    ASSERT_GT(static_cast<long long>(image->size.cx) * image->size.cy, kMaxTextImagePixels);
    EXPECT_LE(static_cast<long long>(pixels.cx) * pixels.cy, kMaxTextImagePixels + pixels.cx + pixels.cy);
    EXPECT_NEAR(static_cast<double>(pixels.cx) / pixels.cy, static_cast<double>(image->size.cx) / image->size.cy, 0.01);
    // The last line is drawn too: the bottom rows hold black.
    int black = 0;
    for (int y = pixels.cy - pixels.cy / 2000 * 3 - 3; y < pixels.cy; ++y)
        for (int x = 0; x < pixels.cx; ++x) black += ::GetPixel(image->pixels.Dc(), x, y) == RGB(0, 0, 0);
    EXPECT_GT(black, 0);
}

TEST(TextWindowPaint, MovableFrameIsGreenOutsideRedInsideOverTheImage) {
    const std::optional<TextImage> image = RenderTextImage(L"■");
    ASSERT_TRUE(image);
    const MemoryCanvas six = PaintWindow(&*image, FrameBandsFor(6, true));
    const std::vector<COLORREF> row = RowFromLeft(six, 6);
    EXPECT_EQ(row, (std::vector{kGreen, kGreen, kGreen, kRed, kRed, kRed}));
    EXPECT_EQ(::GetPixel(six.Dc(), 60, 0), kGreen) << "top edge";
    EXPECT_EQ(::GetPixel(six.Dc(), 60, 77), kGreen) << "bottom edge";
    EXPECT_EQ(::GetPixel(six.Dc(), 60, 76), kRed) << "bottom edge, inner band";
    EXPECT_EQ(::GetPixel(six.Dc(), 119, 40), kGreen) << "right edge";

    const MemoryCanvas one = PaintWindow(&*image, FrameBandsFor(1, true));
    EXPECT_EQ(::GetPixel(one.Dc(), 0, 40), kRed) << "border 1: a single red line, no green";
    EXPECT_EQ(::GetPixel(one.Dc(), 0, 0), kRed);
}

TEST(TextWindowPaint, NoFrameWithoutTextOrOutsideMovableMode) {
    const std::optional<TextImage> image = RenderTextImage(L"a");
    ASSERT_TRUE(image);
    for (const MemoryCanvas& canvas :
         {PaintWindow(nullptr, FrameBandsFor(6, true)), PaintWindow(&*image, FrameBandsFor(6, false)),
          PaintWindow(&*image, FrameBandsFor(0, true))}) {
        EXPECT_EQ(::GetPixel(canvas.Dc(), 0, 0), kWhite);
        EXPECT_EQ(::GetPixel(canvas.Dc(), 119, 79), kWhite);
    }
    const MemoryCanvas blank = PaintWindow(nullptr, FrameBandsFor(6, true));
    EXPECT_EQ(::GetPixel(blank.Dc(), 60, 40), kWhite) << "no text: plain white everywhere";
}

}  // namespace
}  // namespace veltrano
