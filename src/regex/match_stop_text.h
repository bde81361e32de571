#pragma once
// Why the bounded matcher stopped, as the user is told, for a keyword or a replacement definition.
#include <string>
#include <string_view>

#include "regex/bounded_match.h"

namespace veltrano {

// subject: "キーワード" or "置換定義".
inline std::wstring MatchStopReasonText(MatchAborted::Reason reason, std::wstring_view subject) {
    switch (reason) {
        case MatchAborted::Reason::LineTooLongForPattern:
            return L"この" + std::wstring(subject) + L"に対してクリップボードの行が長すぎます。";
        case MatchAborted::Reason::ResultTooLarge:
            return L"この" + std::wstring(subject) + L"による置換結果が大きすぎます。";
        case MatchAborted::Reason::PatternTooSlow: break;
    }
    return L"この" + std::wstring(subject) + L"の照合に時間が掛かりすぎます。";
}

}  // namespace veltrano
