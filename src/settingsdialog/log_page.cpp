#include "settingsdialog/log_page.h"

#include "resource.h"
#include "settingsdialog/control_enabling.h"

namespace veltrano {
namespace {

struct LogSwitch {
    int id;
    const BoolSetting& setting;
};

// In the order they are written.
constexpr LogSwitch kSwitches[] = {
    {IDC_LOG_USE, setting::kUseLog},
    {IDC_LOG_KEYWORD_SEARCH, setting::kLogKeywordSearch},
    {IDC_LOG_MANUAL_REPLACE, setting::kLogManualReplace},
    {IDC_LOG_AUTO_REPLACE, setting::kLogAutoReplace},
    {IDC_LOG_CLIPBOARD_HISTORY, setting::kLogClipboardHistory},
    {IDC_LOG_CLIPBOARD_FAVORITES, setting::kLogClipboardFavorites},
    {IDC_LOG_OTHER, setting::kLogOther},
    {IDC_LOG_MASK_SECRETS, setting::kLogMaskSecrets},
    {IDC_LOG_USE_EVENT_LOG, setting::kUseEventLog},
};

}  // namespace

LogPage::LogPage(SettingsContext& context) : SettingsPage(context, IDD_PAGE_LOG) {}

void LogPage::OnInit() {
    for (const LogSwitch& entry : kSwitches) Tick(entry.id, Stored().Read(entry.setting));
    ApplyEnabling();
}

void LogPage::OnCommand(int controlId, int code) {
    if (code != BN_CLICKED || controlId < IDC_LOG_USE || controlId > IDC_LOG_USE_EVENT_LOG) return;
    if (controlId == IDC_LOG_USE) ApplyEnabling();
    MarkChanged();
}

bool LogPage::OnApply() {
    // Disabled categories keep their ticks and are stored too; failed writes are not reported here.
    for (const LogSwitch& entry : kSwitches) Stored().Write(entry.setting, Ticked(entry.id));
    return true;
}

void LogPage::ApplyEnabling() const {
    for (const auto& [id, enabled] : LogPageEnabling(Ticked(IDC_LOG_USE))) Enable({id}, enabled);
}

}  // namespace veltrano
