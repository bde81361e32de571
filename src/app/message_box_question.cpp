#include "app/message_box_question.h"

#include <windows.h>

namespace veltrano {

bool MessageBoxQuestion::Ask(const std::wstring& text, const std::wstring& caption) {
    return ::MessageBoxW(nullptr, text.c_str(), caption.c_str(), MB_YESNO | MB_DEFBUTTON2 | icon_) == IDYES;
}

}  // namespace veltrano
