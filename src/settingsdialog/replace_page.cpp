#include "settingsdialog/replace_page.h"

#include "matching/replacement_definitions.h"
#include "resource.h"
#include "settingsdialog/page_rules_replace_history_log.h"

namespace veltrano {
namespace {

using namespace replace_ids;

}  // namespace

ReplacePage::ReplacePage(SettingsContext& context) : SettingsPage(context, IDD_PAGE_REPLACE) {}

void ReplacePage::OnInit() {
    const Settings& settings = Stored();
    // The reads already clamp the interval to its range and a count of zero or less to one.
    BindUpDown(kIntervalUpDown, kIntervalEdit, kIntervalMin, kIntervalMax, settings.ReplaceContinuousIntervalMs(),
               kNumberFieldLength);
    BindUpDown(kCountUpDown, kCountEdit, kCountMin, kCountMax, settings.ReplaceContinuousCount(), kNumberFieldLength);
    Tick(kUseReplace, settings.UseClipboardReplace());
    Tick(kInitialAutoReplace, settings.InitialAutoReplaceEnable());
    Tick(kEncryptFile, settings.EncryptReplaceFile());
    Tick(kPreventConsecutive, settings.PreventConsecutiveAutoReplace());
    Tick(kNotifyManual, settings.NotifyAfterManualReplace());
    Tick(kNotifyAuto, settings.NotifyAfterAutoReplace());
    ApplyEnabling();
}

void ReplacePage::OnCommand(int controlId, int code) {
    switch (controlId) {
        case kUseReplace:
        case kPreventConsecutive:
        case kInitialAutoReplace:
        case kEncryptFile:
        case kNotifyManual:
        case kNotifyAuto:
            if (code != BN_CLICKED) return;
            if (controlId == kUseReplace) ApplyEnabling();
            if (controlId == kPreventConsecutive)
                for (const auto& [id, enabled] : ConsecutiveFieldsEnabling(Ticked(kPreventConsecutive)))
                    ::EnableWindow(Item(id), enabled);
            MarkChanged();
            return;
        case kIntervalEdit:
        case kCountEdit:
            if (code == EN_CHANGE) MarkChanged();
            return;
    }
}

bool ReplacePage::OnApply() {
    const std::wstring interval = Text(kIntervalEdit);
    const std::wstring count = Text(kCountEdit);
    if (const std::optional<FieldRefusal> refused = CheckReplaceFields(interval, count)) {
        RefuseInput(refused->fieldId, refused->message);
        return false;
    }

    SettingsContext& context = Context();
    const IniFile& ini = Stored().Ini();
    const wchar_t* const section = section::kClipboardReplace;
    // Failed writes are not reported here.
    const bool useReplace = Ticked(kUseReplace);
    ini.WriteBool(section, L"UseClipboardReplace", useReplace);
    if (useReplace) context.replacements.Reload();
    ini.WriteBool(section, L"InitialAutoReplaceEnable", Ticked(kInitialAutoReplace));
    // Converts the definition files only when the switch differs from the stored one.
    context.replaceEncryption.Set(Ticked(kEncryptFile));
    ini.WriteBool(section, L"PreventConsecutiveAutoReplace", Ticked(kPreventConsecutive));
    ini.WriteBool(section, L"NotifyAfterManualReplace", Ticked(kNotifyManual));
    ini.WriteBool(section, L"NotifyAfterAutoReplace", Ticked(kNotifyAuto));
    if (const std::optional<int> value = IntervalToStore(interval))
        ini.WriteInt(section, L"ReplaceContinuousIntervalMs", *value);
    if (const std::optional<int> value = CountToStore(count)) ini.WriteInt(section, L"ReplaceContinuousCount", *value);
    return true;
}

void ReplacePage::ApplyEnabling() const {
    for (const auto& [id, enabled] : ReplacePageEnabling(Ticked(kUseReplace), Ticked(kPreventConsecutive)))
        ::EnableWindow(Item(id), enabled);
}

}  // namespace veltrano
