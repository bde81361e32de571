#include "app/entry_commands.h"

#include <gtest/gtest.h>

namespace veltrano {
namespace {

TEST(EntryCommands, EachMenuNumbersItsEntriesInItsOwnRange) {
    EXPECT_EQ(kHistoryCommands.Capacity(), 3000u);
    EXPECT_EQ(kHistoryCommands.CommandOf(2999), UINT(IDM_COPY_TEXT_FIRST - 1));
    EXPECT_EQ(kHistoryCommands.IndexOf(IDM_HISTORY_FIRST + 2999), 2999u);
    EXPECT_EQ(kHistoryCommands.IndexOf(IDM_COPY_TEXT_FIRST), std::nullopt) << "the next menu's first command";
    EXPECT_EQ(kHistoryCommands.IndexOf(IDM_HISTORY_FIRST - 1), std::nullopt);
    EXPECT_EQ(kCopyTextCommands.Capacity(), 3000u);
    EXPECT_EQ(kCopyTextCommands.IndexOf(IDM_COPY_TEXT_FIRST + 1), 1u);
    EXPECT_EQ(kManualReplaceCommands.IndexOf(0xFFFF), 0xFFFFu - IDM_MANUAL_REPLACE_FIRST);
}

}  // namespace
}  // namespace veltrano
