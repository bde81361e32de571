#include "regex/atom_char_set.h"

#include <algorithm>

namespace veltrano {
namespace {

struct NotRead {};

int HexValue(wchar_t c) {
    if (c >= L'0' && c <= L'9') return c - L'0';
    if (c >= L'a' && c <= L'f') return c - L'a' + 10;
    if (c >= L'A' && c <= L'F') return c - L'A' + 10;
    throw NotRead{};
}

bool IsAsciiAlnum(wchar_t c) {
    return (c >= L'0' && c <= L'9') || (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z');
}

class Reader {
public:
    Reader(std::wstring_view atom, const AtomCharSet::Traits& traits) : atom_(atom), traits_(traits) {}

    bool More() const { return position_ < atom_.size(); }
    wchar_t Peek() const { return More() ? atom_[position_] : L'\0'; }
    wchar_t Take() {
        if (!More()) throw NotRead{};
        return atom_[position_++];
    }

    bool ClassEscapeAhead() const {
        if (Peek() != L'\\' || position_ + 1 >= atom_.size()) return false;
        const wchar_t lower = static_cast<wchar_t>(atom_[position_ + 1] | 0x20);
        return lower == L'd' || lower == L'w' || lower == L's';
    }

    // "\d" and the like: the class, and whether it is the complement ("\D").
    std::optional<std::pair<AtomCharSet::Traits::char_class_type, bool>> ClassEscape() {
        if (!ClassEscapeAhead()) return std::nullopt;
        const wchar_t name = atom_[position_ + 1];
        const wchar_t lower = static_cast<wchar_t>(name | 0x20);
        position_ += 2;
        return std::pair{traits_.lookup_classname(&lower, &lower + 1), name != lower};
    }

    // One character: itself, or an escape that stands for one.
    wchar_t Character() {
        const wchar_t c = Take();
        if (c != L'\\') return c;
        const wchar_t escaped = Take();
        switch (escaped) {
            case L't': return L'\t';
            case L'n': return L'\n';
            case L'v': return L'\v';
            case L'f': return L'\f';
            case L'r': return L'\r';
            case L'x': return Hex(2);
            case L'u': return Hex(4);
            default: break;
        }
        if (IsAsciiAlnum(escaped)) throw NotRead{};  // back-references, "\b", "\c", "\0", ...
        return escaped;
    }

private:
    wchar_t Hex(int digits) {
        int value = 0;
        for (int i = 0; i < digits; ++i) value = value * 16 + HexValue(Take());
        return static_cast<wchar_t>(value);
    }

    std::wstring_view atom_;
    const AtomCharSet::Traits& traits_;
    size_t position_ = 0;
};

}  // namespace

std::optional<AtomCharSet> AtomCharSet::Read(std::wstring_view atom, bool ignoreCase, const Traits& traits) {
    try {
        AtomCharSet set;
        Reader reader(atom, traits);
        bool folds = false;  // holds characters that case folding could widen
        if (atom == L".") {
            // ECMAScript's "." over wide characters: anything but the four line terminators.
            reader.Take();
            set.negated_ = true;
            set.ranges_ = {{L'\n', L'\n'}, {L'\r', L'\r'}, {L'\u2028', L'\u2028'}, {L'\u2029', L'\u2029'}};
        } else if (const auto escape = reader.ClassEscape()) {
            set.classes_.push_back(escape->first);
            set.negated_ = escape->second;
        } else if (reader.Peek() != L'[') {
            const wchar_t c = reader.Character();
            set.ranges_.push_back({c, c});
            folds = true;
        } else {
            reader.Take();
            if (reader.Peek() == L'^') {
                reader.Take();
                set.negated_ = true;
            }
            // "]" first, "[" anywhere (POSIX items) and "-" other than first or last are left to the regex.
            if (reader.Peek() == L']') return std::nullopt;
            bool first = true;
            while (reader.Peek() != L']') {
                if (reader.Peek() == L'[') return std::nullopt;
                if (const auto escape = reader.ClassEscape()) {
                    (escape->second ? set.missingClasses_ : set.classes_).push_back(escape->first);
                    if (reader.Peek() == L'-') return std::nullopt;
                    first = false;
                    continue;
                }
                if (reader.Peek() == L'-' && !first) return std::nullopt;
                const wchar_t low = reader.Character();
                wchar_t high = low;
                if (reader.Peek() == L'-') {
                    reader.Take();
                    if (reader.Peek() == L']') {
                        set.ranges_.push_back({L'-', L'-'});  // "[a-]": the '-' stands for itself
                    } else {
                        if (reader.Peek() == L'-' || reader.ClassEscapeAhead()) return std::nullopt;
                        high = reader.Character();
                        if (high < low) return std::nullopt;
                    }
                }
                set.ranges_.push_back({low, high});
                folds = true;
                first = false;
            }
            reader.Take();
        }
        if (reader.More() || (ignoreCase && folds)) return std::nullopt;
        return set;
    } catch (const NotRead&) {
        return std::nullopt;
    }
}

bool AtomCharSet::Contains(wchar_t c, const Traits& traits) const {
    const bool member =
        std::any_of(ranges_.begin(), ranges_.end(), [c](const auto& range) { return range.first <= c && c <= range.second; }) ||
        std::any_of(classes_.begin(), classes_.end(), [&](auto cls) { return traits.isctype(c, cls); }) ||
        std::any_of(missingClasses_.begin(), missingClasses_.end(), [&](auto cls) { return !traits.isctype(c, cls); });
    return member != negated_;
}

}  // namespace veltrano
