#pragma once
// Where a match lies in the searched text, in UTF-16 code units.
#include <cstddef>

namespace veltrano {

struct MatchSpan {
    size_t position = 0;
    size_t length = 0;

    size_t End() const noexcept { return position + length; }
    friend bool operator==(const MatchSpan&, const MatchSpan&) = default;
};

}  // namespace veltrano
