#pragma once
// The process-wide state and the hidden main window "VeltranoClass" that owns the tray icon,
// receives clipboard updates and commands, and owns dialogs and menus.
#include <windows.h>

#include <functional>
#include <string>

#include "app/clipboard_pipeline.h"
#include "app/message_box_question.h"
#include "app/tray_icon.h"
#include "base/local_clock.h"
#include "log/log_writer.h"
#include "matching/keyword_lists.h"
#include "matching/keyword_search.h"
#include "notify/notification_dispatcher.h"
#include "settings/settings.h"
#include "storage/data_paths.h"
#include "storage/list_file_encryption.h"

namespace veltrano {

class Application {
public:
    Application(HINSTANCE instance, DataPaths paths);
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // Registers the class and creates the main window; false when creation failed.
    bool CreateMainWindow();

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnCreate();
    void OnDestroy();
    LRESULT OnCommand(WPARAM wParam, LPARAM lParam);
    void OnClipboardUpdate();
    void OnTaskbarCreated();
    void ReportUnexpectedError();

    HINSTANCE instance_;
    DataPaths paths_;
    Settings settings_;
    SystemLocalClock clock_;
    LogWriter log_;
    NotificationDispatcher notifier_;
    MessageBoxQuestion question_;
    TrayIcon trayIcon_;
    KeywordLists keywordLists_;
    ListFileEncryption keywordEncryption_;
    KeywordSearch keywordSearch_;
    ClipboardPipeline pipeline_;
    // Filled once the main window listens to the clipboard, emptied when it is destroyed.
    std::function<void(const std::wstring&)> clipboardHandler_;
    HWND window_ = nullptr;
    HWND listenerWindow_ = nullptr;
    UINT taskbarCreatedMessage_ = 0;
};

}  // namespace veltrano
