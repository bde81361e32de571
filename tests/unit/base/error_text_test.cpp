#include "base/error_text.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace veltrano {
namespace {

template <typename E>
std::wstring TextOf(E error) {
    try {
        throw error;
    } catch (...) {
        return CurrentErrorText();
    }
}

TEST(CurrentErrorText, ConvertsTheUtf8MessageOrSaysUnknown) {
    EXPECT_EQ(TextOf(std::runtime_error("Failed to open file for reading: C:\\\xE6\xA9\x9F.txt")),
              L"Failed to open file for reading: C:\\機.txt");
    EXPECT_EQ(TextOf(std::runtime_error("")), L"原因不明のエラー");
    EXPECT_EQ(TextOf(std::runtime_error("\xC3\x28")), L"原因不明のエラー");
    EXPECT_EQ(TextOf(42), L"原因不明のエラー");
}

}  // namespace
}  // namespace veltrano
