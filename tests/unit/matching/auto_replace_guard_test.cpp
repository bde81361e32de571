#include "matching/auto_replace_guard.h"

#include <gtest/gtest.h>

#include <chrono>
#include <type_traits>

#include "support/answering_question.h"
#include "support/fake_monotonic_clock.h"
#include "support/program_data.h"

namespace veltrano {
namespace {

using namespace std::chrono_literals;
using std::chrono::steady_clock;

// Nanosecond steps below need a clock of that resolution.
static_assert(std::is_same_v<steady_clock::duration, std::chrono::nanoseconds>);

class AutoReplaceGuardTest : public ::testing::Test, protected test::ProgramData {
protected:
    // Written to the real settings file, read back through the same clamping as the program.
    void SetPrevention(bool on) {
        ASSERT_TRUE(settings.Ini().WriteBool(section::kClipboardReplace, L"PreventConsecutiveAutoReplace", on));
    }
    void SetInterval(int ms) {
        ASSERT_TRUE(settings.Ini().WriteInt(section::kClipboardReplace, L"ReplaceContinuousIntervalMs", ms));
    }
    void SetLimit(int count) {
        ASSERT_TRUE(settings.Ini().WriteInt(section::kClipboardReplace, L"ReplaceContinuousCount", count));
    }

    // One automatic replacement that appends "!", recorded the way the pipeline records a rewrite.
    AutoReplaceVerdict Run(const std::wstring& input) {
        const AutoReplaceVerdict verdict = guard.CheckConsecutiveAutoReplace(input);
        if (verdict == AutoReplaceVerdict::Proceed) {
            written = input + L"!";
            guard.RecordAcceptedResult(written);
        }
        return verdict;
    }
    // The update raised by the previous rewrite, `gap` after it.
    AutoReplaceVerdict RunChained(steady_clock::duration gap = 1ms) {
        monotonic.now += gap;
        return Run(written);
    }

    test::FakeMonotonicClock monotonic;
    test::AnsweringQuestion question{true};
    AutoReplaceGuard guard{settings, monotonic, question};
    std::wstring written;
};

TEST_F(AutoReplaceGuardTest, FirstReplacementIsNeverChained) {
    SetPrevention(true);
    EXPECT_EQ(guard.CheckConsecutiveAutoReplace(L"abc"), AutoReplaceVerdict::Proceed);
    // Nothing was recorded as written, so the same input again is still not a chain.
    EXPECT_EQ(guard.CheckConsecutiveAutoReplace(L"abc"), AutoReplaceVerdict::Proceed);
    EXPECT_TRUE(question.asked.empty());
}

TEST_F(AutoReplaceGuardTest, PreventionRefusesTheSecondLinkWithoutABox) {
    SetPrevention(true);
    ASSERT_EQ(Run(L"abc"), AutoReplaceVerdict::Proceed);
    EXPECT_EQ(RunChained(), AutoReplaceVerdict::Prohibited);
    EXPECT_TRUE(question.asked.empty());
    // The refusal ended the chain: the same text arriving again counts one and passes.
    EXPECT_EQ(RunChained(), AutoReplaceVerdict::Proceed);
    EXPECT_EQ(RunChained(), AutoReplaceVerdict::Prohibited);
    EXPECT_TRUE(question.asked.empty());
}

TEST_F(AutoReplaceGuardTest, PreventionWinsOverAnyLimit) {
    SetPrevention(true);
    SetLimit(1);
    ASSERT_EQ(Run(L"abc"), AutoReplaceVerdict::Proceed);
    EXPECT_EQ(RunChained(), AutoReplaceVerdict::Prohibited);
    EXPECT_TRUE(question.asked.empty());
}

// True when a rewrite `gap` after the previous one is still part of its chain (prevention refuses it).
class AutoReplaceGuardGapTest : public AutoReplaceGuardTest {
protected:
    bool ChainedAfter(steady_clock::duration gap) {
        SetPrevention(true);
        EXPECT_EQ(Run(L"abc"), AutoReplaceVerdict::Proceed);
        return RunChained(gap) == AutoReplaceVerdict::Prohibited;
    }
};

TEST_F(AutoReplaceGuardGapTest, ExactlyTheIntervalIsChained) { EXPECT_TRUE(ChainedAfter(1000ms)); }
TEST_F(AutoReplaceGuardGapTest, LessThanAMillisecondOverTheIntervalIsTruncatedAndChained) {
    EXPECT_TRUE(ChainedAfter(1000ms + 999999ns));
}
TEST_F(AutoReplaceGuardGapTest, OneMillisecondOverTheIntervalStartsANewChain) { EXPECT_FALSE(ChainedAfter(1001ms)); }

TEST_F(AutoReplaceGuardGapTest, IntervalBelowTenActsAsTen) {
    SetInterval(5);
    EXPECT_TRUE(ChainedAfter(10ms));
}
TEST_F(AutoReplaceGuardGapTest, IntervalBelowTenActsAsTenNotMore) {
    SetInterval(5);
    EXPECT_FALSE(ChainedAfter(11ms));
}
TEST_F(AutoReplaceGuardGapTest, IntervalAboveSixtySecondsActsAsSixtySeconds) {
    SetInterval(100000);
    EXPECT_TRUE(ChainedAfter(60000ms));
}
TEST_F(AutoReplaceGuardGapTest, IntervalAboveSixtySecondsActsAsSixtySecondsNotMore) {
    SetInterval(100000);
    EXPECT_FALSE(ChainedAfter(60001ms));
}

TEST_F(AutoReplaceGuardTest, TheBoxComesBeforeTheRunThatWouldPassTheDefaultLimit) {
    ASSERT_EQ(Run(L"abc"), AutoReplaceVerdict::Proceed);
    for (int run = 2; run <= 10; ++run) ASSERT_EQ(RunChained(), AutoReplaceVerdict::Proceed) << run;
    EXPECT_TRUE(question.asked.empty());

    EXPECT_EQ(RunChained(), AutoReplaceVerdict::Proceed);
    ASSERT_EQ(question.asked.size(), 1u);
    EXPECT_EQ(question.asked[0],
              L"自動置換続行の確認 - Veltrano|"
              L"短時間の連続したクリップボード自動置換が、次の実行でユーザー設定回数を超えます。\n"
              L"自動置換を続行しますか？\n"
              L"続行を選択した場合、カウンタをリセットし、短時間連続自動置換がユーザー設定回数を次の実行で超えるときに、"
              L"またメッセージを表示します。");
}

TEST_F(AutoReplaceGuardTest, YesResetsTheCountSoTheBoxReturnsAfterAnotherFullLimit) {
    SetLimit(3);
    ASSERT_EQ(Run(L"abc"), AutoReplaceVerdict::Proceed);
    ASSERT_EQ(RunChained(), AutoReplaceVerdict::Proceed);
    ASSERT_EQ(RunChained(), AutoReplaceVerdict::Proceed);
    ASSERT_EQ(RunChained(), AutoReplaceVerdict::Proceed);  // asked, answered Yes
    ASSERT_EQ(question.asked.size(), 1u);
    for (int run = 1; run <= 3; ++run) ASSERT_EQ(RunChained(), AutoReplaceVerdict::Proceed) << run;
    EXPECT_EQ(question.asked.size(), 1u);
    EXPECT_EQ(RunChained(), AutoReplaceVerdict::Proceed);
    EXPECT_EQ(question.asked.size(), 2u);
}

TEST_F(AutoReplaceGuardTest, NoDeclinesAndResetsTheCountButKeepsTheLastResult) {
    SetLimit(2);
    question.answer = false;
    ASSERT_EQ(Run(L"abc"), AutoReplaceVerdict::Proceed);
    ASSERT_EQ(RunChained(), AutoReplaceVerdict::Proceed);
    const std::wstring lastWritten = written;
    EXPECT_EQ(RunChained(), AutoReplaceVerdict::DeclinedByUser);
    EXPECT_EQ(question.asked.size(), 1u);
    EXPECT_EQ(written, lastWritten);

    // The declined text comes back (the user copies it again): still the last result, so it
    // chains, but from a count of zero: two more runs pass before the next box.
    ASSERT_EQ(RunChained(), AutoReplaceVerdict::Proceed);
    ASSERT_EQ(RunChained(), AutoReplaceVerdict::Proceed);
    EXPECT_EQ(question.asked.size(), 1u);
    EXPECT_EQ(RunChained(), AutoReplaceVerdict::DeclinedByUser);
    EXPECT_EQ(question.asked.size(), 2u);
}

TEST_F(AutoReplaceGuardTest, LimitOfZeroOrLessActsAsOne) {
    for (int limit : {0, -3}) {
        SetLimit(limit);
        question.asked.clear();
        monotonic.now += 1h;  // a fresh chain for each limit
        ASSERT_EQ(Run(L"abc"), AutoReplaceVerdict::Proceed) << limit;
        EXPECT_TRUE(question.asked.empty()) << limit;
        EXPECT_EQ(RunChained(), AutoReplaceVerdict::Proceed) << limit;
        EXPECT_EQ(question.asked.size(), 1u) << limit;
    }
}

TEST_F(AutoReplaceGuardTest, TextOtherThanTheLastResultIsNeverCounted) {
    SetPrevention(true);
    ASSERT_EQ(Run(L"abc"), AutoReplaceVerdict::Proceed);
    // The earlier input, and any other text, within the interval: a new chain each time.
    EXPECT_EQ(guard.CheckConsecutiveAutoReplace(L"abc"), AutoReplaceVerdict::Proceed);
    EXPECT_EQ(guard.CheckConsecutiveAutoReplace(L"ABC!"), AutoReplaceVerdict::Proceed);
    EXPECT_EQ(guard.CheckConsecutiveAutoReplace(L"abc! "), AutoReplaceVerdict::Proceed);
    EXPECT_EQ(guard.CheckConsecutiveAutoReplace(L"abc"), AutoReplaceVerdict::Proceed);
    EXPECT_TRUE(question.asked.empty());
    // Text equal to the last result counts, whoever put it on the clipboard.
    EXPECT_EQ(guard.CheckConsecutiveAutoReplace(L"abc!"), AutoReplaceVerdict::Prohibited);
}

}  // namespace
}  // namespace veltrano
