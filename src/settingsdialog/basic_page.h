#pragma once
// The "基本" page: keyword-file encryption, starting with Windows, and how notifications come
// (mode, voice, volume).
#include "settingsdialog/settings_page.h"

namespace veltrano {

// The modes with a voice, and only they, use the voice list and the volume bar.
inline bool ModeUsesVoice(int modeIndex) { return modeIndex > 1; }
// The volume after one wheel notch over the bar.
int VolumeAfterWheel(int volume, int wheelDelta);

class BasicPage final : public SettingsPage {
public:
    explicit BasicPage(SettingsContext& context);

protected:
    void OnInit() override;
    void OnCommand(int controlId, int code) override;
    bool OnApply() override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    static LRESULT CALLBACK VolumeBarProc(HWND bar, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                          DWORD_PTR self);
    int SelectedMode() const;
    void ApplyEnabling() const;
    void StoreMode(int mode) const;
    void StoreStartup() const;
};

}  // namespace veltrano
