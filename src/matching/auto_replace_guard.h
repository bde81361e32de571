#pragma once
// The guard against automatic replacements that feed on their own output: each rewrite raises a
// clipboard update that is replaced again, so a chain is counted and stopped or questioned.
#include <chrono>
#include <optional>
#include <string>

#include "base/monotonic_clock.h"
#include "base/yes_no_question.h"
#include "settings/settings.h"

namespace veltrano {

enum class AutoReplaceVerdict : int { Proceed = 0, Prohibited = 1, DeclinedByUser = 2 };

inline constexpr const wchar_t* kAutoReplaceConfirmCaption = L"自動置換続行の確認 - Veltrano";
inline constexpr const wchar_t* kAutoReplaceConfirmText =
    L"短時間の連続したクリップボード自動置換が、次の実行でユーザー設定回数を超えます。\n"
    L"自動置換を続行しますか？\n"
    L"続行を選択した場合、カウンタをリセットし、短時間連続自動置換がユーザー設定回数を次の実行で超えるときに、"
    L"またメッセージを表示します。";

// Lives as long as the process; nothing of it is stored on disk.
class AutoReplaceGuard {
public:
    AutoReplaceGuard(const Settings& settings, const MonotonicClock& clock, YesNoQuestion& question)
        : settings_(settings), clock_(clock), question_(question) {}
    AutoReplaceGuard(const AutoReplaceGuard&) = delete;
    AutoReplaceGuard& operator=(const AutoReplaceGuard&) = delete;

    // `input` is the text the replacement started from, not its result. May show a modal box.
    AutoReplaceVerdict CheckConsecutiveAutoReplace(const std::wstring& input);

    // After a Proceed that rewrote the clipboard: the text written, which a chained run would
    // start from. Runs that were refused or declined leave it unchanged.
    void RecordAcceptedResult(std::wstring result) { lastResult_ = std::move(result); }

private:
    bool IsChained(const std::wstring& input, std::chrono::steady_clock::time_point now) const;

    const Settings& settings_;
    const MonotonicClock& clock_;
    YesNoQuestion& question_;

    int consecutiveCount_ = 0;
    // Empty until a replacement has been let through, so the first one is never chained.
    std::optional<std::chrono::steady_clock::time_point> lastTime_;
    std::optional<std::wstring> lastResult_;
};

}  // namespace veltrano
