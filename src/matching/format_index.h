#pragma once
// The format rows by their anchor character, with the characters their literals put right
// beside it: most places the scan stops at are ruled out by two look-ups, before any row is tried.
#include <array>
#include <bitset>
#include <span>
#include <string_view>
#include <vector>

#include "matching/credential_formats.h"

namespace veltrano {

class FormatIndex {
public:
    FormatIndex();

    // The rows that may stand at `position`, an anchor of `text`: none at most places.
    std::span<const CredentialFormat* const> RowsAt(std::wstring_view text, size_t position) const {
        const wchar_t anchor = text[position];
        const Slot* slot = anchor < 128 ? slotOf_[anchor] : nullptr;
        if (slot == nullptr) return {};
        const bool besideRow = slot->anyPlace ||
                               (position >= 2 && slot->before.Has(text[position - 2], text[position - 1])) ||
                               (text.size() - position > 2 && slot->after.Has(text[position + 1], text[position + 2]));
        return besideRow ? std::span<const CredentialFormat* const>(slot->rows) : std::span<const CredentialFormat* const>();
    }

private:
    // Pairs of ASCII characters as they stand in a text, each case of a folded row's letters among
    // them. A character beyond ASCII may be a full-width one that folds: such a pair is kept.
    class Pairs {
    public:
        void Add(wchar_t first, wchar_t second, bool folded);
        bool Has(wchar_t first, wchar_t second) const { return (first | second) >= 128 || bits_[first * 128u + second]; }

    private:
        std::bitset<128 * 128> bits_;
    };

    struct Slot {
        std::vector<const CredentialFormat*> rows;
        Pairs before;  // the two characters right before the anchor
        Pairs after;   // the two right after it
        bool anyPlace = false;
    };

    std::vector<Slot> slots_;
    std::array<const Slot*, 128> slotOf_{};  // null: no row has the anchor
};

extern const FormatIndex kFormatIndex;

}  // namespace veltrano
