#include "settingsdialog/history_page.h"

#include "resource.h"
#include "settingsdialog/page_rules_replace_history_log.h"
#include "stores/clipboard_history.h"

namespace veltrano {
namespace {

using namespace history_ids;

}  // namespace

HistoryPage::HistoryPage(SettingsContext& context) : SettingsPage(context, IDD_PAGE_HISTORY) {}

void HistoryPage::OnInit() {
    const Settings& settings = Stored();
    // The read already clamps the count to its range; the up-down writes it into the field.
    BindUpDown(kMaxCountUpDown, kMaxCountEdit, kHistoryMaxCountMin, kHistoryMaxCountMax,
               settings.ClipboardHistoryMaxCount(), kNumberFieldLength);
    Tick(kUseHistory, settings.UseClipboardHistory());
    Tick(kReverseOrder, settings.ClipboardHistoryReverseOrder());
    ApplyEnabling();
}

void HistoryPage::OnCommand(int controlId, int code) {
    switch (controlId) {
        case kUseHistory:
        case kReverseOrder:
            if (code != BN_CLICKED) return;
            if (controlId == kUseHistory) ApplyEnabling();
            MarkChanged();
            return;
        case kMaxCountEdit:
            if (code == EN_CHANGE) MarkChanged();
            return;
    }
}

bool HistoryPage::OnApply() {
    const std::wstring maxCount = Text(kMaxCountEdit);
    if (const std::optional<FieldRefusal> refused = CheckHistoryFields(maxCount)) {
        RefuseInput(refused->fieldId, refused->message);
        return false;
    }
    const IniFile& ini = Stored().Ini();
    const wchar_t* const section = section::kClipboardHistory;
    // Failed writes are not reported here.
    ini.WriteBool(section, L"UseClipboardHistory", Ticked(kUseHistory));
    ini.WriteBool(section, L"ClipboardHistoryReverseOrder", Ticked(kReverseOrder));
    if (const std::optional<int> value = HistoryMaxCountToStore(maxCount))
        ini.WriteInt(section, L"ClipboardHistoryMaxCount", *value);
    // Takes the new switch and limit into use.
    Context().history.Load();
    return true;
}

void HistoryPage::ApplyEnabling() const {
    for (const auto& [id, enabled] : HistoryPageEnabling(Ticked(kUseHistory))) ::EnableWindow(Item(id), enabled);
}

}  // namespace veltrano
