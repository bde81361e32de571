#include "text_image_bench.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "bench_data.h"
#include "textwindow/text_image.h"

namespace veltrano::bench {
namespace {

constexpr int kRuns = 5;

double NowMs() {
    LARGE_INTEGER frequency;
    LARGE_INTEGER now;
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&now);
    return now.QuadPart * 1000.0 / frequency.QuadPart;
}

// The baseline: the same font, measure and draw, into a bitmap of the text's full size.
long long PlainImagePixels(const std::wstring& text) {
    const HDC screen = ::GetDC(nullptr);
    const HFONT font = ::CreateFontW(-::MulDiv(18, ::GetDeviceCaps(screen, LOGPIXELSY), 72), 0, 0, 0, FW_BOLD, FALSE,
                                     FALSE, FALSE, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                     ANTIALIASED_QUALITY, FIXED_PITCH | FF_MODERN, L"MS Gothic");
    const HDC dc = ::CreateCompatibleDC(screen);
    ::SelectObject(dc, font);
    RECT size{0, 0, 2000, 2000};
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &size, DT_CALCRECT | DT_WORDBREAK);
    const HBITMAP bitmap = ::CreateCompatibleBitmap(screen, size.right, size.bottom);
    long long pixels = 0;
    if (bitmap) {
        ::SelectObject(dc, bitmap);
        ::PatBlt(dc, 0, 0, size.right, size.bottom, WHITENESS);
        RECT target{0, 0, 2000, size.bottom};
        ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &target, DT_WORDBREAK);
        pixels = static_cast<long long>(size.right) * size.bottom;
    }
    ::DeleteDC(dc);
    if (bitmap) ::DeleteObject(bitmap);
    ::DeleteObject(font);
    ::ReleaseDC(nullptr, screen);
    return pixels;
}

long long OurImagePixels(const std::wstring& text) {
    const std::optional<TextImage> image = RenderTextImage(text);
    return image ? static_cast<long long>(image->pixels.Size().cx) * image->pixels.Size().cy : 0;
}

template <typename Render>
double MedianMs(const std::wstring& text, Render render, long long& pixels) {
    std::vector<double> times;
    for (int run = 0; run < kRuns; ++run) {
        const double start = NowMs();
        pixels = render(text);
        times.push_back(NowMs() - start);
    }
    std::sort(times.begin(), times.end());
    return times[kRuns / 2];
}

}  // namespace

int RunTextImage() {
    std::puts("| text | ours ms | plain ms | time ratio | ours MiB | plain MiB |");
    std::puts("|---|---|---|---|---|---|");
    for (const size_t length : {size_t{1} << 10, size_t{1} << 16, size_t{1} << 20}) {
        const std::wstring text = MakeText({"text image", length, TextCase::Shape::Lines, false});
        long long ours = 0;
        long long plain = 0;
        const double oursMs = MedianMs(text, OurImagePixels, ours);
        const double plainMs = MedianMs(text, PlainImagePixels, plain);
        std::printf("| %zu KiB prose | %.1f | %.1f | %.2f | %.1f | %.1f |\n", length >> 10, oursMs, plainMs,
                    oursMs / plainMs, ours * 4 / 1048576.0, plain * 4 / 1048576.0);
    }
    return 0;
}

}  // namespace veltrano::bench
