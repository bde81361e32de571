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
    // Too long for the system's conversion: an error, never empty bytes that a store would keep.
    // (Only the length is looked at before it throws.)
    const wchar_t unit = L'x';
    EXPECT_THROW(WideToUtf8(std::wstring_view(&unit, 0x80000000u)), std::runtime_error);
}

// The stored form of every text of surrogates, letters and pairs up to four units long is what
// a round trip through UTF-8 gives back.
TEST(ReplaceLoneSurrogates, AgreesWithTheRoundTripThroughUtf8) {
    static constexpr wchar_t kUnits[] = {L'a', 0xD83D, 0xDE00, 0xDBFF, 0xDC00};
    for (size_t length = 0; length <= 4; ++length) {
        size_t count = 1;
        for (size_t i = 0; i < length; ++i) count *= std::size(kUnits);
        for (size_t n = 0; n < count; ++n) {
            std::wstring text;
            for (size_t k = 0, rest = n; k < length; ++k, rest /= std::size(kUnits)) text += kUnits[rest % std::size(kUnits)];
            const std::wstring stored = Utf8ToWide(WideToUtf8(text));
            EXPECT_EQ(ReplaceLoneSurrogates(text), stored);
            EXPECT_EQ(HasLoneSurrogate(text), stored != text);
        }
    }
}

}  // namespace
}  // namespace veltrano
