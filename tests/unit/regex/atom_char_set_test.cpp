// The sets read from pattern atoms against std::wregex itself, on every UTF-16 code unit.
#include "regex/atom_char_set.h"

#include <gtest/gtest.h>

#include "support/plain_regex.h"

namespace veltrano {
namespace {

using test::Printable;

TEST(AtomCharSet, AnswersAsTheRegexOnEveryCodeUnitOrIsNotRead) {
    struct Row {
        const wchar_t* atom;
        bool ignoreCase;
        bool read;  // false: left to std::wregex
    };
    const Row rows[] = {
        {L"\\d", false, true},          {L"\\D", false, true},         {L"\\w", false, true},
        {L"\\W", false, true},          {L"\\s", false, true},         {L"\\S", false, true},
        {L".", false, true},            {L"[A-Z]", false, true},       {L"[^\\s]", false, true},
        {L"[ぁ-ん]", false, true},      {L"[一-龯]", false, true},     {L"[^a-z0-9_]", false, true},
        {L"[\\d.,-]", false, true},     {L"[-a]", false, true},        {L"[a-]", false, true},
        {L"[\\x41-\\x5A]", false, true}, {L"[\\u3040-\\u309F]", false, true}, {L"\\u3042", false, true},
        {L"\\x41", false, true},        {L"\\.", false, true},         {L"\\t", false, true},
        {L"[\\W]", false, true},        {L"[^\\D]", false, true},      {L"[\\s\\S]", false, true},
        {L"[.$^*|?+(){}]", false, true}, {L"[\\]\\\\]", false, true},   {L"[ -~]", false, true},
        {L"[\\r\\n\\f\\v]", false, true},
        // Classes and "." do not fold; letters and ranges may, so they are left to the regex.
        {L"\\d", true, true},           {L"\\W", true, true},          {L".", true, true},
        {L"[^\\s]", true, true},        {L"[A-Z]", true, false},       {L"\\x41", true, false},
        {L"[[:alpha:]]", false, false}, {L"[]a]", false, false},       {L"[a-\\d]", false, false},
        {L"[a-b-c]", false, false},     {L"\\cJ", false, false},       {L"[\\b]", false, false},
    };
    const AtomCharSet::Traits traits;
    for (const Row& row : rows) {
        const std::optional<AtomCharSet> set = AtomCharSet::Read(row.atom, row.ignoreCase, traits);
        EXPECT_EQ(set.has_value(), row.read) << Printable(row.atom) << (row.ignoreCase ? " [i]" : "");
        if (!set) continue;
        auto flags = std::regex_constants::ECMAScript;
        if (row.ignoreCase) flags |= std::regex_constants::icase;
        const std::wregex regex(row.atom, flags);
        int differences = 0;
        for (unsigned unit = 0; unit <= 0xFFFF; ++unit) {
            const wchar_t c = static_cast<wchar_t>(unit);
            if (set->Contains(c, traits) != std::regex_match(&c, &c + 1, regex) && ++differences <= 3) {
                ADD_FAILURE() << Printable(row.atom) << (row.ignoreCase ? " [i]" : "") << " on U+" << std::hex << unit;
            }
        }
    }
}

}  // namespace
}  // namespace veltrano
