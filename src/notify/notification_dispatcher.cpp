#include "notify/notification_dispatcher.h"

#include <functional>
#include <memory>
#include <mutex>
#include <utility>

#include "base/detached_thread.h"
#include "base/error_text.h"
#include "notify/tray_icon.h"

namespace veltrano {

// Logs the first fallback of the run. The dispatcher lets go of the log before it goes, while a
// speech worker that fails later may still hold this.
struct NotificationDispatcher::FallbackLog {
    explicit FallbackLog(LogWriter& log) : log(&log) {}

    std::mutex mutex;
    LogWriter* log;
    bool written = false;

    void WriteOnce(std::wstring_view reason) {
        const std::lock_guard lock(mutex);
        if (!log || std::exchange(written, true)) return;
        log->WriteLog(LogCategory::Other, L"音声読み上げ",
                      L"音声で通知できないため、バルーンで通知しました。理由：" + std::wstring(reason));
    }
};

namespace {

constexpr UINT kBalloonTimeoutMs = 3000;

struct KindLook {
    DWORD balloonFlag;
    UINT boxIcon;
};

KindLook LookOf(NotifyKind kind) {
    switch (kind) {
        case NotifyKind::Warning: return {NIIF_WARNING, MB_ICONWARNING};
        case NotifyKind::Error: return {NIIF_ERROR, MB_ICONERROR};
        case NotifyKind::Info: break;
    }
    // Callers may pass any integer; everything unknown looks like Info.
    return {NIIF_INFO, MB_ICONINFORMATION};
}

}  // namespace

NotificationDispatcher::NotificationDispatcher(const Settings& settings, LogWriter& log)
    : NotificationDispatcher(settings, log, std::make_shared<DesktopSurface>()) {}

NotificationDispatcher::NotificationDispatcher(const Settings& settings, LogWriter& log,
                                               std::shared_ptr<NotificationSurface> surface)
    : settings_(settings), surface_(std::move(surface)), fallbackLog_(std::make_shared<FallbackLog>(log)) {}

NotificationDispatcher::~NotificationDispatcher() {
    const std::lock_guard lock(fallbackLog_->mutex);
    fallbackLog_->log = nullptr;
}

void NotificationDispatcher::AttachWindow(HWND mainWindow) noexcept { window_ = mainWindow; }

void NotificationDispatcher::AttachSpeech(std::shared_ptr<SpeechOutput> speech) noexcept { speech_ = std::move(speech); }

void NotificationDispatcher::StopSpeech() const noexcept {
    if (speech_) speech_->Stop();
}

void NotificationDispatcher::Notify(const std::wstring& body, const std::wstring& title, NotifyKind kind) {
    NotifyWithSpokenBody(body, body, title, kind);
}

void NotificationDispatcher::NotifyWithSpokenBody(const std::wstring& body, const std::wstring& spokenBody,
                                                  const std::wstring& title, NotifyKind kind) {
    // Read now, not cached, so a change on the settings page applies to the next notification.
    const auto mode = static_cast<NotifyMode>(settings_.NotifyMode());
    if (mode == NotifyMode::VoiceOnly) {
        // A warning nobody hears warns nobody: what cannot be spoken is shown.
        const NOTIFYICONDATAW balloon = BalloonRecord(body, title, kind);
        if (speech_) {
            StartSpeech(spokenBody, title, balloon);
        } else {
            surface_->ShowBalloon(balloon);
            fallbackLog_->WriteOnce(L"音声読み上げが使えません");
        }
        return;
    }
    if (speech_ && (mode == NotifyMode::VoiceAndBalloon || mode == NotifyMode::VoiceAndMessageBox)) {
        StartSpeech(spokenBody, title, std::nullopt);
    }
    if (mode == NotifyMode::MessageBoxOnly || mode == NotifyMode::VoiceAndMessageBox) {
        StartMessageBox(body, title, kind);
        return;
    }
    ShowBalloon(body, title, kind);
}

void NotificationDispatcher::StartSpeech(const std::wstring& spokenBody, const std::wstring& title,
                                         std::optional<NOTIFYICONDATAW> fallback) const {
    StartDetachedThread([speech = speech_, surface = surface_, fallbackLog = fallbackLog_, fallback,
                         volume = settings_.VoiceVolume(), voice = settings_.VoiceName(),
                         text = L"タイトル、" + title + L"。本文、" + spokenBody] {
        speech->SetVolume(volume / 100.0);
        SpeechOutput::Ticket ticket;
        try {
            ticket = speech->Speak(text, voice);
        } catch (...) {
            // Shell_NotifyIconW may be called from any thread; without a fallback the balloon or
            // box beside the voice already tells the user.
            if (!fallback) return;
            surface->ShowBalloon(*fallback);
            fallbackLog->WriteOnce(CurrentErrorText());
            return;
        }
        speech->WaitUntilFinished(ticket);
    });
}

void NotificationDispatcher::StartMessageBox(const std::wstring& body, const std::wstring& title,
                                             NotifyKind kind) const {
    StartDetachedThread([surface = surface_, speech = speech_, owner = ::IsWindow(window_) ? window_ : nullptr, body,
                         caption = MakeCaption(title), icon = LookOf(kind).boxIcon] {
        surface->ShowMessageBox(owner, body, caption, icon);
        // Dismissing the box also silences the voice that reads it out.
        if (speech) speech->Stop();
    });
}

NOTIFYICONDATAW NotificationDispatcher::BalloonRecord(const std::wstring& body, const std::wstring& title,
                                                     NotifyKind kind) const {
    return TrayIcon::BalloonRecord(window_, body, MakeCaption(title), LookOf(kind).balloonFlag, kBalloonTimeoutMs);
}

void NotificationDispatcher::ShowBalloon(const std::wstring& body, const std::wstring& title, NotifyKind kind) {
    surface_->ShowBalloon(BalloonRecord(body, title, kind));
}

}  // namespace veltrano
