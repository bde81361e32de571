#include "matching/auto_replace_guard.h"

namespace veltrano {

bool AutoReplaceGuard::IsChained(const std::wstring& input, std::chrono::steady_clock::time_point now) const {
    if (!lastResult_ || *lastResult_ != input || !lastTime_) return false;
    // Whole milliseconds only: a gap of the interval plus a fraction of a millisecond is still chained.
    const auto gap = std::chrono::duration_cast<std::chrono::milliseconds>(now - *lastTime_);
    return gap.count() <= settings_.ReplaceContinuousIntervalMs();
}

AutoReplaceVerdict AutoReplaceGuard::CheckConsecutiveAutoReplace(const std::wstring& input) {
    const auto now = clock_.Now();
    if (IsChained(input, now)) {
        ++consecutiveCount_;
        if (consecutiveCount_ > 1 && settings_.PreventConsecutiveAutoReplace()) {
            // Nothing is written, so the chain ends here; the timer keeps the accepted run's time.
            consecutiveCount_ = 0;
            return AutoReplaceVerdict::Prohibited;
        }
    } else {
        consecutiveCount_ = 1;
    }

    if (consecutiveCount_ <= settings_.ReplaceContinuousCount()) {
        lastTime_ = now;
        return AutoReplaceVerdict::Proceed;
    }

    const bool goOn = question_.Ask(kAutoReplaceConfirmText, kAutoReplaceConfirmCaption);
    consecutiveCount_ = 0;
    // The user may take longer than the interval to answer; the chain is measured from the answer.
    lastTime_ = clock_.Now();
    return goOn ? AutoReplaceVerdict::Proceed : AutoReplaceVerdict::DeclinedByUser;
}

}  // namespace veltrano
