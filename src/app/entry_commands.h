#pragma once
// The command ids of the menus that list entries (clipboard history, copy texts, manual
// replacements): each menu owns a range of ids in resource.h, and the item of entry i carries
// the range's first id + i.
#include <windows.h>

#include <cstddef>
#include <optional>

#include "resource.h"

namespace veltrano {

class EntryCommands {
public:
    // The ids from `first` up to, not including, `end`.
    constexpr EntryCommands(UINT first, UINT end) : first_(first), end_(end) {}

    // How many entries have an id: the most the menu shows.
    constexpr size_t Capacity() const { return end_ - first_; }
    constexpr UINT CommandOf(size_t index) const { return first_ + static_cast<UINT>(index); }
    // The entry behind `command`, when the command is in the range.
    constexpr std::optional<size_t> IndexOf(UINT command) const {
        if (command < first_ || command >= end_) return std::nullopt;
        return command - first_;
    }

private:
    UINT first_;
    UINT end_;
};

inline constexpr EntryCommands kHistoryCommands{IDM_HISTORY_FIRST, IDM_COPY_TEXT_FIRST};
inline constexpr EntryCommands kCopyTextCommands{IDM_COPY_TEXT_FIRST, IDM_MANUAL_REPLACE_FIRST};
// The last range runs to the end of the 16 bits a menu command carries; its menu is not cut to
// it and lists every manual definition.
inline constexpr EntryCommands kManualReplaceCommands{IDM_MANUAL_REPLACE_FIRST, 0x10000};

}  // namespace veltrano
