#include "settingsdialog/replace_page.h"

#include "matching/replacement_definitions.h"
#include "resource.h"
#include "settingsdialog/control_enabling.h"
#include "settingsdialog/page_field_checks.h"

namespace veltrano {

ReplacePage::ReplacePage(SettingsContext& context) : SettingsPage(context, IDD_PAGE_REPLACE) {}

void ReplacePage::OnInit() {
    BindUpDown(IDC_REPLACE_INTERVAL_UPDOWN, IDC_REPLACE_INTERVAL, setting::kReplaceContinuousIntervalMs,
               kNumberFieldLength);
    BindUpDown(IDC_REPLACE_COUNT_UPDOWN, IDC_REPLACE_COUNT, setting::kReplaceContinuousCount, kNumberFieldLength);
    const Settings& settings = Stored();
    Tick(IDC_REPLACE_USE, settings.UseClipboardReplace());
    Tick(IDC_REPLACE_INITIAL_AUTO, settings.InitialAutoReplaceEnable());
    Tick(IDC_REPLACE_ENCRYPT, settings.EncryptReplaceFile());
    Tick(IDC_REPLACE_PREVENT_CONSECUTIVE, settings.PreventConsecutiveAutoReplace());
    Tick(IDC_REPLACE_NOTIFY_MANUAL, settings.NotifyAfterManualReplace());
    Tick(IDC_REPLACE_NOTIFY_AUTO, settings.NotifyAfterAutoReplace());
    ApplyEnabling();
}

void ReplacePage::OnCommand(int controlId, int code) {
    switch (controlId) {
        case IDC_REPLACE_USE:
        case IDC_REPLACE_PREVENT_CONSECUTIVE:
        case IDC_REPLACE_INITIAL_AUTO:
        case IDC_REPLACE_ENCRYPT:
        case IDC_REPLACE_NOTIFY_MANUAL:
        case IDC_REPLACE_NOTIFY_AUTO:
            if (code != BN_CLICKED) return;
            if (controlId == IDC_REPLACE_USE) ApplyEnabling();
            if (controlId == IDC_REPLACE_PREVENT_CONSECUTIVE)
                for (const auto& [id, enabled] : ConsecutiveFieldsEnabling(Ticked(IDC_REPLACE_PREVENT_CONSECUTIVE)))
                    Enable({id}, enabled);
            MarkChanged();
            return;
        case IDC_REPLACE_INTERVAL:
        case IDC_REPLACE_COUNT:
            if (code == EN_CHANGE) MarkChanged();
            return;
    }
}

bool ReplacePage::OnApply() {
    const std::wstring interval = Text(IDC_REPLACE_INTERVAL);
    const std::wstring count = Text(IDC_REPLACE_COUNT);
    if (const std::optional<FieldRefusal> refused = CheckReplaceFields(interval, count)) {
        RefuseInput(refused->fieldId, refused->message);
        return false;
    }

    SettingsContext& context = Context();
    Settings& settings = Stored();
    // Failed writes are not reported here.
    const bool useReplace = Ticked(IDC_REPLACE_USE);
    settings.Write(setting::kUseClipboardReplace, useReplace);
    if (useReplace) context.replacements.Reload();
    settings.Write(setting::kInitialAutoReplaceEnable, Ticked(IDC_REPLACE_INITIAL_AUTO));
    // Converts the definition files only when the switch differs from the stored one.
    context.replaceEncryption.Set(Ticked(IDC_REPLACE_ENCRYPT));
    settings.Write(setting::kPreventConsecutiveAutoReplace, Ticked(IDC_REPLACE_PREVENT_CONSECUTIVE));
    settings.Write(setting::kNotifyAfterManualReplace, Ticked(IDC_REPLACE_NOTIFY_MANUAL));
    settings.Write(setting::kNotifyAfterAutoReplace, Ticked(IDC_REPLACE_NOTIFY_AUTO));
    StoreNumber(interval, setting::kReplaceContinuousIntervalMs);
    StoreNumber(count, setting::kReplaceContinuousCount);
    return true;
}

void ReplacePage::ApplyEnabling() const {
    for (const auto& [id, enabled] : ReplacePageEnabling(Ticked(IDC_REPLACE_USE), Ticked(IDC_REPLACE_PREVENT_CONSECUTIVE)))
        Enable({id}, enabled);
}

}  // namespace veltrano
