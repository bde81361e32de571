// The Wine prefix and locale that scripts/prepare-wine sets up.
#include <windows.h>

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

namespace {

std::wstring ReadReplacement(const wchar_t* face) {
  wchar_t value[64] = {};
  DWORD size = sizeof(value);
  const LSTATUS status =
      RegGetValueW(HKEY_CURRENT_USER, L"Software\\Wine\\Fonts\\Replacements", face,
                   RRF_RT_REG_SZ, nullptr, value, &size);
  return status == ERROR_SUCCESS ? value : L"";
}

int CALLBACK CountFamily(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM count) {
  ++*reinterpret_cast<int*>(count);
  return 1;
}

// Font checks on a memory DC, which needs no display.
class WineFonts : public testing::Test {
 protected:
  void SetUp() override { ASSERT_NE(dc_, nullptr); }
  void TearDown() override { DeleteDC(dc_); }

  int CountFamilies(const wchar_t* face) {
    LOGFONTW query{};
    query.lfCharSet = DEFAULT_CHARSET;
    wcsncpy_s(query.lfFaceName, face, _TRUNCATE);
    int count = 0;
    EnumFontFamiliesExW(dc_, &query, CountFamily, reinterpret_cast<LPARAM>(&count), 0);
    return count;
  }

  // Size of the font file GDI picked for the face: equal sizes mean the same file.
  DWORD FontFileSize(const wchar_t* face) {
    HFONT font = CreateFontW(-16, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                             OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                             DEFAULT_PITCH, face);
    HGDIOBJ old = SelectObject(dc_, font);
    const DWORD size = GetFontData(dc_, 0, 0, nullptr, 0);
    SelectObject(dc_, old);
    DeleteObject(font);
    return size;
  }

  HDC dc_ = CreateCompatibleDC(nullptr);
};

}  // namespace

TEST(WineEnvironment, AnsiCodePageIsJapanese) {
  EXPECT_EQ(GetACP(), 932u);
}

TEST(WineEnvironment, ReportsWindows10) {
  using RtlGetVersionFn = LONG(WINAPI*)(OSVERSIONINFOW*);
  auto rtl_get_version = reinterpret_cast<RtlGetVersionFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "RtlGetVersion")));
  ASSERT_NE(rtl_get_version, nullptr);
  OSVERSIONINFOW version{};
  version.dwOSVersionInfoSize = sizeof(version);
  ASSERT_EQ(rtl_get_version(&version), 0);
  EXPECT_EQ(version.dwMajorVersion, 10u);
}

TEST(WineEnvironment, JapaneseFacesAreReplacedByIpaGothic) {
  for (const wchar_t* face : {L"MS Gothic", L"MS UI Gothic", L"\uFF2D\uFF33 \u30B4\u30B7\u30C3\u30AF",
                              L"\uFF2D\uFF33 \uFF30\u30B4\u30B7\u30C3\u30AF"}) {
    EXPECT_EQ(ReadReplacement(face), L"IPAGothic") << face;
  }
}

TEST_F(WineFonts, FontsAreInstalled) {
  EXPECT_GT(CountFamilies(L"Tahoma"), 0);
  EXPECT_GT(CountFamilies(L"IPAGothic"), 0);
  EXPECT_GT(CountFamilies(L"MS UI Gothic"), 0);
}

TEST_F(WineFonts, MsUiGothicResolvesToIpaGothic) {
  const DWORD ipa_gothic = FontFileSize(L"IPAGothic");
  ASSERT_NE(ipa_gothic, GDI_ERROR);
  EXPECT_NE(FontFileSize(L"Tahoma"), ipa_gothic);
  EXPECT_EQ(FontFileSize(L"MS UI Gothic"), ipa_gothic);
  EXPECT_EQ(FontFileSize(L"\uFF2D\uFF33 \uFF30\u30B4\u30B7\u30C3\u30AF"), ipa_gothic);
}

TEST_F(WineFonts, MsUiGothicHasJapaneseGlyphs) {
  HFONT font = CreateFontW(-16, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET,
                           OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                           DEFAULT_PITCH, L"MS UI Gothic");
  ASSERT_NE(font, nullptr);
  HGDIOBJ old = SelectObject(dc_, font);
  WORD glyphs[3] = {};
  const DWORD converted =
      GetGlyphIndicesW(dc_, L"\u3042\u6F22\u5B57", 3, glyphs, GGI_MARK_NONEXISTING_GLYPHS);
  SelectObject(dc_, old);
  DeleteObject(font);

  ASSERT_EQ(converted, 3u);
  for (WORD glyph : glyphs) {
    EXPECT_NE(glyph, 0xFFFF);
  }
}
