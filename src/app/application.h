#pragma once
// The process-wide state and the hidden main window "VeltranoClass" that owns the tray icon,
// receives clipboard updates and commands, and owns dialogs and menus.
#include <windows.h>

#include <functional>
#include <string>

#include "guard/clipboard.h"
#include "guard/clipboard_pipeline.h"
#include "guard/clipboard_watchdog.h"
#include "guard/detected_clipboard_clearing.h"
#include "app/message_box_question.h"
#include "app/speech_start.h"
#include "notify/tray_icon.h"
#include "base/local_clock.h"
#include "base/monotonic_clock.h"
#include "log/log_writer.h"
#include "matching/auto_replace.h"
#include "matching/auto_replace_guard.h"
#include "matching/keyword_lists.h"
#include "matching/keyword_search.h"
#include "matching/organization_keywords.h"
#include "matching/manual_replace.h"
#include "matching/replacement_definitions.h"
#include "notify/notification_dispatcher.h"
#include "settings/settings.h"
#include "settings/tray_clicks.h"
#include "storage/data_paths.h"
#include "storage/list_file_encryption.h"
#include "stores/clipboard_history.h"
#include "stores/copy_texts.h"
#include "textwindow/clipboard_text_window.h"

namespace veltrano {

class Application {
public:
    // `organizationAccess` reads the organisation's folder (a benchmark passes one that never returns).
    Application(HINSTANCE instance, DataPaths paths, SpeechStart speech, OrganizationFolderAccess organizationAccess);
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // Registers the class and creates the main window; false when creation failed.
    bool CreateMainWindow();

private:
    // Posted by the history's workers when a load has read the history folder or an entry's file
    // is written, and after the history menu.
    static constexpr UINT kHistoryWorkDoneMessage = WM_APP + 2;

    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnCreate();
    void OnDestroy();
    void OnClipboardUpdate();
    // Runs the pipeline on what the clipboard holds now; false when it could not be read.
    bool HandleClipboard();
    void OnTimer(UINT_PTR timerId);
    // Sleep, lock and remote sessions can cost the listener its registration.
    void OnSessionResumed();
    void RegisterListenerAgain();
    void OnTrayCallback(LPARAM lParam);

    // Tray actions (application_tray.cpp).
    void RunTrayAction(TrayAction action);
    void ShowMainMenu();
    void ShowManualReplaceMenu();
    void ShowClipboardHistoryMenu();
    void ShowCopyTextMenu();

    // Commands (application_commands.cpp).
    LRESULT OnCommand(WPARAM wParam, LPARAM lParam);
    // Opens one list file for editing, always in its text form.
    void OpenListFile(ListFileEncryption& encryption, ListFilePair& files, PatternSyntax syntax);
    void OpenDataFolder(const std::wstring& folder);
    // One dialog at a time: while one is open, the About and settings commands do nothing.
    void RunOneDialog(const std::function<void()>& run);
    void OnAboutCommand();
    void OnSettingsCommand();
    void OpenSettingsSheet();
    bool AddTrayIcon();
    bool AddTrayIconWhenTheShellIsReady();
    void OnTaskbarCreated();
    void ReportUnexpectedError();

    HINSTANCE instance_;
    DataPaths paths_;
    SpeechStart speech_;
    Settings settings_;
    SystemLocalClock clock_;
    LogWriter log_;
    NotificationDispatcher notifier_;
    MessageBoxQuestion question_;
    MessageBoxQuestion moveQuestion_{MB_ICONINFORMATION};
    SystemClipboard clipboard_;
    ShowableClipboard showableClipboard_{settings_};
    TrayIcon trayIcon_;
    ClipboardTextWindow textWindow_;
    ClipboardHistory history_;
    CopyTexts copyTexts_;
    KeywordLists keywordLists_;
    ListFileEncryption keywordEncryption_;
    OrganizationKeywords organizationKeywords_;
    KeywordSearch keywordSearch_;
    ReplacementDefinitions replacements_;
    ListFileEncryption replaceEncryption_;
    ManualReplace manualReplace_;
    SteadyMonotonicClock monotonicClock_;
    AutoReplaceGuard autoReplaceGuard_;
    AutoReplace autoReplace_;
    DetectedClipboardClearing clearing_;
    ClipboardPipeline pipeline_;
    ClipboardWatchdog watchdog_;
    TrayClickDecoder trayClicks_;
    // Filled once the main window listens to the clipboard, emptied when it is destroyed.
    std::function<void(ClipboardText copy)> clipboardHandler_;
    HWND window_ = nullptr;
    HWND listenerWindow_ = nullptr;
    UINT taskbarCreatedMessage_ = 0;
    bool trayIconAdded_ = false;
    bool addingTrayIcon_ = false;  // while AddTrayIconWhenTheShellIsReady waits for the shell
    bool dialogOpen_ = false;
};

}  // namespace veltrano
