#pragma once
// A confirmation the user answers; a seam so tests can answer it.
#include <string>

namespace veltrano {

class YesNoQuestion {
public:
    virtual ~YesNoQuestion() = default;
    // True only for an explicit Yes; No is the default button.
    virtual bool Ask(const std::wstring& text, const std::wstring& caption) = 0;
};

}  // namespace veltrano
