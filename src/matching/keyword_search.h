#pragma once
// Detection: the first keyword of the wildcard list, then of the regex list, then the first
// switched-on built-in detector, found in the clipboard text is reported once. Every match runs
// bounded, so no text can crash or freeze it; the detectors are linear and need no bound.
#include <chrono>
#include <optional>
#include <string>
#include <string_view>

#include "base/notifier.h"
#include "log/log_writer.h"
#include "matching/identifier_detectors.h"
#include "matching/keyword_lists.h"
#include "matching/organization_keywords.h"
#include "regex/bounded_match.h"
#include "settings/settings.h"

namespace veltrano {

struct KeywordHit {
    bool found = false;
    std::wstring keywordText;
    std::wstring matchedText;
    bool ignoreCase = false;
    KeywordKind kind = KeywordKind::Wildcard;
    std::optional<IdentifierRule> detector{};      // a built-in detector's hit: keywordText is its name
    std::optional<CredentialMatch> credential{};   // a credential's hit: keywordText describes it
    bool organization = false;                 // a keyword of the organisation's lists
    size_t lineNumber = 0;                     // the keyword's line in its file

    bool BuiltIn() const { return detector || credential; }
};

// Each identifier detector's switch, and its label rule's. A kind that is every order number
// without its label has no such switch: it is always looked for near one.
struct IdentifierSwitch {
    IdentifierKind kind;
    const BoolSetting& on;
    const BoolSetting* needsLabel;
};
inline constexpr IdentifierSwitch kIdentifierSwitches[] = {
    {IdentifierKind::PaymentCard, setting::kDetectPaymentCard, &setting::kDetectPaymentCardNeedsLabel},
    {IdentifierKind::MyNumber, setting::kDetectMyNumber, &setting::kDetectMyNumberNeedsLabel},
    {IdentifierKind::CorporateNumber, setting::kDetectCorporateNumber, &setting::kDetectCorporateNumberNeedsLabel},
    {IdentifierKind::PassportNumber, setting::kDetectPassportNumber, nullptr},
    {IdentifierKind::DriverLicenseNumber, setting::kDetectDriverLicenseNumber, nullptr},
    {IdentifierKind::ResidenceCardNumber, setting::kDetectResidenceCardNumber, nullptr},
    {IdentifierKind::BasicPensionNumber, setting::kDetectBasicPensionNumber, nullptr},
    {IdentifierKind::BankAccountNumber, setting::kDetectBankAccountNumber, nullptr},
};

// The built-in detectors the settings switch on.
struct Detectors {
    std::vector<IdentifierRule> identifiers;
    CredentialFamilies credentials;
    bool Any() const { return !identifiers.empty() || credentials.Any(); }
    size_t Count() const { return identifiers.size() + credentials.formats + credentials.labelledSecrets; }
};

// A keyword whose search was stopped (too slow, or the line too long for its pattern), or the
// detectors' scan (then `keywordText` names them).
struct StoppedKeyword {
    KeywordKind kind;
    std::wstring keywordText;
    MatchAborted::Reason reason;
    bool detectors = false;
    bool organization = false;
    size_t lineNumber = 0;  // the keyword's line in its file
};

// A keyword by its list and line, never by its text: "組織正規表現キーワード 12行目".
std::wstring KeywordPlace(KeywordKind kind, bool organization, size_t lineNumber);
// The stopped keyword by its place; the detectors by their names.
std::wstring StoppedKeywordPlace(const StoppedKeyword& stopped);

struct KeywordSearchResult {
    KeywordHit hit;
    std::optional<StoppedKeyword> firstStopped;  // reported once per search
    size_t stoppedCount = 0;
};

// Shares one search's time among its regex keywords: each gets an equal part of what is left
// (at least a few milliseconds), so one slow pattern cannot starve the keywords after it.
// Keywords that share the linear scan take no part: that scan gets all the time left.
class SearchTimeShare {
public:
    SearchTimeShare(std::chrono::steady_clock::time_point deadline, size_t keywords)
        : deadline_(deadline), remaining_(keywords) {}
    MatchBudget Next();
    MatchBudget AllLeft() const;

private:
    std::chrono::steady_clock::time_point deadline_;
    size_t remaining_;
};

// Scans one list in file order; a stopped keyword is recorded in `result` and the scan goes on.
KeywordHit FindFirstKeyword(const KeywordList& list, KeywordKind kind, std::wstring_view text, SearchTimeShare& time,
                            KeywordSearchResult& result);

// The same result, sparing the keywords and lines that `prefilter` (built from `list`, covering it)
// rules out; `scan` is its scan of `text`.
KeywordHit FindFirstKeyword(const KeywordList& list, const KeywordPrefilter& prefilter, KeywordPrefilter::TextScan& scan,
                            KeywordKind kind, std::wstring_view text, SearchTimeShare& time,
                            KeywordSearchResult& result);

// The organisation's lists when given, then the user's, each wildcard first, then the detectors in
// their order, all within `timeBudget`. Runs on the calling thread; safe off the UI thread.
KeywordSearchResult FindKeyword(const KeywordSet& user, std::wstring_view text,
                                std::chrono::steady_clock::duration timeBudget, const Detectors& detectors = {},
                                const KeywordSet* organization = nullptr);

// The detectors the settings switch on, in their order.
Detectors SwitchedOnDetectors(const Settings& settings);
// Their names, joined by "、".
std::wstring DetectorNames(const Detectors& detectors);

// The three-line notification body of a hit, `matched` standing for the matched text.
std::wstring DetectionMessage(const KeywordHit& hit, std::wstring_view matched);
// The log text quotes the match and the clipboard text through `log` (LogWriter::Quote).
std::wstring DetectionLogText(const KeywordHit& hit, std::wstring_view clipboardText, LogWriter& log);

class KeywordSearch {
public:
    // `organization`: the organisation's lists, searched first; none in tests that need none.
    KeywordSearch(KeywordLists& lists, const Settings& settings, Notifier& notifier, LogWriter& log,
                  const OrganizationKeywords* organization = nullptr)
        : lists_(lists), settings_(settings), notifier_(notifier), log_(log), organization_(organization) {}

    // Matches on a thread with a large stack within a time budget, then notifies and logs here,
    // naming the copying program `source` (empty when it is not to be named); true when something
    // was found.
    // A detected number is shown and spoken only by its last four digits when the settings ask; a
    // credential never by a character of its secret.
    bool SearchKeywords(const std::wstring& text, std::wstring_view source = {});

private:
    void ReportStopped(const KeywordSearchResult& result, std::wstring_view source);

    KeywordLists& lists_;
    const Settings& settings_;
    Notifier& notifier_;
    LogWriter& log_;
    const OrganizationKeywords* organization_;
};

}  // namespace veltrano
