#pragma once
// One item of a dynamic pop-up menu, built by pure functions so menus can be tested without windows.
#include <windows.h>

#include <string>
#include <vector>

namespace veltrano {

struct MenuEntry {
    UINT id = 0;
    std::wstring label;
    bool grayed = false;

    friend bool operator==(const MenuEntry&, const MenuEntry&) = default;
};

using MenuEntries = std::vector<MenuEntry>;

}  // namespace veltrano
