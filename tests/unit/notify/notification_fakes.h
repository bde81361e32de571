#pragma once
// Fakes for the two seams of the notification dispatcher: the desktop (a person reading and
// closing message boxes) and the speech player. Calls arrive on worker threads, so everything is
// recorded under one lock and tests wait for what they expect.
#include <windows.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>
#include <vector>

#include "base/text_encoding.h"
#include "notify/desktop_surface.h"
#include "notify/speech/speech_output.h"

namespace veltrano::test {

struct ShownBox {
    HWND owner;
    std::wstring text;
    std::wstring caption;
    UINT icon;
};

struct SpokenText {
    std::wstring text;
    std::wstring voiceName;
};

struct NotificationRecords {
    std::vector<NOTIFYICONDATAW> balloons;
    std::vector<ShownBox> boxes;
    std::vector<std::wstring> speechCalls;  // member names in call order
    std::vector<double> volumes;
    std::vector<SpokenText> spoken;
};

class NotificationRecorder {
public:
    template <typename Change>
    void Record(Change change) {
        {
            std::lock_guard lock(mutex_);
            change(records_);
        }
        changed_.notify_all();
    }

    // True once `condition` holds; the bound only keeps a broken test from hanging.
    template <typename Condition>
    bool WaitUntil(Condition condition) {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, std::chrono::seconds(30), [&] { return condition(records_); });
    }

    NotificationRecords Snapshot() {
        std::lock_guard lock(mutex_);
        return records_;
    }

    // While held, every box stays open (its worker blocked) until ReleaseBoxes.
    void HoldBoxes() {
        std::lock_guard lock(mutex_);
        holdBoxes_ = true;
    }
    void ReleaseBoxes() {
        {
            std::lock_guard lock(mutex_);
            holdBoxes_ = false;
        }
        changed_.notify_all();
    }
    void WaitWhileBoxesHeld() {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return !holdBoxes_; });
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    NotificationRecords records_;
    bool holdBoxes_ = false;
};

class FakeSurface final : public NotificationSurface {
public:
    explicit FakeSurface(std::shared_ptr<NotificationRecorder> recorder) : recorder_(std::move(recorder)) {}

    void ShowBalloon(const NOTIFYICONDATAW& record) override {
        recorder_->Record([&](NotificationRecords& records) { records.balloons.push_back(record); });
    }
    void ShowMessageBox(HWND owner, const std::wstring& text, const std::wstring& caption, UINT icon) override {
        recorder_->Record([&](NotificationRecords& records) { records.boxes.push_back({owner, text, caption, icon}); });
        recorder_->WaitWhileBoxesHeld();
    }

private:
    std::shared_ptr<NotificationRecorder> recorder_;
};

// Speaks nothing; the speech "finishes" at once, or Speak fails when given a failure.
class FakeSpeech final : public SpeechOutput {
public:
    FakeSpeech(std::shared_ptr<NotificationRecorder> recorder, std::wstring failure)
        : recorder_(std::move(recorder)), failure_(std::move(failure)) {}

    void SetVolume(double volume) override {
        recorder_->Record([&](NotificationRecords& records) {
            records.speechCalls.push_back(L"SetVolume");
            records.volumes.push_back(volume);
        });
    }
    Ticket Speak(const std::wstring& text, const std::wstring& voiceName) override {
        if (!failure_.empty()) throw std::runtime_error(WideToUtf8(failure_));
        recorder_->Record([&](NotificationRecords& records) {
            records.speechCalls.push_back(L"Speak");
            records.spoken.push_back({text, voiceName});
        });
        return ++lastTicket_;
    }
    void WaitUntilFinished(Ticket) override { RecordCall(L"WaitUntilFinished"); }
    void Stop() override { RecordCall(L"Stop"); }

private:
    void RecordCall(const wchar_t* name) {
        recorder_->Record([&](NotificationRecords& records) { records.speechCalls.push_back(name); });
    }
    std::shared_ptr<NotificationRecorder> recorder_;
    std::wstring failure_;
    std::atomic<Ticket> lastTicket_{0};
};

}  // namespace veltrano::test
