#pragma once
// Every part of the guard, built and wired in one place, in the order they depend on each other.
// The main window routes its messages to them.
#include <windows.h>

#include <functional>

#include "app/message_box_question.h"
#include "app/speech_start.h"
#include "base/local_clock.h"
#include "base/monotonic_clock.h"
#include "guard/clipboard.h"
#include "guard/clipboard_pipeline.h"
#include "guard/detected_clipboard_clearing.h"
#include "log/log_writer.h"
#include "matching/auto_replace.h"
#include "matching/auto_replace_guard.h"
#include "matching/keyword_lists.h"
#include "matching/keyword_search.h"
#include "matching/manual_replace.h"
#include "matching/organization_keywords.h"
#include "matching/replacement_definitions.h"
#include "notify/notification_dispatcher.h"
#include "notify/tray_icon.h"
#include "settings/settings.h"
#include "settings/tray_clicks.h"
#include "storage/data_paths.h"
#include "storage/list_file_encryption.h"
#include "stores/clipboard_history.h"
#include "stores/copy_texts.h"
#include "textwindow/clipboard_text_window.h"

namespace veltrano {

// Why the guard ends, as its last event tells an administrator.
enum class StopReason { User, SessionEnd, Installer, Error };

class Features {
public:
    // `organizationAccess` reads the organisation's folder (a benchmark passes one that never
    // returns); `runTrayClick` runs what a click on the clipboard text window is assigned.
    Features(HINSTANCE instance, DataPaths paths, SpeechStart speech, OrganizationFolderAccess organizationAccess,
             std::function<void(TrayButton)> runTrayClick);
    Features(const Features&) = delete;
    Features& operator=(const Features&) = delete;

    // The main window exists and holds the tray icon: the features that show or read through it
    // start. `workDone` is the message the history's workers post to it when they finish.
    void Start(HWND window, bool firstStart, UINT workDone);
    // The main window goes, or the session ends: nothing may still wait for it, and every copy is
    // on disk when it returns. May come twice; the end is reported once.
    void Stop(StopReason reason);

    // Open one list file for editing, always in its text form.
    void OpenKeywordFile(PatternSyntax syntax) { OpenListFile(keywordEncryption, keywordLists.Files(), syntax); }
    void OpenReplacementFile(PatternSyntax syntax) { OpenListFile(replaceEncryption, replacements.Files(), syntax); }
    void OpenSettingsSheet(HWND owner);
    // Logs and shows the exception being handled; a failing report is dropped.
    void ReportUnexpectedError();

    HINSTANCE instance;
    DataPaths paths;
    SpeechStart speech;
    Settings settings;
    SystemLocalClock clock;
    LogWriter log;
    NotificationDispatcher notifier;
    MessageBoxQuestion question;
    MessageBoxQuestion moveQuestion{MB_ICONINFORMATION};
    SystemClipboard clipboard;
    ShowableClipboard showableClipboard{settings};
    TrayIcon trayIcon;
    ClipboardTextWindow textWindow;
    ClipboardHistory history;
    CopyTexts copyTexts;
    KeywordLists keywordLists;
    ListFileEncryption keywordEncryption;
    OrganizationKeywords organizationKeywords;
    KeywordSearch keywordSearch;
    ReplacementDefinitions replacements;
    ListFileEncryption replaceEncryption;
    ManualReplace manualReplace;
    SteadyMonotonicClock monotonicClock;
    AutoReplaceGuard autoReplaceGuard;
    AutoReplace autoReplace;
    DetectedClipboardClearing clearing;
    ClipboardPipeline pipeline;

private:
    void OpenListFile(ListFileEncryption& encryption, ListFilePair& files, PatternSyntax syntax);
    void ReportStarted();

    bool guarding_ = false;  // from Start until the first Stop
};

}  // namespace veltrano
