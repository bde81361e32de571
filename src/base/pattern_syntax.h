#pragma once
// The two pattern languages of the user's list files (keywords and replacement definitions).
namespace veltrano {

// The values are stored: a replacement record's type is 1 for wildcard, 0 for regular expression.
enum class PatternSyntax : int { Regex = 0, Wildcard = 1 };

// Wildcard first: the order in which the lists are loaded, searched and shown.
inline constexpr PatternSyntax kPatternSyntaxes[] = {PatternSyntax::Wildcard, PatternSyntax::Regex};

// "ワイルドカード" or "正規表現", as notifications and logs name the syntax.
inline const wchar_t* PatternSyntaxName(PatternSyntax syntax) {
    return syntax == PatternSyntax::Wildcard ? L"ワイルドカード" : L"正規表現";
}

}  // namespace veltrano
