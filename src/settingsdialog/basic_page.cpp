#include "settingsdialog/basic_page.h"

#include <commctrl.h>

#include <algorithm>
#include <vector>

#include "resource.h"
#include "settingsdialog/startup_shortcut.h"

namespace veltrano {
namespace {

constexpr int kVolumeStep = 5;

constexpr const wchar_t* kModeTexts[] = {L"バルーンのみ", L"メッセージボックスのみ", L"音声のみ", L"音声 ＋ バルーン",
                                         L"音声 ＋ メッセージボックス"};

int SelectedIndex(HWND list) { return static_cast<int>(::SendMessageW(list, CB_GETCURSEL, 0, 0)); }

}  // namespace

int VolumeAfterWheel(int volume, int wheelDelta) {
    return std::clamp(volume + (wheelDelta > 0 ? kVolumeStep : -kVolumeStep), setting::kVoiceVolume.low,
                      setting::kVoiceVolume.high);
}

BasicPage::BasicPage(SettingsContext& context) : SettingsPage(context, IDD_PAGE_BASIC) {}

void BasicPage::OnInit() {
    Tick(IDC_BASIC_ENCRYPT_KEYWORDS, Stored().EncryptKeywordFile());
    Tick(IDC_BASIC_START_WITH_WINDOWS, StartupShortcutExists());

    const HWND modes = Item(IDC_BASIC_NOTIFY_MODE);
    for (const wchar_t* text : kModeTexts) ::SendMessageW(modes, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    ::SendMessageW(modes, CB_SETCURSEL, Stored().NotifyMode(), 0);

    const HWND voices = Item(IDC_BASIC_VOICE);
    for (const std::wstring& name : Context().voiceNames)
        ::SendMessageW(voices, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    const std::wstring stored = Stored().VoiceName();
    const LRESULT found = ::SendMessageW(voices, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                         reinterpret_cast<LPARAM>(stored.c_str()));
    if (!Context().voiceNames.empty()) ::SendMessageW(voices, CB_SETCURSEL, found == CB_ERR ? 0 : found, 0);

    const HWND bar = Item(IDC_BASIC_VOLUME);
    ::SetWindowSubclass(bar, &BasicPage::VolumeBarProc, 0, reinterpret_cast<DWORD_PTR>(this));
    ::SendMessageW(bar, TBM_SETRANGE, FALSE, MAKELPARAM(setting::kVoiceVolume.low, setting::kVoiceVolume.high));
    ::SendMessageW(bar, TBM_SETLINESIZE, 0, kVolumeStep);
    ::SendMessageW(bar, TBM_SETPAGESIZE, 0, 20);
    ::SendMessageW(bar, TBM_SETTICFREQ, 10, 0);
    ::SendMessageW(bar, TBM_SETPOS, TRUE, Stored().VoiceVolume());
    ApplyEnabling();
}

void BasicPage::OnCommand(int controlId, int code) {
    switch (controlId) {
        case IDC_BASIC_ENCRYPT_KEYWORDS:
        case IDC_BASIC_START_WITH_WINDOWS:
            if (code == BN_CLICKED) MarkChanged();
            return;
        case IDC_BASIC_NOTIFY_MODE:
            if (code != CBN_SELCHANGE) return;
            ApplyEnabling();
            MarkChanged();
            return;
        case IDC_BASIC_VOICE:
            if (code == CBN_SELCHANGE) MarkChanged();
            return;
    }
}

bool BasicPage::OnMessage(UINT message, WPARAM, LPARAM lParam) {
    if (message != WM_HSCROLL || reinterpret_cast<HWND>(lParam) != Item(IDC_BASIC_VOLUME)) return false;
    MarkChanged();
    return true;
}

LRESULT CALLBACK BasicPage::VolumeBarProc(HWND bar, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                          DWORD_PTR self) {
    if (message == WM_NCDESTROY) ::RemoveWindowSubclass(bar, &BasicPage::VolumeBarProc, 0);
    if (message != WM_MOUSEWHEEL) return ::DefSubclassProc(bar, message, wParam, lParam);
    const int volume = static_cast<int>(::SendMessageW(bar, TBM_GETPOS, 0, 0));
    ::SendMessageW(bar, TBM_SETPOS, TRUE, VolumeAfterWheel(volume, GET_WHEEL_DELTA_WPARAM(wParam)));
    reinterpret_cast<BasicPage*>(self)->MarkChanged();
    return 0;
}

int BasicPage::SelectedMode() const { return SelectedIndex(Item(IDC_BASIC_NOTIFY_MODE)); }

void BasicPage::ApplyEnabling() const { Enable({IDC_BASIC_VOICE, IDC_BASIC_VOLUME}, ModeUsesVoice(SelectedMode())); }

bool BasicPage::OnApply() {
    Context().keywordEncryption.Set(Ticked(IDC_BASIC_ENCRYPT_KEYWORDS));
    if (const int mode = SelectedMode(); mode != CB_ERR) StoreMode(mode);
    const HWND voices = Item(IDC_BASIC_VOICE);
    if (const int voice = SelectedIndex(voices); voice != CB_ERR) {
        std::vector<wchar_t> name(static_cast<size_t>(::SendMessageW(voices, CB_GETLBTEXTLEN, voice, 0)) + 1);
        ::SendMessageW(voices, CB_GETLBTEXT, voice, reinterpret_cast<LPARAM>(name.data()));
        Stored().Write(setting::kVoiceName, name.data());
    }
    const int volume = static_cast<int>(::SendMessageW(Item(IDC_BASIC_VOLUME), TBM_GETPOS, 0, 0));
    Stored().Write(setting::kVoiceVolume, volume);
    StoreStartup();
    return true;
}

void BasicPage::StoreMode(int mode) const {
    if (Stored().HeldByPolicy(setting::kNotifyMode) || Stored().Write(setting::kNotifyMode, mode)) return;
    Context().notifier.Notify(L"設定の保存に失敗しました。\n\n\u00A0\u00A0\u00A0\u00A0" + Stored().Ini().Path(),
                              L"設定の保存に失敗", NotifyKind::Error);
}

void BasicPage::StoreStartup() const {
    const bool wanted = Ticked(IDC_BASIC_START_WITH_WINDOWS);
    if (wanted == StartupShortcutExists()) return;
    if (wanted) {
        CreateStartupShortcut(std::wstring(L"/") + kLogonSwitch);
    } else {
        DeleteStartupShortcut();
    }
}

}  // namespace veltrano
