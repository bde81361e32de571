#pragma once
// The "クリップボード表示ウィンドウ" page: the display switch, the window's mode, position,
// size, opacity and frame width. While it is open, the window shows its mouse-made changes here.
#include "settingsdialog/settings_page.h"
#include "textwindow/text_window_page_sync.h"

namespace veltrano {

class TextWindowPage final : public SettingsPage, public TextWindowPageSync {
public:
    explicit TextWindowPage(SettingsContext& context);
    ~TextWindowPage() override;

    void ShowPosition(int x, int y) override;
    void ShowSize(int width, int height) override;
    void ShowOpacity(int opacity) override;

protected:
    void OnInit() override;
    void OnCommand(int controlId, int code) override;
    bool OnApply() override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void ApplyEnabling() const;
    void ShowNumber(int fieldId, int value);
    void Detach() noexcept;

    bool attached_ = false;
};

}  // namespace veltrano
