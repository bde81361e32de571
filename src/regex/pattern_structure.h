#pragma once
// Reading an ECMAScript pattern's group structure without compiling it.
#include <string_view>

namespace veltrano {

// Calls visit(c, depth) for every character outside escapes ('\' quotes one character) and
// bracket classes, where depth counts the groups open at c, one that c opens included. A stray
// ')' leaves the depth at 0. Stops early when visit returns false.
template <typename Visit>
void VisitPatternStructure(std::wstring_view pattern, Visit visit) {
    int depth = 0;
    bool inClass = false;
    for (size_t i = 0; i < pattern.size(); ++i) {
        const wchar_t c = pattern[i];
        if (c == L'\\') {
            ++i;
            continue;
        }
        if (inClass) {
            inClass = c != L']';
            continue;
        }
        if (c == L'[') {
            inClass = true;
            continue;
        }
        if (c == L'(') {
            ++depth;
        } else if (c == L')' && depth > 0) {
            --depth;
        }
        if (!visit(c, depth)) return;
    }
}

}  // namespace veltrano
