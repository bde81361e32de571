#pragma once
// Why the bounded matcher stopped, as the user is told, for a keyword or a replacement definition.
#include <string>
#include <string_view>

#include "matching/bounded_match.h"

namespace veltrano {

// subject: "キーワード" or "置換定義".
inline std::wstring MatchStopReasonText(MatchAborted::Reason reason, std::wstring_view subject) {
    return reason == MatchAborted::Reason::LineTooLongForPattern
               ? L"この" + std::wstring(subject) + L"に対してクリップボードの行が長すぎます。"
               : L"この" + std::wstring(subject) + L"の照合に時間が掛かりすぎます。";
}

}  // namespace veltrano
