#include "settingsdialog/history_page.h"

#include "resource.h"
#include "settingsdialog/control_enabling.h"
#include "settingsdialog/page_field_checks.h"
#include "stores/clipboard_history.h"

namespace veltrano {

HistoryPage::HistoryPage(SettingsContext& context) : SettingsPage(context, IDD_PAGE_HISTORY) {}

void HistoryPage::OnInit() {
    BindUpDown(IDC_HISTORY_MAX_COUNT_UPDOWN, IDC_HISTORY_MAX_COUNT, setting::kClipboardHistoryMaxCount,
               kNumberFieldLength);
    Tick(IDC_HISTORY_USE, Stored().UseClipboardHistory());
    Tick(IDC_HISTORY_REVERSE_ORDER, Stored().ClipboardHistoryReverseOrder());
    ApplyEnabling();
}

void HistoryPage::OnCommand(int controlId, int code) {
    switch (controlId) {
        case IDC_HISTORY_USE:
        case IDC_HISTORY_REVERSE_ORDER:
            if (code != BN_CLICKED) return;
            if (controlId == IDC_HISTORY_USE) ApplyEnabling();
            MarkChanged();
            return;
        case IDC_HISTORY_MAX_COUNT:
            if (code == EN_CHANGE) MarkChanged();
            return;
    }
}

bool HistoryPage::OnApply() {
    const std::wstring maxCount = Text(IDC_HISTORY_MAX_COUNT);
    if (const std::optional<FieldRefusal> refused = CheckHistoryFields(maxCount)) {
        RefuseInput(refused->fieldId, refused->message);
        return false;
    }
    // Failed writes are not reported here.
    Stored().Write(setting::kUseClipboardHistory, Ticked(IDC_HISTORY_USE));
    Stored().Write(setting::kClipboardHistoryReverseOrder, Ticked(IDC_HISTORY_REVERSE_ORDER));
    StoreNumber(maxCount, setting::kClipboardHistoryMaxCount);
    // Takes the new switch and limit into use.
    Context().history.Load();
    return true;
}

void HistoryPage::ApplyEnabling() const {
    for (const auto& [id, enabled] : HistoryPageEnabling(Ticked(IDC_HISTORY_USE))) Enable({id}, enabled);
}

}  // namespace veltrano
