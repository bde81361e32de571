#include "base/text_encoding.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace veltrano {
namespace {

TEST(Utf8ToWide, ConvertsJapaneseAndSurrogatePairs) {
    EXPECT_EQ(Utf8ToWide("\xE6\xA9\x9F\xE5\xAF\x86"), L"機密");
    EXPECT_EQ(Utf8ToWide("\xF0\x9F\x98\x80"), std::wstring(L"\xD83D\xDE00"));
    EXPECT_EQ(Utf8ToWide(""), L"");
    // A byte order mark that is still there is an ordinary character.
    EXPECT_EQ(Utf8ToWide("\xEF\xBB\xBF" "a"), std::wstring(L"\xFEFF" L"a"));
}

TEST(Utf8ToWide, RejectsAnyInvalidSequenceWhole) {
    for (const char* bad : {"\xC3\x28", "abc\xFF", "\xE6\xA9", "\xED\xA0\x80"}) {
        try {
            Utf8ToWide(bad);
            FAIL() << "accepted invalid UTF-8";
        } catch (const std::runtime_error& error) {
            EXPECT_STREQ(error.what(), "Utf8ToWide: invalid UTF-8 sequence");
        }
    }
}

TEST(WideToUtf8, ConvertsAndReplacesUnpairedSurrogates) {
    EXPECT_EQ(WideToUtf8(L"機密"), "\xE6\xA9\x9F\xE5\xAF\x86");
    EXPECT_EQ(WideToUtf8(L""), "");
    EXPECT_EQ(WideToUtf8(std::wstring(L"a\xD800" L"b")), "a\xEF\xBF\xBD" "b");
}

}  // namespace
}  // namespace veltrano
