#include "regex/bounded_match.h"

#include <windows.h>

#include <cstdint>
#include <iterator>

#include "regex/pattern_structure.h"

namespace veltrano {
namespace {

// How often the clock is read, in iterator steps (a power of two).
constexpr uint32_t kStepsPerClockRead = 64 * 1024;

const char* ReasonText(MatchAborted::Reason reason) {
    switch (reason) {
    case MatchAborted::Reason::LineTooLongForPattern:
        return "line too long for the pattern";
    case MatchAborted::Reason::PatternTooSlow:
        return "pattern too slow for the text";
    case MatchAborted::Reason::ResultTooLarge:
        return "replacement result too large";
    }
    return "match aborted";
}

}  // namespace

// Outside the anonymous namespace on purpose: with internal linkage GCC inlines every handler of
// the matcher into its recursive dispatcher, which more than doubles the stack per character.
namespace bounded_detail {

// The limits of one search or replace, on the thread that runs it.
class StepGuard {
public:
    // The clock is first read after some work: a small search always finishes, even when it
    // starts late (a busy machine must not make cheap keywords fail).
    explicit StepGuard(const MatchBudget& budget) : deadline_(budget.Deadline()), stackFloor_(StackFloor()) {}

    // Not inlined: a call keeps the matcher's own frames small (measured: 370 bytes of stack per
    // character against 420 for plain pointers and 470 with this inlined).
    [[gnu::noinline]] void Step() {
        if (reinterpret_cast<uintptr_t>(__builtin_frame_address(0)) < stackFloor_) [[unlikely]] StackExhausted();
        if ((++steps_ & (kStepsPerClockRead - 1)) == 0) [[unlikely]] CheckDeadline();
    }

private:
    [[noreturn, gnu::noinline, gnu::cold]] static void StackExhausted() {
        throw MatchAborted(MatchAborted::Reason::LineTooLongForPattern);
    }

    static uintptr_t StackFloor() {
        ULONG_PTR low = 0;
        ULONG_PTR high = 0;
        ::GetCurrentThreadStackLimits(&low, &high);
        return low + kStackSafetyMargin;
    }

    [[gnu::noinline]] void CheckDeadline() const {
        if (std::chrono::steady_clock::now() >= deadline_) throw MatchAborted(MatchAborted::Reason::PatternTooSlow);
    }

    std::chrono::steady_clock::time_point deadline_;
    uintptr_t stackFloor_;
    uint32_t steps_ = 0;
};

// A pointer into the text that counts each move, comparison and copy as a step of its guard.
// Copies count because the matcher's zero-width steps (group bounds, loop entries) only copy
// positions: a pattern like (?:(?:()){1000}){10} recurses 3.5 MB deep on a one-character text.
// Default-constructed iterators (unmatched groups) have no guard.
class GuardedIterator {
public:
    using iterator_category = std::bidirectional_iterator_tag;
    using value_type = wchar_t;
    using difference_type = std::ptrdiff_t;
    using pointer = const wchar_t*;
    using reference = const wchar_t&;

    GuardedIterator() = default;
    GuardedIterator(const wchar_t* position, StepGuard* guard) noexcept : position_(position), guard_(guard) {}
    GuardedIterator(const GuardedIterator& other) : position_(other.position_), guard_(other.guard_) { Step(); }
    GuardedIterator& operator=(const GuardedIterator& other) {
        position_ = other.position_;
        guard_ = other.guard_;
        Step();
        return *this;
    }
    ~GuardedIterator() = default;

    reference operator*() const noexcept { return *position_; }
    pointer operator->() const noexcept { return position_; }

    GuardedIterator& operator++() {
        Step();
        ++position_;
        return *this;
    }
    GuardedIterator operator++(int) {
        GuardedIterator old(*this);
        ++*this;
        return old;
    }
    GuardedIterator& operator--() {
        Step();
        --position_;
        return *this;
    }
    GuardedIterator operator--(int) {
        GuardedIterator old(*this);
        --*this;
        return old;
    }

    // May throw: never compare two guarded std::regex_iterator objects (their == is noexcept).
    friend bool operator==(const GuardedIterator& a, const GuardedIterator& b) {
        a.Step();
        return a.position_ == b.position_;
    }

    const wchar_t* base() const noexcept { return position_; }

private:
    void Step() const {
        if (guard_) guard_->Step();
    }

    const wchar_t* position_ = nullptr;
    StepGuard* guard_ = nullptr;
};

}  // namespace bounded_detail

using bounded_detail::GuardedIterator;
using bounded_detail::StepGuard;

MatchAborted::MatchAborted(Reason reason) : std::runtime_error(ReasonText(reason)), reason_(reason) {}

const char* PatternTooComplex::what() const noexcept { return "pattern too long or too deeply nested"; }

void CheckPatternSize(std::wstring_view pattern) {
    if (pattern.size() > kMaxPatternLength) throw PatternTooComplex();
    // Where this reading ends a class early it only counts more groups, never fewer.
    VisitPatternStructure(pattern, [](wchar_t c, int depth) {
        if (c == L'(' && depth > kMaxPatternNesting) throw PatternTooComplex();
        return true;
    });
}

std::wregex CompileUserPattern(std::wstring_view pattern, std::regex_constants::syntax_option_type flags) {
    CheckPatternSize(pattern);
    return std::wregex(pattern.begin(), pattern.end(), flags);
}

namespace {

using GuardedMatch = std::match_results<GuardedIterator>;

// A std::back_inserter that refuses to grow the result past kMaxReplacementLength.
class CappedAppender {
public:
    using iterator_category = std::output_iterator_tag;
    using value_type = void;
    using difference_type = std::ptrdiff_t;
    using pointer = void;
    using reference = void;

    explicit CappedAppender(std::wstring& out) : out_(&out) {}
    CappedAppender& operator=(wchar_t c) {
        if (out_->size() >= kMaxReplacementLength) throw MatchAborted(MatchAborted::Reason::ResultTooLarge);
        out_->push_back(c);
        return *this;
    }
    CappedAppender& operator*() { return *this; }
    CappedAppender& operator++() { return *this; }
    CappedAppender& operator++(int) { return *this; }

private:
    std::wstring* out_;
};

// An attempt anchored at `position` with exactly these flags (match_continuous added).
bool MatchAt(const std::wregex& re, std::wstring_view text, StepGuard& guard, size_t position, GuardedMatch& match,
             std::regex_constants::match_flag_type flags) {
    const wchar_t* const begin = text.data();
    return std::regex_search(GuardedIterator(begin + position, &guard), GuardedIterator(begin + text.size(), &guard),
                             match, re, flags | std::regex_constants::match_continuous);
}

MatchSpan SpanOf(const GuardedMatch& match, const wchar_t* begin) {
    // base() pointers: position()/length() would walk the text step by step.
    const auto& whole = match[0];
    return MatchSpan{static_cast<size_t>(whole.first.base() - begin),
                     static_cast<size_t>(whole.second.base() - whole.first.base())};
}

// std::regex_search from `from` with these flags, tried only where a match can begin: past
// `from` the search has the text before as context (match_prev_avail), as std::regex_search
// gives itself when it moves on.
bool GuidedSearch(const std::wregex& re, std::wstring_view text, StepGuard& guard, size_t from,
                  const MatchStartFinder& starts, GuardedMatch& match, std::regex_constants::match_flag_type flags) {
    for (std::optional<size_t> start = starts(from); start; start = starts(*start + 1)) {
        const auto context = *start > from ? std::regex_constants::match_prev_avail : std::regex_constants::match_default;
        if (MatchAt(re, text, guard, *start, match, flags | context)) return true;
        if (*start == text.size()) break;
    }
    return false;
}

// "$`" reads the text between two matches, which an anchored match does not know.
bool FormatReadsPrefix(std::wstring_view format, std::regex_constants::match_flag_type flags) {
    if (flags & std::regex_constants::format_sed) return false;
    for (size_t i = 0; i + 1 < format.size(); ++i) {
        if (format[i] != L'$') continue;
        if (format[i + 1] == L'`') return true;
        if (format[i + 1] == L'$') ++i;
    }
    return false;
}

// std::regex_replace as std::regex_iterator walks the matches, each found by GuidedSearch, with
// the iterator's flags: match_prev_avail only once it has searched on past a match.
void GuidedReplace(const std::wregex& re, std::wstring_view text, std::wstring_view format,
                   std::regex_constants::match_flag_type flags, StepGuard& guard, const MatchStartFinder& starts,
                   CappedAppender out) {
    const bool copy = !(flags & std::regex_constants::format_no_copy);
    const wchar_t* const begin = text.data();
    GuardedMatch match;
    if (!GuidedSearch(re, text, guard, 0, starts, match, flags)) {
        if (copy) std::copy(text.begin(), text.end(), out);
        return;
    }
    size_t copied = 0;  // the end of the last match: where the next prefix begins
    for (;;) {
        const MatchSpan span = SpanOf(match, begin);
        if (copy) std::copy(text.begin() + static_cast<std::ptrdiff_t>(copied),
                            text.begin() + static_cast<std::ptrdiff_t>(span.position), out);
        match.format(out, format.data(), format.data() + format.size(), flags);
        copied = span.End();
        if (flags & std::regex_constants::format_first_only) break;

        size_t next = span.End();
        if (span.length == 0) {
            if (next == text.size()) break;
            // After an empty match the iterator first tries a non-empty one at the same place.
            if (MatchAt(re, text, guard, next, match, flags | std::regex_constants::match_not_null)) continue;
            ++next;
        }
        flags |= std::regex_constants::match_prev_avail;
        if (!GuidedSearch(re, text, guard, next, starts, match, flags)) break;
    }
    if (copy) std::copy(text.begin() + static_cast<std::ptrdiff_t>(copied), text.end(), out);
}

}  // namespace

std::optional<MatchSpan> BoundedSearch(const std::wregex& re, std::wstring_view text, MatchBudget& budget,
                                       size_t from, const MatchStartFinder& starts) {
    if (from > text.size()) return std::nullopt;
    StepGuard guard(budget);
    const wchar_t* const begin = text.data();
    GuardedMatch match;
    const auto flags = from > 0 ? std::regex_constants::match_prev_avail : std::regex_constants::match_default;
    const bool found = starts ? GuidedSearch(re, text, guard, from, starts, match, flags)
                              : std::regex_search(GuardedIterator(begin + from, &guard),
                                                  GuardedIterator(begin + text.size(), &guard), match, re, flags);
    if (!found) return std::nullopt;
    return SpanOf(match, begin);
}

std::wstring BoundedReplace(const std::wregex& re, std::wstring_view text, const std::wstring& format,
                            std::regex_constants::match_flag_type flags, MatchBudget& budget,
                            const MatchStartFinder& starts) {
    StepGuard guard(budget);
    std::wstring result;
    // Like std::regex_replace with a string format: the format ends at its first NUL.
    const std::wstring_view formatText(format.c_str());
    if (starts && !FormatReadsPrefix(formatText, flags)) {
        GuidedReplace(re, text, formatText, flags, guard, starts, CappedAppender(result));
        return result;
    }
    const wchar_t* const begin = text.data();
    std::regex_replace(CappedAppender(result), GuardedIterator(begin, &guard),
                       GuardedIterator(begin + text.size(), &guard), re, formatText.data(), flags);
    return result;
}

}  // namespace veltrano
