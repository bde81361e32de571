#pragma once
// The one way to run a user's std::wregex on clipboard text. libstdc++ matches by recursion
// (some 400 bytes of stack per character one attempt consumes) and by unbounded backtracking,
// so a long line can overflow the stack and some patterns take minutes. Here the matcher walks
// the text through an iterator whose every step checks the stack and a deadline, and aborts
// the match with MatchAborted instead. Long lines need RunOnLargeStack (large_stack.h).
#include <chrono>
#include <functional>
#include <optional>
#include <regex>
#include <stdexcept>
#include <string>
#include <string_view>

#include "regex/match_span.h"

namespace veltrano {

class MatchAborted : public std::runtime_error {
public:
    enum class Reason {
        LineTooLongForPattern,  // the thread's stack ran out (nearly always a long line)
        PatternTooSlow,         // the budget's deadline passed
        ResultTooLarge,         // a replacement would exceed kMaxReplacementLength
    };

    explicit MatchAborted(Reason reason);
    Reason reason() const noexcept { return reason_; }

private:
    Reason reason_;
};

// Thrown before compiling a pattern whose compilation alone could exhaust the stack.
// A std::regex_error (error_complexity), so callers report it like any other bad pattern.
class PatternTooComplex : public std::regex_error {
public:
    PatternTooComplex() : std::regex_error(std::regex_constants::error_complexity) {}
    const char* what() const noexcept override;
};

inline constexpr size_t kMaxPatternLength = 4096;
inline constexpr int kMaxPatternNesting = 64;

// Throws PatternTooComplex when the pattern is longer than kMaxPatternLength or its groups
// nest deeper than kMaxPatternNesting (ECMAScript syntax). Compiling the largest accepted
// patterns takes about 540 KB of stack.
void CheckPatternSize(std::wstring_view pattern);

// CheckPatternSize, then compile; every other fault is the usual std::regex_error.
std::wregex CompileUserPattern(std::wstring_view pattern,
                               std::regex_constants::syntax_option_type flags = std::regex_constants::ECMAScript);

// The budget of one clipboard update's search, or of one replacement: together with the rest of
// the update, the UI thread stays responsive.
inline constexpr auto kSearchTimeBudget = std::chrono::milliseconds(800);

// A deadline shared by the searches of one piece of work (e.g. one clipboard update); a call
// made after it has passed aborts at once. The stack limit is not part of it: each call takes
// it from the thread it runs on.
class MatchBudget {
public:
    explicit MatchBudget(std::chrono::steady_clock::duration timeBudget)
        : deadline_(std::chrono::steady_clock::now() + timeBudget) {}
    explicit MatchBudget(std::chrono::steady_clock::time_point deadline) : deadline_(deadline) {}

    std::chrono::steady_clock::time_point Deadline() const noexcept { return deadline_; }

private:
    std::chrono::steady_clock::time_point deadline_;
};

// Stack left unused below the deepest point a match may reach: room for unwinding and for
// the zero-width steps between two checks.
inline constexpr size_t kStackSafetyMargin = 256 * 1024;

// Where anchored matches may begin: the first such position at or after the one given (every
// position where one does begin must be among them). When a finder is given, only those
// positions are tried (the linear engine computes them); without one, every position is, as
// std::regex_search does.
using MatchStartFinder = std::function<std::optional<size_t>(size_t from)>;

// A replacement longer than this (UTF-16 units) is not built: it stops like a slow pattern.
inline constexpr size_t kMaxReplacementLength = 64u << 20;

// std::regex_search(text.begin() + from, text.end(), re) — with match_prev_avail when from > 0,
// as std::regex_iterator searches on — as a span of `text`. Throws MatchAborted when the
// match needs more stack than this thread has or the budget's deadline passes; the regex
// stays usable.
std::optional<MatchSpan> BoundedSearch(const std::wregex& re, std::wstring_view text, MatchBudget& budget,
                                       size_t from = 0, const MatchStartFinder& starts = {});

// std::regex_replace(text, re, format, flags). On MatchAborted no partial output escapes.
std::wstring BoundedReplace(const std::wregex& re, std::wstring_view text, const std::wstring& format,
                            std::regex_constants::match_flag_type flags, MatchBudget& budget,
                            const MatchStartFinder& starts = {});

}  // namespace veltrano
