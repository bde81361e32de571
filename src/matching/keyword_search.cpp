#include "matching/keyword_search.h"

#include <algorithm>
#include <chrono>

#include "regex/large_stack.h"
#include "regex/match_stop_text.h"

namespace veltrano {
namespace {

// Even after a slow pattern used up the search's time, a cheap keyword still gets this long.
constexpr auto kMinimumKeywordTime = std::chrono::milliseconds(5);

const wchar_t* CaseText(bool ignoreCase) { return ignoreCase ? L"大文字小文字無視" : L"大文字小文字区別"; }

// The "設定" of a hit: the keyword's case rule or the detector's label rule.
const wchar_t* SettingText(const KeywordHit& hit) {
    if (hit.detector) return hit.detector->needsLabel ? L"ラベル必須" : L"ラベル不要";
    if (hit.credential) return hit.credential->item.empty() ? L"ラベル不要" : L"ラベル必須";
    return CaseText(hit.ignoreCase);
}

// What found or stopped: a keyword of the organisation's or the user's list, or the detectors.
std::wstring RuleType(KeywordKind kind, bool detector, bool organization) {
    if (detector) return L"検出ルール";
    return (organization ? L"組織" : L"") + std::wstring(PatternSyntaxName(kind));
}
std::wstring RuleLabel(KeywordKind kind, bool detector, bool organization) {
    return detector ? L"検出ルール" : RuleType(kind, false, organization) + L"キーワード";
}

}  // namespace

std::wstring KeywordPlace(KeywordKind kind, bool organization, size_t lineNumber) {
    return RuleLabel(kind, false, organization) + L" " + std::to_wstring(lineNumber) + L"行目";
}

std::wstring StoppedKeywordPlace(const StoppedKeyword& stopped) {
    if (stopped.detectors) return RuleLabel(stopped.kind, true, false) + L"（" + stopped.keywordText + L"）";
    return KeywordPlace(stopped.kind, stopped.organization, stopped.lineNumber);
}

namespace {

// A keyword as what leaves the warning names it: with LogMaskSecrets a user's or the organisation's
// keyword by its place, as a literal one is the very text it finds; a detector by its name.
std::wstring KeywordNamed(const std::wstring& keywordText, KeywordKind kind, bool detector, bool organization,
                          size_t lineNumber, bool masked) {
    if (detector || !masked) return keywordText;
    return KeywordPlace(kind, organization, lineNumber);
}

std::optional<MatchSpan> SearchRegexEntry(const KeywordEntry& entry, std::wstring_view text, MatchBudget& budget,
                                          size_t from) {
    return BoundedSearch(entry.pattern, text, budget, from,
                         entry.linear ? entry.linear->SearchFinder(text, budget) : MatchStartFinder{});
}

std::optional<MatchSpan> FindEntry(const KeywordEntry& entry, std::wstring_view text, SearchTimeShare& time) {
    if (entry.wildcard) return entry.wildcard->Find(text);
    MatchBudget budget = time.Next();
    return SearchRegexEntry(entry, text, budget, 0);
}

// The keywords that take a share of the search's time.
size_t TimeSharers(const KeywordList& list, const KeywordPrefilter& prefilter) {
    const bool prefiltered = prefilter.Covers(list);
    size_t sharers = 0;
    for (size_t i = 0; i < list.size(); ++i) {
        if (!list[i].wildcard && !(prefiltered && prefilter.SharesLinearScan(i))) ++sharers;
    }
    return sharers;
}

}  // namespace

MatchBudget SearchTimeShare::Next() {
    const auto now = std::chrono::steady_clock::now();
    const auto left = deadline_ > now ? deadline_ - now : std::chrono::steady_clock::duration::zero();
    const auto share = left / static_cast<long>(std::max<size_t>(remaining_, 1));
    if (remaining_ > 0) --remaining_;
    return MatchBudget(now + std::max<std::chrono::steady_clock::duration>(share, kMinimumKeywordTime));
}

MatchBudget SearchTimeShare::AllLeft() const {
    return MatchBudget(std::max(deadline_, std::chrono::steady_clock::now() + kMinimumKeywordTime));
}

namespace {

// The first keyword of the list for which find(index) gives a match.
template <typename Find>
KeywordHit FirstHit(const KeywordList& list, KeywordKind kind, std::wstring_view text, KeywordSearchResult& result,
                    const Find& find) {
    for (size_t index = 0; index < list.size(); ++index) {
        const KeywordEntry& entry = list[index];
        try {
            if (const std::optional<MatchSpan> match = find(index)) {
                return KeywordHit{.found = true,
                                  .keywordText = entry.text,
                                  .matchedText = std::wstring(text.substr(match->position, match->length)),
                                  .ignoreCase = entry.ignoreCase,
                                  .kind = kind,
                                  .lineNumber = entry.lineNumber};
            }
        } catch (const MatchAborted& stopped) {
            if (!result.firstStopped) {
                result.firstStopped = StoppedKeyword{
                    .kind = kind, .keywordText = entry.text, .reason = stopped.reason(), .lineNumber = entry.lineNumber};
            }
            ++result.stoppedCount;
        }
    }
    return KeywordHit{};
}

}  // namespace

KeywordHit FindFirstKeyword(const KeywordList& list, const KeywordPrefilter& prefilter, KeywordPrefilter::TextScan& scan,
                            KeywordKind kind, std::wstring_view text, SearchTimeShare& time,
                            KeywordSearchResult& result) {
    return FirstHit(list, kind, text, result, [&](size_t index) -> std::optional<MatchSpan> {
        const KeywordEntry& entry = list[index];
        if (entry.wildcard) return prefilter.FindWildcard(list, index, text, scan);
        if (prefilter.SharesLinearScan(index)) {
            MatchBudget budget = time.AllLeft();
            const std::optional<size_t> first = prefilter.SharedLinearStart(index, text, scan, budget);
            if (!first) return std::nullopt;
            // The pattern is exact: its match begins there (asking on is only a safeguard).
            return BoundedSearch(entry.pattern, text, budget, 0, [&](size_t from) {
                return from <= *first ? first : entry.linear->FirstStart(text, from, budget);
            });
        }
        // Taken even when skipped: the share passes on to the next keywords, as after a quick search.
        MatchBudget budget = time.Next();
        const std::optional<size_t> start = prefilter.RegexStart(index, scan);
        if (!start) return std::nullopt;
        return SearchRegexEntry(entry, text, budget, *start);
    });
}

KeywordHit FindFirstKeyword(const KeywordList& list, KeywordKind kind, std::wstring_view text, SearchTimeShare& time,
                            KeywordSearchResult& result) {
    return FirstHit(list, kind, text, result, [&](size_t index) { return FindEntry(list[index], text, time); });
}

KeywordSearchResult FindKeyword(const KeywordSet& user, std::wstring_view text,
                                std::chrono::steady_clock::duration timeBudget,
                                const Detectors& detectors, const KeywordSet* organization) {
    // The organisation's lists first, then the user's; in each, wildcards before regexes.
    struct Searched {
        const KeywordList& list;
        const KeywordPrefilter& prefilter;
        KeywordKind kind;
        bool organization;
    };
    std::vector<Searched> searched;
    for (const KeywordSet* set : {organization, &user}) {
        if (!set) continue;
        for (const KeywordKind kind : kPatternSyntaxes) {
            searched.push_back({set->List(kind), set->Prefilter(kind), kind, set == organization});
        }
    }
    size_t sharers = 0;
    std::vector<const KeywordPrefilter*> prefilters;
    for (const Searched& one : searched) {
        sharers += TimeSharers(one.list, one.prefilter);
        if (one.prefilter.Covers(one.list)) prefilters.push_back(&one.prefilter);
    }
    SearchTimeShare time(std::chrono::steady_clock::now() + timeBudget, sharers);
    // One pass over the text finds the literals of all lists.
    std::vector<KeywordPrefilter::TextScan> scans = KeywordPrefilter::ScanTogether(prefilters, text);
    KeywordSearchResult result;
    size_t scanned = 0;
    for (const Searched& one : searched) {
        if (result.hit.found) break;
        const size_t stoppedBefore = result.stoppedCount;
        result.hit = one.prefilter.Covers(one.list)
                         ? FindFirstKeyword(one.list, one.prefilter, scans[scanned++], one.kind, text, time, result)
                         : FindFirstKeyword(one.list, one.kind, text, time, result);
        result.hit.organization = one.organization && result.hit.found;
        if (result.firstStopped && stoppedBefore == 0 && result.stoppedCount > 0) {
            result.firstStopped->organization = one.organization;
        }
    }
    if (!result.hit.found && detectors.Any()) {
        try {
            const DetectorFinds finds =
                FindDetected(text, detectors.identifiers, detectors.credentials, time.AllLeft().Deadline());
            if (const std::optional<IdentifierMatch>& match = finds.identifier) {
                result.hit = KeywordHit{.found = true,
                                        .keywordText = IdentifierName(match->rule.kind),
                                        .matchedText = std::wstring(text.substr(match->position, match->length)),
                                        .detector = match->rule};
            } else if (const std::optional<CredentialMatch>& credential = finds.credential) {
                result.hit = KeywordHit{.found = true,
                                        .keywordText = CredentialDescription(*credential),
                                        .matchedText = std::wstring(text.substr(credential->position, credential->length)),
                                        .credential = credential};
            }
        } catch (const MatchAborted& stopped) {
            if (!result.firstStopped) {
                result.firstStopped = StoppedKeyword{KeywordKind::Regex, DetectorNames(detectors), stopped.reason(), true};
            }
            ++result.stoppedCount;
        }
    }
    return result;
}

std::wstring DetectorNames(const Detectors& detectors) {
    std::vector<const wchar_t*> names;
    for (const IdentifierRule& rule : detectors.identifiers) names.push_back(IdentifierName(rule.kind));
    if (detectors.credentials.formats) names.push_back(L"認証情報の形式");
    if (detectors.credentials.labelledSecrets) names.push_back(L"項目名つきのパスワード");
    std::wstring joined;
    for (const wchar_t* name : names) joined.append(joined.empty() ? L"" : L"、").append(name);
    return joined;
}

Detectors SwitchedOnDetectors(const Settings& settings) {
    Detectors detectors;
    for (const IdentifierSwitch& detector : kIdentifierSwitches) {
        if (!settings.Read(detector.on)) continue;
        detectors.identifiers.push_back({detector.kind, !detector.needsLabel || settings.Read(*detector.needsLabel)});
    }
    detectors.credentials = {settings.DetectCredentials(), settings.DetectPasswordAssignments()};
    return detectors;
}

std::wstring DetectionMessage(const KeywordHit& hit, std::wstring_view matched) {
    return L"一致部分: " + std::wstring(matched) + L"\n" + RuleLabel(hit.kind, hit.BuiltIn(), hit.organization) + L": " +
           hit.keywordText + L"\n設定: " + SettingText(hit);
}

// A credential's copy is never written in clear, whatever the log's own switch says.
std::wstring DetectionLogText(const KeywordHit& hit, const std::wstring& keyword, std::wstring_view clipboardText,
                             LogWriter& log) {
    const std::wstring matched = hit.credential ? CredentialShown(*hit.credential) : log.Quote(hit.matchedText);
    const std::wstring copied = hit.credential ? log.Tag(clipboardText) : log.Quote(clipboardText);
    return L"タイプ: " + RuleType(hit.kind, hit.BuiltIn(), hit.organization) + L" / キーワード: " + keyword + L" / 設定: " +
           SettingText(hit) + L" / 一致部分: " + matched + L" / クリップボード内容: " + copied;
}

bool KeywordSearch::SearchKeywords(const std::wstring& text, std::wstring_view source) {
    lists_.ReloadChanged();
    const Detectors detectors = SwitchedOnDetectors(settings_);
    // A snapshot: the worker may publish newer lists meanwhile.
    const std::shared_ptr<const KeywordSet> organization = organization_ ? organization_->Current() : nullptr;
    const KeywordSearchResult result =
        RunOnLargeStack([&] { return FindKeyword(lists_.Set(), text, kSearchTimeBudget, detectors, organization.get()); });
    if (result.hit.found) {
        const KeywordHit& hit = result.hit;
        // The user chose the keywords' words; a detected number is the secret itself.
        const bool masked = hit.detector && settings_.MaskDetectedNumbers();
        std::wstring message = DetectionMessage(hit, hit.credential ? CredentialShown(*hit.credential)
                                                     : masked       ? MaskedNumber(hit.matchedText)
                                                                    : hit.matchedText);
        std::wstring spoken = masked ? DetectionMessage(hit, L"下4桁 " + LastFourDigits(hit.matchedText)) : message;
        const std::wstring keyword = KeywordNamed(hit.keywordText, hit.kind, hit.BuiltIn(), hit.organization,
                                                  hit.lineNumber, log_.MasksSecrets());
        std::wstring logText = DetectionLogText(hit, keyword, text, log_);
        if (!source.empty()) {
            for (std::wstring* body : {&message, &spoken}) body->append(L"\nコピー元: ").append(source);
            logText.append(L" / コピー元: ").append(source);
        }
        notifier_.NotifyWithSpokenBody(message, spoken, L"クリップボード検出", NotifyKind::Warning);
        log_.WriteLog(LogCategory::KeywordSearch, L"クリップボード検出", logText);
        if (log_.EventsOn()) {
            // Collected centrally: a number only masked, a keyword's match only as its tag.
            const std::wstring matched = hit.credential ? CredentialShown(*hit.credential)
                                         : hit.detector     ? MaskedNumber(hit.matchedText)
                                                            : log_.Tag(hit.matchedText);
            log_.ReportEvent(EventId::Detection, {RuleType(hit.kind, hit.BuiltIn(), hit.organization), keyword,
                                                  SettingText(hit), matched, std::wstring(source)});
        }
    }
    if (result.firstStopped) ReportStopped(result, source);
    return result.hit.found;
}

void KeywordSearch::ReportStopped(const KeywordSearchResult& result, std::wstring_view source) {
    const StoppedKeyword& stopped = *result.firstStopped;
    const wchar_t* subject = stopped.detectors ? L"検出ルール" : L"キーワード";
    std::wstring body = std::wstring(L"次の理由で、キーワードの検索を中断しました。\n\n理由：") +
                        MatchStopReasonText(stopped.reason, subject) + L"\n" +
                        RuleLabel(stopped.kind, stopped.detectors, stopped.organization) + L": " + stopped.keywordText;
    if (result.stoppedCount > 1) {
        body += L"\n（ほか " + std::to_wstring(result.stoppedCount - 1) + L" 件のキーワードも中断しました）";
    }
    const std::wstring title = L"キーワード検索中断";
    const std::wstring keyword = KeywordNamed(stopped.keywordText, stopped.kind, stopped.detectors, stopped.organization,
                                              stopped.lineNumber, log_.MasksSecrets());
    notifier_.Notify(body, title, NotifyKind::Error);
    log_.WriteLog(LogCategory::Other, title,
                  std::wstring(L"タイプ: ") + RuleType(stopped.kind, stopped.detectors, stopped.organization) + L" / キーワード: " +
                      keyword + L" / 理由: " + MatchStopReasonText(stopped.reason, subject) +
                      L" / 中断件数: " + std::to_wstring(result.stoppedCount));
    log_.ReportEvent(EventId::SearchStopped, {RuleType(stopped.kind, stopped.detectors, stopped.organization), keyword,
                                              MatchStopReasonText(stopped.reason, subject), std::wstring(source)});
}

}  // namespace veltrano
