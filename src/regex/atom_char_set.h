#pragma once
// One character of a pattern ("\\d", "[^a-z]", ".", "\\u3042") read as the set of code units it
// takes, so that deciding a character costs a few comparisons instead of a std::wregex match.
// Classes are asked through the same regex traits as the regex; only forms whose std::wregex
// reading is certain are read (no case folding of ranges or letters, no POSIX bracket items):
// for anything else there is none, and the caller asks std::wregex.
#include <optional>
#include <regex>
#include <string_view>
#include <utility>
#include <vector>

namespace veltrano {

class AtomCharSet {
public:
    using Traits = std::regex_traits<wchar_t>;

    static std::optional<AtomCharSet> Read(std::wstring_view atom, bool ignoreCase, const Traits& traits);

    bool Contains(wchar_t c, const Traits& traits) const;

private:
    bool negated_ = false;
    std::vector<std::pair<wchar_t, wchar_t>> ranges_;
    std::vector<Traits::char_class_type> classes_;
    std::vector<Traits::char_class_type> missingClasses_;  // "\D", "\W", "\S" inside brackets
};

}  // namespace veltrano
