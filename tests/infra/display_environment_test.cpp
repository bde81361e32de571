// Each display test gets its own Xvfb and wineserver (scripts/with-display).
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

// Another process may hold the clipboard for a moment; retry instead of failing.
bool OpenClipboardRetrying(HWND owner) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    if (OpenClipboard(owner)) return true;
    Sleep(20);
  }
  return false;
}

}  // namespace

TEST(DisplayEnvironment, HasOwnXvfbScreen) {
  wchar_t display[64] = {};
  EXPECT_GT(GetEnvironmentVariableW(L"DISPLAY", display, 64), 0u);
  EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1280);
  EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 1024);
}

TEST(DisplayEnvironment, ClipboardRoundTripsJapaneseText) {
  HWND window = CreateWindowExW(0, L"STATIC", L"clipboard owner", WS_OVERLAPPEDWINDOW, 0, 0,
                                100, 100, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(window, nullptr);
  const std::wstring text = L"\u30AF\u30EA\u30C3\u30D7\u30DC\u30FC\u30C9 \u65E5\u672C\u8A9E";

  ASSERT_TRUE(OpenClipboardRetrying(window));
  ASSERT_TRUE(EmptyClipboard());
  const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
  ASSERT_NE(memory, nullptr);
  std::memcpy(GlobalLock(memory), text.c_str(), bytes);
  GlobalUnlock(memory);
  EXPECT_NE(SetClipboardData(CF_UNICODETEXT, memory), nullptr);
  CloseClipboard();

  ASSERT_TRUE(OpenClipboardRetrying(nullptr));
  std::wstring read;
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    read = static_cast<const wchar_t*>(GlobalLock(data));
    GlobalUnlock(data);
  }
  CloseClipboard();
  DestroyWindow(window);

  EXPECT_EQ(read, text);
}
