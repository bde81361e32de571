#pragma once
// One item of a dynamic pop-up menu, built by pure functions so menus can be tested without
// windows. An item names the entry of its list it stands for; the menu that shows it gives it
// a command id.
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace veltrano {

struct MenuEntry {
    std::wstring label;
    std::optional<size_t> index;  // none for the greyed item that says why there is nothing to choose

    friend bool operator==(const MenuEntry&, const MenuEntry&) = default;
};

using MenuEntries = std::vector<MenuEntry>;

}  // namespace veltrano
