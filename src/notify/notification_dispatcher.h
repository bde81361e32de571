#pragma once
// Shows each report the way the user's notification mode asks: as a balloon of the tray icon,
// a message box, speech, or speech with either. The balloon is shown at once on the calling
// (user-interface) thread; message boxes and speech each run on a detached worker thread, so
// the caller never waits for the user or the voice. What "voice only" cannot speak is shown as
// a balloon, from the speech worker when the speech fails there.
#include <windows.h>

#include <memory>
#include <optional>
#include <string>

#include "base/notifier.h"
#include "log/log_writer.h"
#include "notify/desktop_surface.h"
#include "notify/speech/speech_output.h"
#include "settings/settings.h"

namespace veltrano {

// The values of the setting [Notify] NotifyMode, in the order of the settings page's list.
enum class NotifyMode : int {
    BalloonOnly = 0,
    MessageBoxOnly = 1,
    VoiceOnly = 2,
    VoiceAndBalloon = 3,
    VoiceAndMessageBox = 4,
};

class NotificationDispatcher final : public Notifier {
public:
    // `settings` is read at every Notify and must outlive the dispatcher, like `log`, which gets
    // the first fallback of a run to a balloon.
    NotificationDispatcher(const Settings& settings, LogWriter& log);
    NotificationDispatcher(const Settings& settings, LogWriter& log, std::shared_ptr<NotificationSurface> surface);
    ~NotificationDispatcher();
    NotificationDispatcher(const NotificationDispatcher&) = delete;
    NotificationDispatcher& operator=(const NotificationDispatcher&) = delete;

    // Once, when the main window is created: balloons go to its tray icon (id 1), and message
    // boxes are owned by it while it is a window.
    void AttachWindow(HWND mainWindow) noexcept;
    // Once, when the main window is created. Until then (or with null) the speech modes behave
    // as if no voice existed: modes 2 and 3 show the balloon, 4 the message box.
    void AttachSpeech(std::shared_ptr<SpeechOutput> speech) noexcept;

    // Silences the voice at once, if one is attached and speaking.
    void StopSpeech() const noexcept;

    // On the user-interface thread only. Throws std::system_error when a worker cannot start.
    void Notify(const std::wstring& body, const std::wstring& title, NotifyKind kind) override;
    void NotifyWithSpokenBody(const std::wstring& body, const std::wstring& spokenBody, const std::wstring& title,
                              NotifyKind kind) override;

    // A balloon whatever the notification mode (the first start's notice).
    void ShowBalloon(const std::wstring& body, const std::wstring& title, NotifyKind kind);

private:
    struct FallbackLog;

    // `fallback`: the balloon shown when the speech cannot be heard; none when a balloon or box
    // is shown beside it anyway.
    void StartSpeech(const std::wstring& spokenBody, const std::wstring& title,
                     std::optional<NOTIFYICONDATAW> fallback) const;
    NOTIFYICONDATAW BalloonRecord(const std::wstring& body, const std::wstring& title, NotifyKind kind) const;
    void StartMessageBox(const std::wstring& body, const std::wstring& title, NotifyKind kind) const;

    const Settings& settings_;
    // Shared with the workers, which may outlive the dispatcher.
    std::shared_ptr<NotificationSurface> surface_;
    std::shared_ptr<SpeechOutput> speech_;
    std::shared_ptr<FallbackLog> fallbackLog_;  // shared with the speech workers
    HWND window_ = nullptr;
};

}  // namespace veltrano
