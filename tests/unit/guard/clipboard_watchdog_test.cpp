#include "guard/clipboard_watchdog.h"

#include <gtest/gtest.h>

#include <vector>

namespace veltrano {
namespace {

// The system's side: a sequence number that each copy moves on and a listener that may be lost.
struct SimulatedClipboard {
    DWORD sequence = 10;
    bool listening = true;
    bool held = false;  // a writer holds the clipboard: nothing can be read
    int registrations = 0;
    std::vector<DWORD> handled;  // by the pipeline, from updates and from recoveries
    ClipboardWatchdog watchdog{{.sequenceNumber = [this] { return sequence; },
                                .registerAgain =
                                    [this] {
                                        ++registrations;
                                        listening = true;
                                    },
                                .handleMissed =
                                    [this](DWORD current) {
                                        if (!held) handled.push_back(current);
                                        return !held;
                                    }}};

    // A copy; true when the listener will announce it.
    bool Copy() {
        sequence += 3;  // emptying, setting and closing each count
        return listening;
    }
    void Announce() {
        if (!watchdog.OnUpdate(sequence)) return;
        if (held) {
            watchdog.OnReadFailed(sequence);
        } else {
            handled.push_back(sequence);
        }
    }
};

TEST(ClipboardWatchdog, HandlesACopyNoUpdateAnnouncedAtTheSecondCheckAndOnlyOnce) {
    SimulatedClipboard clipboard;
    clipboard.watchdog.Start();
    clipboard.watchdog.OnCheck();
    ASSERT_TRUE(clipboard.Copy());
    clipboard.Announce();
    clipboard.watchdog.OnCheck();
    clipboard.watchdog.OnCheck();
    EXPECT_EQ(clipboard.handled, std::vector<DWORD>{13}) << "the copy on the clipboard at start is no copy to handle";

    // An update still on its way at one check is awaited.
    clipboard.Copy();
    clipboard.watchdog.OnCheck();
    clipboard.Announce();
    clipboard.watchdog.OnCheck();
    EXPECT_EQ(clipboard.handled, (std::vector<DWORD>{13, 16}));
    EXPECT_EQ(clipboard.registrations, 0);

    // The listener is lost and a copy arrives meanwhile: handled at the second check, registered again.
    clipboard.listening = false;
    EXPECT_FALSE(clipboard.Copy());
    clipboard.watchdog.OnCheck();
    EXPECT_EQ(clipboard.handled.size(), 2u);
    clipboard.watchdog.OnCheck();
    EXPECT_EQ(clipboard.handled, (std::vector<DWORD>{13, 16, 19}));
    EXPECT_EQ(clipboard.registrations, 1);
    EXPECT_TRUE(clipboard.listening);
    clipboard.Announce();  // its update comes late after all: not handled twice
    EXPECT_EQ(clipboard.handled.size(), 3u);
    clipboard.watchdog.OnCheck();
    clipboard.watchdog.OnCheck();
    ASSERT_TRUE(clipboard.Copy());
    clipboard.Announce();
    EXPECT_EQ(clipboard.handled, (std::vector<DWORD>{13, 16, 19, 22}));
    EXPECT_EQ(clipboard.registrations, 1);
}

TEST(ClipboardWatchdog, AResumedSessionRegistersAgainAndHandlesAMissedCopyAtOnce) {
    SimulatedClipboard clipboard;
    clipboard.watchdog.Start();
    clipboard.watchdog.OnSessionResumed();
    EXPECT_EQ(clipboard.registrations, 1);
    EXPECT_TRUE(clipboard.handled.empty());

    clipboard.listening = false;  // lost in sleep, and something was copied on waking
    clipboard.Copy();
    clipboard.watchdog.OnSessionResumed();
    EXPECT_EQ(clipboard.handled, std::vector<DWORD>{13});
    EXPECT_EQ(clipboard.registrations, 2);
    clipboard.watchdog.OnCheck();
    clipboard.watchdog.OnCheck();
    EXPECT_EQ(clipboard.handled.size(), 1u);
}

// A copy that could not be read, by a recovery or at its update, is not taken as handled.
TEST(ClipboardWatchdog, ACopyThatCouldNotBeReadIsTakenUpAgain) {
    SimulatedClipboard clipboard;
    clipboard.watchdog.Start();
    clipboard.listening = false;
    clipboard.Copy();
    clipboard.held = true;
    clipboard.watchdog.OnSessionResumed();
    clipboard.held = false;
    clipboard.Announce();  // its late update
    EXPECT_EQ(clipboard.handled, std::vector<DWORD>{13});

    clipboard.Copy();
    clipboard.held = true;
    clipboard.Announce();
    clipboard.held = false;
    clipboard.watchdog.OnCheck();
    clipboard.watchdog.OnCheck();
    EXPECT_EQ(clipboard.handled, (std::vector<DWORD>{13, 16}));
}

TEST(ClipboardWatchdog, WithoutSequenceNumbersItNeverActsAndNoUpdateIsSkipped) {
    SimulatedClipboard clipboard;
    clipboard.sequence = 0;  // a session without clipboard access reads 0 always
    clipboard.watchdog.Start();
    clipboard.watchdog.OnCheck();
    clipboard.watchdog.OnCheck();
    clipboard.watchdog.OnSessionResumed();
    clipboard.Announce();
    clipboard.Announce();
    EXPECT_EQ(clipboard.handled, (std::vector<DWORD>{0, 0}));
    EXPECT_EQ(clipboard.registrations, 1);
}

}  // namespace
}  // namespace veltrano
