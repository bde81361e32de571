#pragma once
// The one way features report to the user; tests use a recording fake.
#include <string>
#include <string_view>

namespace veltrano {

enum class NotifyKind : int { Info = 0, Warning = 1, Error = 2 };

class Notifier {
public:
    virtual ~Notifier() = default;
    virtual void Notify(const std::wstring& body, const std::wstring& title, NotifyKind kind) = 0;
};

// Title + " - Veltrano", or "Veltrano" alone for an empty title.
std::wstring MakeCaption(std::wstring_view title);

}  // namespace veltrano
