#pragma once
#include <windows.h>

#include "base/yes_no_question.h"

namespace veltrano {

// A modal box with Yes and No, No the default, owned by nobody.
class MessageBoxQuestion final : public YesNoQuestion {
public:
    // `icon`: one of the MB_ICON* flags.
    explicit MessageBoxQuestion(unsigned icon = MB_ICONWARNING) : icon_(icon) {}
    bool Ask(const std::wstring& text, const std::wstring& caption) override;

private:
    unsigned icon_;
};

}  // namespace veltrano
