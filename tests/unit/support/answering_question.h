#pragma once
#include <string>
#include <vector>

#include "base/yes_no_question.h"

namespace veltrano::test {

// Answers every question the same way and remembers what was asked.
class AnsweringQuestion final : public YesNoQuestion {
public:
    explicit AnsweringQuestion(bool answer) : answer(answer) {}
    bool Ask(const std::wstring& text, const std::wstring& caption) override {
        asked.push_back(caption + L"|" + text);
        return answer;
    }
    bool answer;
    std::vector<std::wstring> asked;
};

}  // namespace veltrano::test
