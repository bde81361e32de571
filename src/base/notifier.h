#pragma once
// The one way features report to the user; tests use a recording fake.
#include <string>
#include <string_view>

namespace veltrano {

// Any other value a caller passes is shown as Info.
enum class NotifyKind : int { Info = 0, Warning = 1, Error = 2 };

class Notifier {
public:
    virtual ~Notifier() = default;
    // Called on the user-interface thread; returns at once. Throws std::system_error when
    // no worker thread can be started.
    virtual void Notify(const std::wstring& body, const std::wstring& title, NotifyKind kind) = 0;
    // As Notify, with `spokenBody` read aloud instead of the body, which may show what must not be
    // read out as it stands (masked digits). Only a notifier that speaks needs it.
    virtual void NotifyWithSpokenBody(const std::wstring& body, const std::wstring& /*spokenBody*/, const std::wstring& title,
                                      NotifyKind kind) {
        Notify(body, title, kind);
    }

    // For texts that arrive as UTF-8 (chiefly caught error messages). Never throws: when the
    // conversion or Notify fails, the fallback box tells the user instead.
    void NotifyUtf8(std::string_view body, std::string_view title, NotifyKind kind) noexcept;

protected:
    // The last resort on the calling thread; a seam so that tests see it without a real box.
    virtual void ShowFallbackBox() noexcept;
};

// Title + " - Veltrano", or "Veltrano" alone for an empty title.
std::wstring MakeCaption(std::wstring_view title);

}  // namespace veltrano
