#pragma once
// Which setting each control of the settings pages shows (labels, up-downs and units with their
// field), so that a page greys the controls whose value an organisation's policy holds.
#include <span>
#include <variant>

#include "settings/settings.h"

namespace veltrano {

using AnySetting = std::variant<const BoolSetting*, const IntSetting*, const TextSetting*>;

struct SettingControl {
    int id;
    AnySetting setting;
};

std::span<const SettingControl> SettingControls();

bool HeldByPolicy(const Settings& settings, const AnySetting& setting);

}  // namespace veltrano
