#pragma once
// The hidden main window "VeltranoClass": it holds the tray icon, listens to the clipboard, takes
// the menus' commands, and routes each message to the features.
#include <windows.h>

#include <functional>
#include <optional>

#include "app/features.h"
#include "base/window_registrations.h"
#include "guard/clipboard_watchdog.h"
#include "settings/tray_clicks.h"

namespace veltrano {

class MainWindow {
public:
    MainWindow(HINSTANCE instance, DataPaths paths, SpeechStart speech, OrganizationFolderAccess organizationAccess);
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    // Registers the class and creates the window; false when creation failed.
    bool Create();
    // After the message loop: when it failed, the window is still there and ends now, as by 終了,
    // saying why.
    void EndAfterFailedLoop();

private:
    // Posted by the history's workers when a load has read the history folder or an entry's file
    // is written, and after the history menu.
    static constexpr UINT kHistoryWorkDoneMessage = WM_APP + 2;
    static constexpr UINT_PTR kTrayIconRetryTimerId = 3;

    // What the window holds while it guards the clipboard; its end takes every registration back.
    struct Listening {
        ClipboardListener listener;
        WindowTimer watchdogTimer;
        SessionNotification sessions;
    };

    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnCreate();
    void OnDestroy();
    // At exit and at the end of the session: no copy is heard any more, and every one is stored.
    void EndWork(StopReason reason);
    void OnClipboardUpdate();
    // Runs the pipeline on what the clipboard holds now, named by `arrived` when that was taken for
    // it; false when it could not be read.
    bool HandleClipboard(const std::optional<ArrivedClipboardSource>& arrived = std::nullopt);
    void OnTimer(UINT_PTR timerId);
    // Sleep, lock and remote sessions can cost the listener its registration.
    void OnSessionResumed();
    void RegisterListenerAgain();
    void OnTrayCallback(LPARAM lParam);

    // The tray icon, which a shell that is not ready yet or has just restarted may refuse for a while.
    bool AddTrayIcon();
    void RetryTrayIcon();
    void OnTrayIconRetryTimer();
    bool AddTrayIconWhenTheShellIsReady();

    // Tray actions (main_window_menus.cpp).
    void RunTrayAction(TrayAction action);
    void ShowMainMenu();
    void ShowManualReplaceMenu();
    void ShowClipboardHistoryMenu();
    void ShowCopyTextMenu();

    // Commands (main_window_commands.cpp).
    LRESULT OnCommand(WPARAM wParam, LPARAM lParam);
    void OpenDataFolder(const std::wstring& folder);
    // One dialog at a time: while one is open, the About and settings commands do nothing.
    void RunOneDialog(const std::function<void()>& run);
    void OnAboutCommand();
    void OnSettingsCommand();

    Features features_;
    ClipboardWatchdog watchdog_;
    TrayClickDecoder trayClicks_;
    HWND window_ = nullptr;
    StopReason stopReason_ = StopReason::User;  // what the coming WM_DESTROY ends for
    UINT taskbarCreatedMessage_ = 0;
    std::optional<Listening> listening_;
    WindowTimer trayIconRetry_;
    ULONGLONG trayIconRetryDeadline_ = 0;
    bool dialogOpen_ = false;
};

}  // namespace veltrano
