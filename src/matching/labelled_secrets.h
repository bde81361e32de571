#pragma once
// Secrets given to a name that says so, in the forms configuration files and mail use:
// "DB_PASSWORD=…", "password: …", "\"client_secret\": \"…\"", "<password>…</password>",
// "define('DB_PASSWORD', '…')", "'pass' => '…'", netrc's "password …", 「パスワード：…」,
// 「パスワードは…です」, and the lines of a PostgreSQL password file. Each place is read within a
// bounded distance, so a text costs time in proportion to its length whatever its shape.
#include <optional>
#include <string>
#include <string_view>

#include "matching/credential_kind.h"
#include "matching/credential_text.h"

namespace veltrano {

// What a name given a value says the value is: nothing, or the kind of secret.
std::optional<CredentialKind> LabelKind(std::wstring_view name);

class LabelledSecretFinder {
public:
    explicit LabelledSecretFinder(std::wstring_view text) : text_(text) {}

    // The characters the finder is asked at: separators, call brackets and the last characters of labels.
    static constexpr bool IsSeparator(wchar_t c) {
        switch (c) {
            case L':': case L'=': case L'\uFF1A': case L'\uFF1D': case L'>': case L'\u3011':
                return true;
            default:
                return false;
        }
    }
    static constexpr bool IsLabelEnd(wchar_t c) {
        return c == L'w' || c == L'W' || c == L'ド' || c == L'ﾞ' || c == L'号' || c == L'葉';
    }
    // How a netrc password label begins, up to its anchor: "passw" of "password" and "passwd".
    static constexpr std::wstring_view kNetrcLabelStart = L"passw";
    // The opening bracket of a call that may name its second argument.
    static constexpr bool IsCallOpen(wchar_t c) { return c == L'('; }
    // False where the characters beside a place rule it out, or where the finder is not asked: a
    // call names a value only with a quote after its bracket, a "w" ends only "passw", a separator
    // gives a labelled value only when a label's stem begins within a name's reach before it.
    // Brackets, "w"s and separators are common in text, so most are passed here.
    [[gnu::always_inline]] bool MayMatterAt(size_t position) {
        const wchar_t c = text_[position];
        switch (c) {
            case L'(': {
                const wchar_t after = position + 1 < text_.size() ? text_[position + 1] : L'\0';
                return after == L'"' || after == L'\'' || after == L'`' || credential_text::IsBlank(after);
            }
            case L'w': case L'W':
                return position > 0 && credential_text::Folded(text_[position - 1]) == L's';
            default:
                if (IsSeparator(c)) return StemBefore(position);
                return IsLabelEnd(c);
        }
    }

    // A value given at the separator at `position` to a name that is a label.
    std::optional<CredentialMatch> AtSeparator(size_t position);
    // A value a call's quoted first argument names, the call's bracket at `open`.
    std::optional<CredentialMatch> AtCall(size_t open);
    // A value after the label ending at `position` with only blanks or 「は」 between: netrc's
    // "password x", 「パスワードは x」, 「【パスワード】x」.
    std::optional<CredentialMatch> AtLabelEnd(size_t position);
    // A password file's line ("host:port:database:user:password") ending at `lineEnd`.
    std::optional<CredentialMatch> AtLineEnd(size_t lineStart, size_t lineEnd) const;

private:
    struct Value {
        size_t begin;
        size_t end;
        bool quoted;
    };
    std::optional<Value> ValueAfter(size_t at, CredentialKind kind, std::wstring_view name) const;
    std::optional<CredentialMatch> Assignment(size_t nameBegin, size_t nameEnd, size_t separatorEnd,
                                              std::wstring_view shownSeparator);
    std::optional<CredentialMatch> XmlElement(size_t position);
    bool NetrcWordBefore(size_t position);

    bool StemBefore(size_t separator) {
        if (separator > nextStem_) FindStemsBefore(separator);
        return lastStem_ != credential_text::kNoPlace && separator - lastStem_ <= kStemReach;
    }
    void FindStemsBefore(size_t separator);
    size_t FirstStemFrom(size_t from) const;
    bool StemStartsAt(size_t at) const;

    // The farthest a stem that a separator's name holds begins before it: the longest name, the
    // blanks before the separator (the "=" of "=>" among them) and a closing quote.
    static const size_t kStemReach;

    std::wstring_view text_;
    // A label's stems, found ahead of the separators that ask: the last one before the last
    // separator asked at, and the one after it (the text's length: none).
    bool stemsSearched_ = false;
    size_t lastStem_ = credential_text::kNoPlace;
    size_t nextStem_ = 0;
    // The last netrc "machine"/"default" and "login" found, and how far they were looked for.
    size_t netrcEntryAt_ = credential_text::kNoPlace;
    size_t netrcLoginAt_ = credential_text::kNoPlace;
    size_t netrcSearchedTo_ = 0;
};

}  // namespace veltrano
