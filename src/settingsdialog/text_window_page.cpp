#include "settingsdialog/text_window_page.h"

#include <climits>

#include "resource.h"
#include "settingsdialog/text_window_tray_checks.h"
#include "textwindow/clipboard_text_window.h"

namespace veltrano {
namespace {

using namespace text_window_page;

constexpr int kWideField = 6;
constexpr int kNarrowField = 3;

}  // namespace

TextWindowPage::TextWindowPage(SettingsContext& context) : SettingsPage(context, IDD_PAGE_TEXT_WINDOW) {}

TextWindowPage::~TextWindowPage() { Detach(); }

void TextWindowPage::Detach() noexcept {
    if (attached_) Context().textWindow.AttachPageSync(nullptr);
    attached_ = false;
}

void TextWindowPage::OnInit() {
    Context().textWindow.AttachPageSync(this);
    attached_ = true;

    const Settings& settings = Stored();
    constexpr int kCoordinateMin = INT_MIN;
    constexpr int kCoordinateMax = INT_MAX;
    BindUpDown(kPosX + kUpDownOffset, kPosX, kCoordinateMin, kCoordinateMax, settings.ClipboardTextWindowPosX(),
               kWideField);
    BindUpDown(kPosY + kUpDownOffset, kPosY, kCoordinateMin, kCoordinateMax, settings.ClipboardTextWindowPosY(),
               kWideField);
    BindUpDown(kWidth + kUpDownOffset, kWidth, kTextWindowSizeMin, kTextWindowSizeMax,
               settings.ClipboardTextWindowWidth(), kWideField);
    BindUpDown(kHeight + kUpDownOffset, kHeight, kTextWindowSizeMin, kTextWindowSizeMax,
               settings.ClipboardTextWindowHeight(), kWideField);
    BindUpDown(kOpacity + kUpDownOffset, kOpacity, kTextWindowOpacityMin, kTextWindowOpacityMax,
               settings.ClipboardTextWindowOpacity(), kNarrowField);
    BindUpDown(kBorderWidth + kUpDownOffset, kBorderWidth, kTextWindowBorderWidthMin, kTextWindowBorderWidthMax,
               settings.ClipboardTextWindowBorderWidth(), kNarrowField);

    Tick(kShow, settings.UseClipboardTextWindow());
    Tick(kResizable, settings.ClipboardTextWindowResizable());
    Tick(kTouchable, settings.ClipboardTextWindowTouchable());
    ApplyEnabling();
}

void TextWindowPage::ApplyEnabling() const {
    const bool show = Ticked(kShow);
    const bool resizable = Ticked(kResizable);
    for (const int id : kTextWindowDependentControls) {
        Enable({id}, TextWindowControlEnabled(id, show, resizable));
    }
}

void TextWindowPage::OnCommand(int controlId, int code) {
    switch (controlId) {
        case kShow:
        case kResizable:
            if (code != BN_CLICKED) return;
            ApplyEnabling();
            MarkChanged();
            return;
        case kTouchable:
            if (code == BN_CLICKED) MarkChanged();
            return;
        case kPosX:
        case kPosY:
        case kWidth:
        case kHeight:
        case kOpacity:
        case kBorderWidth:
            if (code == EN_CHANGE) MarkChanged();
            return;
    }
}

bool TextWindowPage::OnApply() {
    // Read every field before anything is written: re-creating the window reports its
    // geometry back into these fields.
    const TextWindowFields fields{Text(kPosX),    Text(kPosY),    Text(kWidth),
                                  Text(kHeight), Text(kOpacity), Text(kBorderWidth)};
    if (const std::optional<FieldRefusal> refusal = CheckTextWindowFields(fields)) {
        RefuseInput(refusal->fieldId, refusal->message);
        return false;
    }

    const Settings& settings = Stored();
    settings.SetUseClipboardTextWindow(Ticked(kShow));
    settings.SetClipboardTextWindowResizable(Ticked(kResizable));
    settings.SetClipboardTextWindowTouchable(Ticked(kTouchable));
    const TextWindowValues values = ReadTextWindowFields(fields);
    if (values.x) settings.SetClipboardTextWindowPosX(*values.x);
    if (values.y) settings.SetClipboardTextWindowPosY(*values.y);
    if (values.width) settings.SetClipboardTextWindowWidth(*values.width);
    if (values.height) settings.SetClipboardTextWindowHeight(*values.height);
    if (values.opacity) settings.SetClipboardTextWindowOpacity(*values.opacity);
    if (values.borderWidth) {
        settings.Ini().WriteInt(section::kClipboardTextWindow, L"ClipboardTextWindowBorderWidth", *values.borderWidth);
    }

    ClipboardTextWindow& window = Context().textWindow;
    window.DestroyTextWindow();
    if (settings.UseClipboardTextWindow()) window.ShowTextWindow(Context().owner);
    return true;
}

bool TextWindowPage::OnMessage(UINT message, WPARAM, LPARAM) {
    if (message == WM_DESTROY) Detach();
    return false;
}

void TextWindowPage::ShowNumber(int fieldId, int value) {
    Quietly([&] { ::SetDlgItemInt(Page(), fieldId, static_cast<UINT>(value), TRUE); });
}

void TextWindowPage::ShowPosition(int x, int y) {
    ShowNumber(kPosX, x);
    ShowNumber(kPosY, y);
}

void TextWindowPage::ShowSize(int width, int height) {
    ShowNumber(kWidth, width);
    ShowNumber(kHeight, height);
}

void TextWindowPage::ShowOpacity(int opacity) { ShowNumber(kOpacity, opacity); }

}  // namespace veltrano
