#include "app/application.h"

#include <shlwapi.h>
#include <wtsapi32.h>

#include <algorithm>

#include "guard/clipboard.h"
#include "app/tray_assignments.h"
#include "guard/tray_tip.h"
#include "base/error_text.h"
#include "base/scope_exit.h"
#include "base/window_object.h"
#include "log/failure_report.h"
#include "resource.h"

namespace veltrano {
namespace {

constexpr wchar_t kMainWindowClass[] = L"VeltranoClass";
constexpr wchar_t kProductName[] = L"Veltrano";
constexpr wchar_t kFirstStartNotice[] =
    L"Veltrano がクリップボードの監視を始めました。カード番号とマイナンバーを検出します。設定はトレイアイコンの右クリックから。";

std::wstring TextOf(std::optional<ClipboardText> read) { return read ? std::move(read->text) : std::wstring(); }

}  // namespace

Application::Application(HINSTANCE instance, DataPaths paths, SpeechStart speech,
                         OrganizationFolderAccess organizationAccess)
    : instance_(instance),
      paths_(std::move(paths)),
      speech_(std::move(speech)),
      settings_(paths_.SettingsFile()),
      log_(settings_, paths_, clock_),
      notifier_(settings_),
      textWindow_(instance_, settings_, showableClipboard_, moveQuestion_,
                  {.runClick = [this](TrayButton click) { RunTrayAction(settings_.TrayClick(click)); },
                   .stopSpeech = [this] { notifier_.StopSpeech(); },
                   .reportError = [this] { ReportUnexpectedError(); }}),
      history_(settings_, paths_, notifier_, log_, clock_, clipboard_),
      copyTexts_(paths_, notifier_, log_, clipboard_),
      keywordLists_(settings_, paths_, notifier_, log_),
      keywordEncryption_(keywordLists_.Family(), notifier_, question_),
      organizationKeywords_(settings_, paths_, log_),
      keywordSearch_(keywordLists_, settings_, notifier_, log_, &organizationKeywords_),
      replacements_(settings_, paths_, notifier_, log_),
      replaceEncryption_(replacements_.Family(), notifier_, question_),
      manualReplace_(settings_, replacements_, showableClipboard_, clipboard_, notifier_, log_),
      autoReplaceGuard_(settings_, monotonicClock_, question_),
      autoReplace_(settings_, replacements_, autoReplaceGuard_, clipboard_, notifier_, log_),
      clearing_(settings_, log_),
      pipeline_({settings_, trayIcon_, textWindow_, history_, autoReplace_, keywordSearch_, clearing_, notifier_, log_}),
      watchdog_({.sequenceNumber = [] { return ::GetClipboardSequenceNumber(); },
                 .registerAgain = [this] { RegisterListenerAgain(); },
                 .handleMissed =
                     [this](DWORD) {
                         log_.WriteLog(LogCategory::Other, L"クリップボード監視", L"クリップボード監視を再開しました");
                         log_.ReportEvent(EventId::ListenerRenewed, {});
                         return HandleClipboard();
                     }}) {
    settings_.Policy().SetIgnoredReporter(
        [this](const std::wstring& message) { log_.WriteLog(LogCategory::Other, L"ポリシー値の無視", message); });
    keywordLists_.AttachEncryption(keywordEncryption_);
    replacements_.AttachEncryption(replaceEncryption_);
    organizationKeywords_.SetFolderAccess(std::move(organizationAccess));
}

bool Application::CreateMainWindow() {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = &Application::WindowProc;
    windowClass.hInstance = instance_;
    windowClass.hIcon = ::LoadIconW(instance_, MAKEINTRESOURCEW(IDI_VELTRANO));
    windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = kMainWindowClass;
    if (!::RegisterClassExW(&windowClass)) return false;

    // An ordinary top-level window, never shown, so that it receives shell broadcasts.
    return ::CreateWindowExW(0, kMainWindowClass, kProductName, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                             CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance_, this) != nullptr;
}

LRESULT CALLBACK Application::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = WindowObject(window, message, lParam, &Application::window_);
    if (!self) return ::DefWindowProcW(window, message, wParam, lParam);

    // Nothing may escape into the system's message dispatch.
    try {
        return self->HandleMessage(message, wParam, lParam);
    } catch (...) {
        self->ReportUnexpectedError();
    }
    return message == WM_CREATE ? -1 : 0;
}

LRESULT Application::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE: return OnCreate();
        case WM_DESTROY: OnDestroy(); return 0;
        case WM_COMMAND: return OnCommand(wParam, lParam);
        case kTrayCallbackMessage: OnTrayCallback(lParam); return 0;
        case WM_CLIPBOARDUPDATE: OnClipboardUpdate(); return ::DefWindowProcW(window_, message, wParam, lParam);
        case kHistoryWorkDoneMessage:
            history_.CompleteLoad();
            history_.CompleteWrites();
            return 0;
        case WM_TIMER: OnTimer(wParam); return 0;
        case WM_ENDSESSION:
            // Windows ends the process once this returns: the copies still being sealed are written first.
            if (wParam) history_.FinishWrites();
            return 0;
        case WM_POWERBROADCAST:
            if (wParam == PBT_APMRESUMEAUTOMATIC) OnSessionResumed();
            break;
        case WM_WTSSESSION_CHANGE:
            if (wParam == WTS_SESSION_UNLOCK || wParam == WTS_CONSOLE_CONNECT || wParam == WTS_REMOTE_CONNECT) {
                OnSessionResumed();
            }
            break;
    }
    if (taskbarCreatedMessage_ != 0 && message == taskbarCreatedMessage_) {
        OnTaskbarCreated();
        return 0;
    }
    return ::DefWindowProcW(window_, message, wParam, lParam);
}

LRESULT Application::OnCreate() {
    // Before anything saves a setting: no settings file yet is the user's first start.
    const bool firstStart = !::PathFileExistsW(paths_.SettingsFile().c_str());
    // Registered first: the shell announces itself with it when it starts after us.
    taskbarCreatedMessage_ = ::RegisterWindowMessageW(kTaskbarCreatedMessageName);
    if (!AddTrayIconWhenTheShellIsReady()) {
        ::MessageBoxW(window_, L"タスクトレイアイコンの登録に失敗しました", L"エラー - Veltrano", MB_ICONERROR);
        return -1;
    }
    notifier_.AttachWindow(window_);
    if (speech_.player) {
        notifier_.AttachSpeech(speech_.player);
    } else {
        log_.WriteLog(LogCategory::Other, L"音声読み上げ", L"音声読み上げは使えません。理由：" + speech_.failure);
    }
    if (firstStart && !settings_.FirstStartNoticeShown()) {
        notifier_.ShowBalloon(kFirstStartNotice, kProductName, NotifyKind::Info);
        settings_.Write(setting::kFirstStartNoticeShown, true);
    }
    FixTrayAssignments(settings_, notifier_, log_);
    keywordLists_.Reload();
    organizationKeywords_.Start();
    if (settings_.UseClipboardReplace()) replacements_.Reload();
    pipeline_.SetAutoReplaceEnabled(settings_.InitialAutoReplaceEnable());
    // Read and written on workers: neither a full history nor a giant copy's sealing may keep the
    // clipboard listener or a warning box waiting.
    const auto postWorkDone = [window = window_] { ::PostMessageW(window, kHistoryWorkDoneMessage, 0, 0); };
    history_.SetLoadedHandler(postWorkDone);
    history_.SetWrittenHandler(postWorkDone);
    history_.Load();
    copyTexts_.EncryptAndReload();  // quietly: its log tells what happened
    if (settings_.UseClipboardTextWindow()) textWindow_.ShowTextWindow(window_);
    clearing_.AttachWindow(window_);
    listenerWindow_ = window_;
    ::AddClipboardFormatListener(listenerWindow_);
    clipboardHandler_ = [this](ClipboardText copy) { pipeline_.ProcessClipboardText(std::move(copy)); };
    watchdog_.Start();
    ::SetTimer(window_, ClipboardWatchdog::kTimerId, ClipboardWatchdog::kCheckIntervalMs, nullptr);
    ::WTSRegisterSessionNotification(window_, NOTIFY_FOR_THIS_SESSION);
    return 0;
}

void Application::OnDestroy() {
    ::WTSUnRegisterSessionNotification(window_);
    ::KillTimer(window_, ClipboardWatchdog::kTimerId);
    if (listenerWindow_) {
        ::RemoveClipboardFormatListener(listenerWindow_);
        listenerWindow_ = nullptr;
    }
    clipboardHandler_ = nullptr;
    clearing_.Cancel();
    history_.StopLoading();
    trayIcon_.Remove();
    ::PostQuitMessage(0);
}

void Application::OnClipboardUpdate() {
    if (!clipboardHandler_) return;
    const DWORD sequence = ::GetClipboardSequenceNumber();
    if (watchdog_.OnUpdate(sequence) && !HandleClipboard()) watchdog_.OnReadFailed(sequence);
}

bool Application::HandleClipboard() {
    clearing_.Cancel();
    // A private copy is handled as an update without text, so the last text leaves the screen too.
    ShowableClipboard::Reading reading = showableClipboard_.ReadCopy(window_);
    if (!reading.copy) {
        pipeline_.ProcessNoText();
        return reading.opened;
    }
    clipboardHandler_(std::move(*reading.copy));
    return true;
}

void Application::OnTimer(UINT_PTR timerId) {
    if (timerId == DetectedClipboardClearing::kTimerId && clearing_.OnTimer()) pipeline_.ProcessNoText();
    if (timerId == ClipboardWatchdog::kTimerId && clipboardHandler_) watchdog_.OnCheck();
}

void Application::OnSessionResumed() {
    if (clipboardHandler_) watchdog_.OnSessionResumed();
}

void Application::RegisterListenerAgain() {
    if (!listenerWindow_) return;
    ::RemoveClipboardFormatListener(listenerWindow_);
    ::AddClipboardFormatListener(listenerWindow_);
}

void Application::OnTrayCallback(LPARAM lParam) {
    const TrayClickDecision decision = trayClicks_.OnMouseMessage(
        LOWORD(lParam), ::GetAsyncKeyState(VK_LBUTTON) < 0, ::GetAsyncKeyState(VK_RBUTTON) < 0);
    if (decision.stopSpeech) notifier_.StopSpeech();
    if (!decision.button) return;
    RunTrayAction(settings_.TrayClick(*decision.button));
    trayClicks_.AfterAction(*decision.button);
}

bool Application::AddTrayIcon() {
    // The tooltip shows what the clipboard holds at this moment, unless it is a private copy.
    return trayIcon_.Add(window_, instance_, BuildTrayTip(TextOf(showableClipboard_.Read(window_))));
}

bool Application::AddTrayIconWhenTheShellIsReady() {
    // At logon the program may start before the shell accepts icons: retry for a while, with
    // messages dispatched so that "TaskbarCreated" can add the icon as soon as it comes.
    addingTrayIcon_ = true;
    const ScopeExit done([this] { addingTrayIcon_ = false; });
    constexpr ULONGLONG kPatienceMs = 10000;
    constexpr DWORD kRetryMs = 500;
    const ULONGLONG deadline = ::GetTickCount64() + kPatienceMs;
    trayIconAdded_ = AddTrayIcon();
    while (!trayIconAdded_) {
        const ULONGLONG now = ::GetTickCount64();
        if (now >= deadline) return false;
        const ULONGLONG retryAt = now + std::min<ULONGLONG>(kRetryMs, deadline - now);
        for (ULONGLONG time = now; !trayIconAdded_ && time < retryAt; time = ::GetTickCount64()) {
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(retryAt - time), QS_ALLINPUT);
            MSG message;
            while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
                if (message.message == WM_QUIT) {
                    ::PostQuitMessage(static_cast<int>(message.wParam));
                    return false;
                }
                ::TranslateMessage(&message);
                ::DispatchMessageW(&message);
            }
        }
        if (!trayIconAdded_) trayIconAdded_ = AddTrayIcon();
    }
    return true;
}

void Application::OnTaskbarCreated() {
    // A restarted shell may refuse icons for a moment too. While the retries run, a second
    // announcement only tries once more.
    if (addingTrayIcon_) {
        trayIconAdded_ = AddTrayIcon();
        return;
    }
    if (!AddTrayIconWhenTheShellIsReady() && clipboardHandler_) {
        log_.WriteLog(LogCategory::Other, L"エラー", L"タスクトレイアイコンの再登録に失敗しました");
    }
}

void Application::ReportUnexpectedError() {
    ReportFailure(log_, notifier_, {LogCategory::Other, L"エラー", L""}, CurrentErrorText());
}

}  // namespace veltrano
