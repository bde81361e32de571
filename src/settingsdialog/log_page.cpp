#include "settingsdialog/log_page.h"

#include "resource.h"
#include "settingsdialog/page_rules_replace_history_log.h"

namespace veltrano {
namespace {

using namespace log_ids;

struct LogSwitch {
    int id;
    const wchar_t* key;
};

// In the order they are written.
constexpr LogSwitch kSwitches[] = {
    {kUseLog, L"UseLog"},
    {kKeywordSearch, L"LogKeywordSearch"},
    {kManualReplace, L"LogManualReplace"},
    {kAutoReplace, L"LogAutoReplace"},
    {kClipboardHistory, L"LogClipboardHistory"},
    {kClipboardFavorites, L"LogClipboardFavorites"},
    {kOther, L"LogOther"},
};

}  // namespace

LogPage::LogPage(SettingsContext& context) : SettingsPage(context, IDD_PAGE_LOG) {}

void LogPage::OnInit() {
    const Settings& settings = Stored();
    Tick(kUseLog, settings.UseLog());
    Tick(kKeywordSearch, settings.LogKeywordSearch());
    Tick(kManualReplace, settings.LogManualReplace());
    Tick(kAutoReplace, settings.LogAutoReplace());
    Tick(kClipboardHistory, settings.LogClipboardHistory());
    Tick(kClipboardFavorites, settings.LogClipboardFavorites());
    Tick(kOther, settings.LogOther());
    ApplyEnabling();
}

void LogPage::OnCommand(int controlId, int code) {
    if (code != BN_CLICKED || controlId < kUseLog || controlId > kOther) return;
    if (controlId == kUseLog) ApplyEnabling();
    MarkChanged();
}

bool LogPage::OnApply() {
    // Disabled categories keep their ticks and are stored too; failed writes are not reported here.
    for (const LogSwitch& entry : kSwitches) Stored().Ini().WriteBool(section::kLog, entry.key, Ticked(entry.id));
    return true;
}

void LogPage::ApplyEnabling() const {
    for (const auto& [id, enabled] : LogPageEnabling(Ticked(kUseLog))) ::EnableWindow(Item(id), enabled);
}

}  // namespace veltrano
