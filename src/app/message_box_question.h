#pragma once
#include "base/yes_no_question.h"

namespace veltrano {

// A modal warning box with Yes and No, No the default, owned by nobody.
class MessageBoxQuestion final : public YesNoQuestion {
public:
    bool Ask(const std::wstring& text, const std::wstring& caption) override;
};

}  // namespace veltrano
