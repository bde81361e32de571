#pragma once
// The dispatcher under test with its fakes, and a real settings file in a temporary folder.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

#include "base/text_encoding.h"
#include "notification_fakes.h"
#include "notify/notification_dispatcher.h"
#include "support/program_data.h"
#include "support/raw_files.h"

namespace veltrano::test {

inline bool HasCall(const NotificationRecords& records, const wchar_t* name) {
    return std::find(records.speechCalls.begin(), records.speechCalls.end(), name) != records.speechCalls.end();
}

// A speech worker has run to its end once it waited for the voice.
inline bool SpeechDone(const NotificationRecords& records) { return HasCall(records, L"WaitUntilFinished"); }

inline std::string Utf8(std::wstring_view text) { return WideToUtf8(text); }

class NotificationDispatcherTest : public ::testing::Test, protected ProgramData {
protected:
    // No worker may stay blocked on a box after its test.
    void TearDown() override { recorder->ReleaseBoxes(); }

    // Stored as text, the way a user edits the file.
    void Store(const wchar_t* key, const std::wstring& value) {
        ASSERT_TRUE(settings.Ini().WriteString(section::kNotify, key, value));
    }
    void SetMode(const std::wstring& value) { Store(L"NotifyMode", value); }
    // `failure`: the reason Speak throws with; empty, it speaks.
    void AttachSpeech(const std::wstring& failure = L"") {
        dispatcher.AttachSpeech(std::make_shared<FakeSpeech>(recorder, failure));
    }
    std::wstring LogText() const {
        const std::string bytes = ReadBytes(log.LogFilePath());
        return bytes.size() < 3 ? L"" : Utf8ToWide(std::string_view(bytes).substr(3));  // after the byte order mark
    }

    NotificationRecords WaitFor(bool (*condition)(const NotificationRecords&)) {
        EXPECT_TRUE(recorder->WaitUntil(condition));
        return recorder->Snapshot();
    }
    ShownBox WaitForOneBox() {
        const auto records = WaitFor([](const NotificationRecords& r) { return !r.boxes.empty(); });
        EXPECT_EQ(records.boxes.size(), 1u);
        return records.boxes.empty() ? ShownBox{} : records.boxes.front();
    }
    NOTIFYICONDATAW OnlyBalloon() {
        const auto records = recorder->Snapshot();
        EXPECT_EQ(records.balloons.size(), 1u);
        return records.balloons.empty() ? NOTIFYICONDATAW{} : records.balloons.front();
    }

    std::shared_ptr<NotificationRecorder> recorder = std::make_shared<NotificationRecorder>();
    NotificationDispatcher dispatcher{settings, log, std::make_shared<FakeSurface>(recorder)};
};

}  // namespace veltrano::test
