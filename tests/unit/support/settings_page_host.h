#pragma once
// A settings page shown alone in a real modeless sheet, built from the program's own templates,
// with the real stores of a temporary program folder behind it.
#include <windows.h>
#include <commctrl.h>
#include <prsht.h>

#include <gtest/gtest.h>

#include <string>

#include "matching/keyword_lists.h"
#include "matching/replacement_definitions.h"
#include "settingsdialog/settings_page.h"
#include "stores/clipboard_history.h"
#include "support/answering_question.h"
#include "support/fake_clipboard.h"
#include "support/program_data.h"
#include "support/recording_notifier.h"
#include "textwindow/clipboard_text_window.h"

namespace veltrano::test {

inline constexpr int kApplyButton = 0x3021;  // the sheet's own Apply button

class SettingsPageHost : public ::testing::Test {
protected:
    SettingsPageHost() {
        const INITCOMMONCONTROLSEX controls{sizeof controls, ICC_UPDOWN_CLASS | ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
        ::InitCommonControlsEx(&controls);
        keywords.AttachEncryption(keywordEncryption);
        replacements.AttachEncryption(replaceEncryption);
    }
    ~SettingsPageHost() override {
        if (sheet) ::DestroyWindow(sheet);
    }

    // Shows `pageObject` alone; the page is initialized on return. Null when it could not be shown.
    HWND Open(SettingsPage& pageObject) {
        HPROPSHEETPAGE handle = pageObject.Create();
        if (!handle) return nullptr;
        PROPSHEETHEADERW header{};
        header.dwSize = sizeof header;
        header.dwFlags = PSH_MODELESS;
        header.hInstance = context.instance;
        header.pszCaption = L"設定 - Veltrano";
        header.nPages = 1;
        header.phpage = &handle;
        sheet = reinterpret_cast<HWND>(::PropertySheetW(&header));
        page = sheet ? PropSheet_GetCurrentPageHwnd(sheet) : nullptr;
        return page;
    }
    bool ApplyEnabled() const { return ::IsWindowEnabled(::GetDlgItem(sheet, kApplyButton)) != FALSE; }
    std::wstring StoredText(const wchar_t* section, const wchar_t* key) const {
        return data.settings.Ini().ReadString(section, key, L"(none)");
    }

    ProgramData data;
    RecordingNotifier notifier;
    AnsweringQuestion question{false};
    FakeClipboard clipboard;
    KeywordLists keywords{data.settings, data.paths, notifier, data.log};
    ListFileEncryption keywordEncryption{keywords.Family(), notifier, question};
    ReplacementDefinitions replacements{data.settings, data.paths, notifier, data.log};
    ListFileEncryption replaceEncryption{replacements.Family(), notifier, question};
    ClipboardHistory history{data.settings, data.paths, notifier, data.log, data.clock, clipboard};
    ClipboardTextWindow textWindow{::GetModuleHandleW(nullptr), data.settings, clipboard, question, {}};
    SettingsContext context{.instance = ::GetModuleHandleW(nullptr),
                            .owner = nullptr,
                            .settings = data.settings,
                            .notifier = notifier,
                            .keywordEncryption = keywordEncryption,
                            .replaceEncryption = replaceEncryption,
                            .replacements = replacements,
                            .history = history,
                            .textWindow = textWindow,
                            .voiceNames = {}};
    HWND sheet = nullptr;
    HWND page = nullptr;
};

}  // namespace veltrano::test
