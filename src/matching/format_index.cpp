#include "matching/format_index.h"

#include "matching/credential_text.h"

namespace veltrano {
namespace {

// A letter as it may stand in a text: in both cases when its row is folded.
std::array<wchar_t, 2> Cases(wchar_t c, bool folded) {
    if (!folded || !credential_text::IsAsciiAlpha(c)) return {c, c};
    const wchar_t lower = credential_text::FoldCase(c);
    return {lower, static_cast<wchar_t>(lower - 32)};
}

}  // namespace

void FormatIndex::Pairs::Add(wchar_t first, wchar_t second, bool folded) {
    for (const wchar_t a : Cases(first, folded)) {
        for (const wchar_t b : Cases(second, folded)) bits_.set(a * 128u + b);
    }
}

FormatIndex::FormatIndex() {
    std::array<unsigned char, 128> slotNumber{};  // 0: none yet
    for (const CredentialFormat& format : CredentialFormats()) {
        if (!slotNumber[format.anchor]) {
            slots_.emplace_back();
            slotNumber[format.anchor] = static_cast<unsigned char>(slots_.size());
        }
        Slot& slot = slots_[slotNumber[format.anchor] - 1];
        slot.rows.push_back(&format);
        const std::wstring_view before = format.before;
        const std::wstring_view after = format.after;
        if (before.size() >= 2) {
            slot.before.Add(before[before.size() - 2], before.back(), format.folded);
        } else if (after.size() >= 2) {
            slot.after.Add(after[0], after[1], format.folded);
        } else {
            slot.anyPlace = true;
        }
    }
    for (size_t anchor = 0; anchor < slotNumber.size(); ++anchor) {
        if (slotNumber[anchor]) slotOf_[anchor] = &slots_[slotNumber[anchor] - 1];
    }
}

const FormatIndex kFormatIndex;

}  // namespace veltrano
