#include "bench_data.h"

#include <array>
#include <cstdint>

#include "regex/wildcard.h"

namespace veltrano::bench {
namespace {

// Common words without quotes, digits, '_' or '@'; none is a keyword of any set.
constexpr std::array kWords = {
    L"the", L"of", L"and", L"to", L"in", L"is", L"was", L"for", L"on", L"with", L"as", L"by", L"at", L"from",
    L"this", L"that", L"which", L"their", L"its", L"our", L"we", L"they", L"it", L"an", L"a", L"or", L"but",
    L"not", L"all", L"more", L"most", L"some", L"many", L"each", L"other", L"such", L"only", L"also", L"very",
    L"project", L"client", L"budget", L"meeting", L"team", L"plan", L"report", L"document", L"office", L"market",
    L"system", L"network", L"service", L"product", L"customer", L"manager", L"schedule", L"quarter", L"review",
    L"summer", L"winter", L"river", L"mountain", L"garden", L"village", L"harbour", L"window", L"morning",
    L"evening", L"weather", L"journey", L"letter", L"story", L"history", L"music", L"picture", L"language",
    L"question", L"answer", L"reason", L"result", L"number", L"people", L"family", L"company", L"country",
    L"city", L"school", L"student", L"teacher", L"friend", L"minute", L"hour", L"week", L"month", L"year",
    L"small", L"large", L"early", L"late", L"quiet", L"bright", L"careful", L"simple", L"useful", L"recent",
    L"different", L"important", L"possible", L"several", L"certain", L"general", L"public", L"local",
    L"makes", L"takes", L"shows", L"brings", L"keeps", L"finds", L"gives", L"holds", L"moves", L"turns",
    L"began", L"found", L"kept", L"wrote", L"carried", L"opened", L"closed", L"followed", L"reached",
    L"slowly", L"quickly", L"together", L"again", L"always", L"often", L"never", L"perhaps", L"almost",
};

// Words of the many-keyword wildcard set; they occur in the prose too, so the literal scan sees
// partial matches, never a whole one (the prose has no '-', '_' or digits).
constexpr std::array kTopics = {
    L"project", L"client", L"budget", L"invoice", L"payroll", L"contract", L"roadmap", L"vendor",
    L"ledger", L"audit", L"merger", L"tender", L"forecast", L"release", L"staging", L"backup",
    L"archive", L"salary", L"customer", L"supplier", L"pricing", L"launch", L"design", L"report",
};

constexpr std::array kPrefixHeads = {L"NOVA", L"KILO", L"MEGA", L"TERA", L"ORCA",
                                     L"DELTA", L"SIGMA", L"OMEGA", L"POLAR", L"RAVEN"};
constexpr std::array kPrefixTails = {L"REX", L"TON", L"VAL", L"MOR", L"DYN", L"COR", L"FIX", L"JET", L"SUN", L"BAY"};

constexpr wchar_t kK1Wildcards[] =
    L"[i]password*\n[i]MySecretKey\n*.txt\nreport_????.log\nerror_*\nfile\\*.txt\nliteral\\?.log\n";
constexpr wchar_t kK1Regexes[] =
    L"(\\w+)\\s+\\1\n([\"'])(?:(?!\\1).)*\\1\n[i][a-zA-Z0-9._%+-]+@[a-zA-Z0-9.-]+\\.[a-zA-Z]{2,}\nAPI_KEY_[A-Z0-9]{32}\n";

// Literal-free regexes of what people guard: card, phone and personal numbers, e-mail and IP
// addresses, postal codes, dates of birth, passport numbers.
constexpr wchar_t kK3Regexes[] =
    L"\\b(?:\\d{4}[- ]?){3}\\d{4}\\b\n"
    L"\\b0\\d{1,3}-\\d{2,4}-\\d{4}\\b\n"
    L"\\b\\d{4} \\d{4} \\d{4}\\b\n"
    L"[i][a-z0-9._%+-]+@[a-z0-9.-]+\\.[a-z]{2,}\n"
    L"\\b(?:(?:25[0-5]|2[0-4]\\d|1?\\d?\\d)\\.){3}(?:25[0-5]|2[0-4]\\d|1?\\d?\\d)\\b\n"
    L"\\b\\d{3}-\\d{4}\\b\n"
    L"\\b(?:19|20)\\d{2}/(?:0[1-9]|1[0-2])/(?:0[1-9]|[12]\\d|3[01])\\b\n"
    L"\\b[A-Z]{2}\\d{7}\\b\n";

// The last keyword of each set and the text that matches it.
constexpr wchar_t kK2LastWildcard[] = L"[i]zephyr-q-9876*";
constexpr wchar_t kK2LastRegex[] = L"ZULU_KEY_[A-Z0-9]{32}";
constexpr wchar_t kK3LastRegex[] = L"\\b[A-Z]{2}\\d{7}\\b";
constexpr std::array kHitTokens = {
    L"Zephyr-Q-9876-final,",                          // K2 wildcard
    L"literal?.log,",                                 // K1 wildcard
    L"ZULU_KEY_7Q2M9X4B8K1D5F3H6J0L2N4P6R8T0V1W,",    // K2 regex
    L"API_KEY_Q8W7E6R5T4Y3U2I1O0P9A8S7D6F5G4H3,",     // K1 regex
    L"TK4829173,",                                    // K3 regex
};

std::wstring Number(size_t i) { return std::to_wstring(1000 + (i * 7919) % 9000); }

std::wstring K2Wildcards() {
    std::wstring lines;
    for (size_t i = 0; i < 999; ++i) {
        const std::wstring topic = kTopics[i % kTopics.size()];
        switch (i % 4) {
        case 0: lines += L"[i]" + topic + L"-" + wchar_t(L'a' + i * 11 % 26) + L"-" + Number(i) + L"*"; break;
        case 1: lines += topic + L"_" + Number(i) + L"_????.log"; break;
        case 2: lines += L"*-" + topic + L"-" + Number(i) + L".txt"; break;
        default: lines += L"[i]" + topic + L"-v" + std::to_wstring(i % 9) + L"." + Number(i) + L"-*"; break;
        }
        lines += L"\n";
    }
    return lines + kK2LastWildcard + L"\n";
}

std::wstring K2Regexes() {
    std::wstring lines;
    for (size_t i = 0; i < 99; ++i) {
        const std::wstring prefix = std::wstring(kPrefixHeads[i / 10]) + kPrefixTails[i % 10];
        std::wstring lower = prefix;
        for (wchar_t& c : lower) c = static_cast<wchar_t>(c - L'A' + L'a');
        switch (i % 3) {
        case 0: lines += prefix + L"_KEY_[A-Z0-9]{32}"; break;
        case 1: lines += prefix + L"_TOKEN_[A-Za-z0-9]{40}"; break;
        default: lines += L"[i]" + lower + L"_secret=[a-f0-9]{24}"; break;
        }
        lines += L"\n";
    }
    return lines + kK2LastRegex + L"\n";
}

// ripgrep's form of a keyword file: "[i]" becomes the inline flag, wildcards their regex.
std::wstring RgPatterns(const std::wstring& lines, bool wildcard) {
    std::wstring patterns;
    size_t start = 0;
    while (start < lines.size()) {
        const size_t end = lines.find(L'\n', start);
        std::wstring line = lines.substr(start, end - start);
        start = end + 1;
        const bool ignoreCase = line.starts_with(L"[i]");
        if (ignoreCase) line.erase(0, 3);
        patterns += (ignoreCase ? L"(?i)" : L"") + (wildcard ? WildcardToRegex(line) : line) + L"\n";
    }
    return patterns;
}

KeywordSet MakeSet(std::wstring name, std::wstring lines, bool wildcard, std::wstring expected, bool pcre) {
    KeywordSet set;
    set.name = std::move(name);
    set.rgPatterns = RgPatterns(lines, wildcard);
    (wildcard ? set.wildcardLines : set.regexLines) = std::move(lines);
    set.expectedHit = std::move(expected);
    set.rgNeedsPcre = pcre;
    return set;
}

class Random {
public:
    uint32_t Below(uint32_t n) {
        state_ = state_ * 6364136223846793005ull + 1442695040888963407ull;
        return static_cast<uint32_t>((state_ >> 33) % n);
    }

private:
    uint64_t state_ = 0x5eed;
};

// (\w+)\s+\1 matches wherever a word ends the way the next one begins.
bool CanFollow(const std::wstring& previous, const std::wstring& next) {
    for (size_t k = 1; k <= previous.size() && k <= next.size(); ++k) {
        if (previous.compare(previous.size() - k, k, next, 0, k) == 0) return false;
    }
    return true;
}

}  // namespace

std::vector<KeywordSet> KeywordSets() {
    return {
        MakeSet(L"K1 wildcard (7)", kK1Wildcards, true, L"literal\\?.log", false),
        MakeSet(L"K1 regex (4)", kK1Regexes, false, L"API_KEY_[A-Z0-9]{32}", true),
        MakeSet(L"K2 wildcard (1000)", K2Wildcards(), true, kK2LastWildcard, false),
        MakeSet(L"K2 regex (100)", K2Regexes(), false, kK2LastRegex, false),
        MakeSet(L"K3 regex (8)", kK3Regexes, false, kK3LastRegex, false),
    };
}

std::vector<TextCase> TextCases() {
    std::vector<TextCase> cases;
    using Shape = TextCase::Shape;
    const struct {
        const char* name;
        size_t units;
        Shape shape;
    } shapes[] = {{"1KiB-lines", 1u << 10, Shape::Lines},     {"1MiB-lines", 1u << 20, Shape::Lines},
                  {"16MiB-lines", 16u << 20, Shape::Lines},   {"1MiB-one-line", 1u << 20, Shape::OneLine},
                  {"16MiB-one-line", 16u << 20, Shape::OneLine}, {"1MiB-csv", 1u << 20, Shape::Csv},
                  {"16MiB-csv", 16u << 20, Shape::Csv}};
    for (const auto& shape : shapes) {
        for (bool hit : {false, true}) {
            cases.push_back({std::string(shape.name) + (hit ? "-hit" : "-nohit"), shape.units, shape.shape, hit});
        }
    }
    return cases;
}

namespace {

constexpr std::array kFamilyNames = {L"Sato", L"Suzuki", L"Takahashi", L"Tanaka", L"Watanabe", L"Ito",
                                     L"Yamamoto", L"Nakamura", L"Kobayashi", L"Kato", L"Yoshida", L"Yamada"};
constexpr std::array kGivenNames = {L"Haruto", L"Yui", L"Sota", L"Hina", L"Ren", L"Aoi", L"Riku", L"Mei",
                                    L"Kaito", L"Sakura", L"Daiki", L"Yuna"};
constexpr std::array kCities = {L"Sapporo", L"Sendai", L"Chiba", L"Yokohama", L"Nagoya", L"Kyoto",
                                L"Osaka", L"Kobe", L"Hiroshima", L"Fukuoka"};

// A customer list: id, name, city, date of last order (ISO, so no K3 date), items, amount.
// Numbers stay short and apart (no run of 8 or more digits, no dotted quads, no dashes
// between digits), so only the hit row's tokens match any keyword.
std::wstring MakeCsv(const TextCase& text) {
    Random random;
    std::wstring csv = L"id,name,city,last_order,items,amount\r\n";
    csv.reserve(text.units);
    const size_t hitAt = text.units - std::max<size_t>(text.units / 100, 200);
    bool hitDone = !text.hit;
    for (size_t row = 1;; ++row) {
        std::wstring line;
        if (!hitDone && csv.size() >= hitAt) {
            for (const wchar_t* token : kHitTokens) line += std::wstring(L"note ") + token + L" ";
            line += L"\r\n";
            hitDone = true;
        }
        wchar_t date[16];
        swprintf(date, std::size(date), L"%04u%02u%02u", 2015 + random.Below(10), 1 + random.Below(12), 1 + random.Below(28));
        line += L"C" + std::to_wstring(100000 + row % 900000) + L"," + kFamilyNames[random.Below(kFamilyNames.size())] +
                L" " + kGivenNames[random.Below(kGivenNames.size())] + L"," + kCities[random.Below(kCities.size())] +
                L"," + date + L"," + std::to_wstring(1 + random.Below(40)) + L"," +
                std::to_wstring(random.Below(90000)) + L"." + std::to_wstring(10 + random.Below(90)) + L"\r\n";
        if (csv.size() + line.size() > text.units) break;
        csv += line;
    }
    csv.append(text.units - csv.size(), L' ');
    return csv;
}

std::wstring MakeProse(const TextCase& text) {
    Random random;
    std::wstring prose;
    prose.reserve(text.units);
    size_t lineLength = 0;
    std::wstring previous;
    const size_t hitAt = text.units - std::max<size_t>(text.units / 100, 200);
    bool hitDone = !text.hit;
    size_t sentenceLeft = 0;
    const auto append = [&](const std::wstring& token) {
        if (prose.empty()) {
        } else if (!(text.shape == TextCase::Shape::OneLine) && lineLength + 1 + token.size() > 80) {
            prose += L"\r\n";
            lineLength = 0;
        } else {
            prose += L' ';
            ++lineLength;
        }
        prose += token;
        lineLength += token.size();
        previous = token;
    };
    for (;;) {
        if (!hitDone && prose.size() >= hitAt) {
            // Commas keep the hits apart from their neighbours for (\w+)\s+\1.
            if (!previous.empty() && previous.back() != L'.' && previous.back() != L',') prose += L',';
            for (const wchar_t* token : kHitTokens) append(token);
            hitDone = true;
        }
        std::wstring word;
        do {
            word = kWords[random.Below(kWords.size())];
            if (sentenceLeft == 0) word[0] = static_cast<wchar_t>(word[0] - L'a' + L'A');
        } while (!CanFollow(previous, word));
        if (sentenceLeft == 0) sentenceLeft = 5 + random.Below(10);
        if (--sentenceLeft == 0) {
            word += L'.';
        } else if (random.Below(8) == 0) {
            word += L',';
        }
        if (prose.size() + 2 + word.size() > text.units) break;
        append(word);
    }
    prose.append(text.units - prose.size(), L' ');
    return prose;
}

}  // namespace

std::wstring MakeText(const TextCase& text) {
    return text.shape == TextCase::Shape::Csv ? MakeCsv(text) : MakeProse(text);
}

KeywordSet K2Lists() {
    const std::vector<KeywordSet> sets = KeywordSets();
    KeywordSet k2 = sets[2];
    k2.regexLines = sets[3].regexLines;
    return k2;
}

}  // namespace veltrano::bench
